// Insertion throughput of the Delaunay kernel: n points of a jittered lattice
// in row-serpentine order, each walking from the point inserted before it.
// The cost per insertion should not grow with n.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "grid/list.hpp"

namespace {

using namespace corvan;

// Fixed-seed xorshift, so every run inserts the same points.
struct Jitter {
    std::uint32_t x = 88172645u;
    double operator()() {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return static_cast<double>(x >> 8) * (1.0 / 16777216.0);
    }
};

std::vector<point*> serpentine_points(int n) {
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    const double h = 1.0 / side;
    Jitter jitter;
    std::vector<point*> pts;
    pts.reserve(static_cast<std::size_t>(n));
    for (int row = 0; row < side && static_cast<int>(pts.size()) < n; ++row) {
        for (int c = 0; c < side && static_cast<int>(pts.size()) < n; ++c) {
            const int col = (row % 2 == 0) ? c : side - 1 - c;
            point* p = new_point();
            p->x(1) = (col + 0.2 + 0.6 * jitter()) * h;
            p->x(2) = (row + 0.2 + 0.6 * jitter()) * h;
            pts.push_back(p);
        }
    }
    return pts;
}

void BM_InsertJitteredLattice(benchmark::State& state) {
    static bool ready = false;
    if (!ready) {
        delaunay_setup();
        ready = true;
    }
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<point*> pts = serpentine_points(n);
        point* phead = newhead_point();
        simplex* fhead = newhead_simplex();
        simplex* live = newhead_simplex();
        Vec<double, 2> a;
        Vec<double, 2> b;
        b(1) = 1.0;
        b(2) = 1.0;
        set_delaunay(2, a, b, phead, fhead, live);
        reset_walk_random();
        state.ResumeTiming();
        point* prev = nullptr;
        for (point* p : pts) {
            p->ref = prev;
            insert_point(2, live, p);
            prev = p;
        }
        benchmark::DoNotOptimize(live->next);
    }
    state.counters["insertions_per_s"] =
        benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["bytes_per_simplex"] = static_cast<double>(sizeof(simplex));
}

BENCHMARK(BM_InsertJitteredLattice)->Arg(10000)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
