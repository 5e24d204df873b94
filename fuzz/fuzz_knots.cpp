// The knots file, read back into the curve table.
#include "fuzz/harness.hpp"
#include "geometry/curves.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan;
    fuzz::set_up();
    if (fuzz::asks_for_much(data, size)) return -1;
    fuzz::write_file("knots.fuzz", fuzz::bytes(data, size));
    try {
        RecordReader in("knots.fuzz");
        new_curves(in, 1);
    } catch (const fuzz::Stopped&) {
    }
    return 0;
}
