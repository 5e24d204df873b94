// The geometry file, loaded and then evaluated along every curve.
#include "fuzz/harness.hpp"
#include "geometry/curves.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan;
    fuzz::set_up();
    if (fuzz::asks_for_much(data, size)) return -1;
    fuzz::write_file("geometry.fuzz", fuzz::bytes(data, size));
    try {
        RecordReader in("geometry.fuzz");
        load_curves(in, 1);
        for (int ic = 1; ic <= n_curv; ++ic) {
            Vec<double, 2> p;
            for (int k = 0; k <= 4; ++k) evalc_0(ic, k / 4.0, p);
        }
    } catch (const fuzz::Stopped&) {
    }
    return 0;
}
