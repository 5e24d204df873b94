// The domain file (background and Steiner points) of a unit square, after
// a fixed first record and a step limit of 5: the whole grid is built.
#include "fuzz/harness.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan;
    fuzz::set_up();
    static bool written = false;
    if (!written) fuzz::write_file("boundary.fuzz", fuzz::square_boundary(0.25));
    written = true;
    fuzz::write_file("domain.fuzz", "fuzz\n 5 1\n" + fuzz::bytes(data, size));
    fuzz::mesh_problem();
    return 0;
}
