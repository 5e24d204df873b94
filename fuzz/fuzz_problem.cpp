// The whole program on a small problem drawn from the input: a loop of 3
// to 8 line edges through points of a 16 x 16 lattice (so that vertices
// on edges, touching and crossing edges come often), perhaps a circular
// hole, spacing per edge, a step limit of 5 to 30. Every run must end in a
// grid that passes its own checks or in a stop.
#include <string>

#include "fuzz/harness.hpp"

namespace {

struct Draw {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    int next() { return at < size ? data[at++] : 0; }
};

std::string real(double v) { return std::to_string(v); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvan;
    fuzz::set_up();
    Draw d{data, size};
    const int nv = 3 + d.next() % 6;
    double x[8], y[8];
    for (int k = 0; k < nv; ++k) {
        x[k] = (d.next() % 16) / 15.0;
        y[k] = (d.next() % 16) / 15.0;
    }
    const int steps = 5 + d.next() % 26;
    const int smooth = d.next() % 2 == 1 ? 1 : 2;
    const bool hole = d.next() % 2 == 1;
    const int ne = nv + (hole ? 1 : 0);
    std::string b = "corvan fuzz problem\n.\n.\n  n_vert n_edge\n" + std::to_string(ne) + " " + std::to_string(ne) +
                    "\n.\n.\n.\n";
    std::string topo = "topology\n";
    for (int k = 0; k < nv; ++k) {
        const int c = d.next();
        const int n = 2 + c % 4;
        const double h = 0.05 + (c >> 2) / 63.0 * 0.45;
        const int j = (k + 1) % nv;
        b += ".\nline\n" + std::to_string(n) + " " + real(x[k]) + " " + real(y[k]) + " " + real(x[j]) + " " +
             real(y[j]) + "\n.\n.\n";
        topo += ".\n.\n.\n" + std::to_string(k + 1) + " 2 " + std::to_string(k + 1) + " " + std::to_string(j + 1) +
                "\n.\n1 0.0 " + real(h) + "\n1 1.0 " + real(h) + "\n.\n";
    }
    if (hole) {
        const double cx = (d.next() % 16) / 15.0, cy = (d.next() % 16) / 15.0;
        const double r = 0.02 + (d.next() % 16) / 15.0 * 0.3;
        const int c = d.next();
        const int n = 5 + c % 16;
        const double h = 0.02 + (c >> 4) / 15.0 * 0.2;
        b += ".\ncircle\n" + std::to_string(n) + " " + real(cx) + " " + real(cy) + " " + real(r) + " 0 360\n.\n.\n";
        topo += ".\n.\n.\n" + std::to_string(ne) + " 2 " + std::to_string(ne) + " " + std::to_string(ne) +
                "\n.\n1 0.0 " + real(h) + "\n1 1.0 " + real(h) + "\n.\n";
    }
    fuzz::write_file("boundary.fuzz", b + topo);
    fuzz::write_file("domain.fuzz", "fuzz\n " + std::to_string(steps) + " " + std::to_string(smooth) +
                                        "\n.\n.\n0\n.\n.\n.\n0\n.\n");
    fuzz::mesh_problem();
    return 0;
}
