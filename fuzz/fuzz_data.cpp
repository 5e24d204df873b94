// A data file of a boundary data command (edge 4 of a unit square).
#include "fuzz/harness.hpp"
#include "input/init_data.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan;
    fuzz::set_up();
    if (fuzz::asks_for_much(data, size)) return -1;
    static bool written = false;
    if (!written) fuzz::write_file("boundary.fuzz", fuzz::square_boundary(0.25, true));
    written = true;
    fuzz::write_file("pts.fuzz", fuzz::bytes(data, size));
    grid_record g;
    try {
        load_boundary("fuzz", g);
    } catch (const fuzz::Stopped&) {
    }
    return 0;
}
