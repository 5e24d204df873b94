// corvan: builds the grid of one problem. The problem name comes from the
// command line or, without one, from standard input; everything else comes
// from the problem's files.
#include <iostream>
#include <string>
#include <vector>

#include "driver/exports.hpp"
#include "driver/grid_2d.hpp"
#include "driver/options.hpp"
#include "driver/stage_clock.hpp"
#include "input/init_data.hpp"
#include "io/text_io.hpp"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const corvan::CommandLine cl = corvan::parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    if (const int status = corvan::answer_command_line(cl); status >= 0) return status;
    const corvan::Options& options = cl.options;

    std::string name = options.name;
    if (name.empty()) {
        corvan::RecordReader input(std::cin, "standard input");
        corvan::init_boundary(input, name, corvan::grid);
    } else {
        corvan::load_boundary(name, corvan::grid);
    }
    corvan::stage_clock.lap("problem input");
    corvan::build_grid(corvan::kDirectory, name, options);
    corvan::save_grid(corvan::kDirectory, name);
    corvan::stage_clock.lap("save");
    corvan::plot_grid(corvan::kDirectory, name, -1, 1, 1);
    corvan::stage_clock.lap("plots");
    corvan::export_grid(name, options);
    std::cout.flush();
    return 0;
}
