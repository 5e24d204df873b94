// The boundary file: its reader, and from it the knots and geometry files
// the problem input writes and reads back.
#include "fuzz/harness.hpp"
#include "input/init_data.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan;
    fuzz::set_up();
    if (fuzz::asks_for_much(data, size)) return -1;
    fuzz::write_file("boundary.fuzz", fuzz::bytes(data, size));
    grid_record g;
    try {
        load_boundary("fuzz", g);
    } catch (const fuzz::Stopped&) {
    }
    return 0;
}
