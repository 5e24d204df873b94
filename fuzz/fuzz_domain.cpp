// The domain file (background and Steiner points) of a unit square, after
// a fixed first record and a step limit of 5: the whole grid is built.
#include "driver/grid_2d.hpp"
#include "driver/options.hpp"
#include "fuzz/harness.hpp"
#include "input/init_data.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan;
    fuzz::set_up();
    static bool written = false;
    if (!written) fuzz::write_file("boundary.fuzz", fuzz::square_boundary(0.25));
    written = true;
    fuzz::write_file("domain.fuzz", "fuzz\n 5 1\n" + fuzz::bytes(data, size));
    grid = grid_record{};
    back = grid_record{};
    try {
        load_boundary("fuzz", grid);
        build_grid(kDirectory, "fuzz", Options{});
        save_grid(kDirectory, "fuzz");
    } catch (const fuzz::Stopped&) {
    }
    return 0;
}
