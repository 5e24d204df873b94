// corvan: builds the grid of one problem. The problem name is read from
// standard input; everything else comes from the problem's files.
#include <iostream>
#include <string>

#include "driver/grid_2d.hpp"
#include "driver/init_data.hpp"
#include "io/text_io.hpp"

int main() {
    std::ios::sync_with_stdio(false);
    corvan::RecordReader input(std::cin, "standard input");
    std::string name;
    corvan::init_boundary(input, name);
    corvan::build_grid(corvan::kDirectory, name);
    corvan::save_grid(corvan::kDirectory, name);
    corvan::plot_grid(corvan::kDirectory, name, -1, 1, 1);
    std::cout.flush();
    return 0;
}
