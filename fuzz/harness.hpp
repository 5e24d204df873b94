// What every fuzz target shares: a scratch directory as the working
// directory, the program's stop turned into an exception, and the files of
// a fixed small problem around the part being fuzzed.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "driver/grid_2d.hpp"
#include "driver/options.hpp"
#include "input/init_data.hpp"
#include "io/text_io.hpp"

namespace corvan::fuzz {

// Thrown by the stop hook: the run ended with status 1, as it may on any input.
struct Stopped {};

[[noreturn]] inline void throw_stop() { throw Stopped{}; }

// Once per process: a fresh scratch directory to work in, standard output
// silenced (the program's messages would drown the fuzzer's), stops
// turned into Stopped.
inline void set_up() {
    static bool done = false;
    if (done) return;
    done = true;
    char dir[] = "/tmp/corvan-fuzz-XXXXXX";
    if (mkdtemp(dir) == nullptr || chdir(dir) != 0) std::abort();
    if (std::getenv("CORVAN_FUZZ_VERBOSE") == nullptr && std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    set_stop_hook(throw_stop);
}

inline void write_file(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string bytes(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Whether the text holds a whole number of 6 digits or more (not a
// fraction's digits): a count that large makes a run that is only slow in
// this build (writing millions of knots), never a different path, so the
// readers' targets pass such inputs over to keep the fuzzer fast.
inline bool asks_for_much(const std::uint8_t* data, std::size_t size) {
    std::size_t run = 0;
    bool fraction = false;
    for (std::size_t k = 0; k < size; ++k) {
        const char c = static_cast<char>(data[k]);
        if (c >= '0' && c <= '9') {
            if (!fraction && ++run >= 6) return true;
        } else {
            run = 0;
            fraction = c == '.';
        }
    }
    return false;
}

// A unit square, clockwise, four line edges at spacing h (edge 4 may be
// replaced by a data edge reading pts.NAME).
inline std::string square_boundary(double h, bool data_edge = false) {
    std::string b = "corvan fuzz problem\n.\n.\n  n_vert n_edge\n4 4\n.\n.\n.\n";
    const char* lines[4] = {"5 0 0 0 1", "5 0 1 1 1", "5 1 1 1 0", "5 1 0 0 0"};
    for (int e = 0; e < 4; ++e) {
        if (e == 3 && data_edge) {
            b += ".\ndata\npts.fuzz\n.\n0 0\n.\n0\n.\n.\n";
        } else {
            b += std::string(".\nline\n") + lines[e] + "\n.\n.\n";
        }
    }
    b += "topology\n";
    for (int e = 1; e <= 4; ++e) {
        b += ".\n.\n.\n" + std::to_string(e) + " 2 " + std::to_string(e) + " " + std::to_string(e % 4 + 1) +
             "\n.\n1 0.0 " + std::to_string(h) + "\n1 1.0 " + std::to_string(h) + "\n.\n";
    }
    return b;
}

// Builds and saves the grid of problem "fuzz" from the files written in the
// scratch directory; a stop ends it like any run that ends with status 1.
inline void mesh_problem() {
    grid = grid_record{};
    back = grid_record{};
    try {
        load_boundary("fuzz", grid);
        build_grid(kDirectory, "fuzz", Options{});
        save_grid(kDirectory, "fuzz");
    } catch (const Stopped&) {
    }
}

}  // namespace corvan::fuzz
