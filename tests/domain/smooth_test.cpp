// Laplacian smoothing over hand-made node and element arrays.
#include <string>
#include <vector>

#include "domain/smooth.hpp"
#include "grid/list.hpp"
#include "mesh/arrays.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

// A mesh for the arrays module: nodes numbered 1..n in order, boundary
// nodes held fixed.
struct Mesh {
    std::vector<Vec<double, 2>> xy;
    std::vector<Vec<int, 3>> tri;
    std::vector<int> fixed;
    grid_record g;

    // The square (x0,0)-(x0+2,2) as a fan of 8 triangles around an inner
    // node at (x0 + cx, cy), numbered after the 8 boundary nodes.
    void fan_square(double x0, double cx, double cy) {
        const int base = static_cast<int>(xy.size());
        const double bx[8] = {0, 1, 2, 2, 2, 1, 0, 0}, by[8] = {0, 0, 0, 1, 2, 2, 2, 1};
        for (int k = 0; k < 8; ++k) xy.push_back({{x0 + bx[k], by[k]}});
        xy.push_back({{x0 + cx, cy}});
        for (int k = 1; k <= 8; ++k) {
            tri.push_back({{base + 9, base + k, base + k % 8 + 1}});
            fixed.push_back(base + k);
        }
    }
    // Loads the arrays and a grid whose points carry the node numbers, runs
    // smooth and returns its output; xy receives the points' new positions.
    std::string smooth_output() {
        g.new_heads();
        ArraysState& a = arrays = ArraysState{};
        a.array = &g;
        a.np_d = static_cast<int>(xy.size());
        a.ns_d = static_cast<int>(tri.size());
        a.np_b = static_cast<int>(fixed.size());
        a.rr.assign(2, a.np_d);
        a.jj.assign(3, a.ns_d);
        a.jjdir.assign(a.np_b);
        for (int n = 1; n <= a.np_d; ++n) {
            point* p = new_point();
            p->i = n;
            pushbot_point(g.pnt_head, p);
            for (int c = 1; c <= 2; ++c) a.rr(c, n) = xy[n - 1](c);
        }
        for (int e = 1; e <= a.ns_d; ++e)
            for (int m = 1; m <= 3; ++m) a.jj(m, e) = tri[e - 1](m);
        for (int b = 1; b <= a.np_b; ++b) a.jjdir(b) = fixed[b - 1];
        testing::internal::CaptureStdout();
        smooth();
        for (point* p = g.pnt_head->next; p != g.pnt_head; p = p->next) xy[p->i - 1] = p->x;
        return testing::internal::GetCapturedStdout();
    }
};

TEST(Smooth, InteriorNodesMoveToTheirNeighbourAverageUnlessAnElementWouldTurnOver) {
    // Node 8 at the origin sees its whole star, but its neighbour average,
    // about (1.29, -0.11), lies beyond the star's side (1, 0.2)-(1, 1):
    // moving there would turn that triangle over. The fan square beside it
    // smooths as usual, and a node in no element is not displaced.
    Mesh m;
    m.xy = {{{1, -1}}, {{4, -1}}, {{4, 0}}, {{1, 0.2}}, {{1, 1}}, {{-1, 1}}, {{-1, -1}}, {{0, 0}}};
    for (int k = 1; k <= 7; ++k) {
        m.tri.push_back({{8, k, k % 7 + 1}});
        m.fixed.push_back(k);
    }
    m.fan_square(10.0, 1.5, 1.0);
    m.xy.push_back({{7, 7}});
    const std::vector<Vec<double, 2>> before = m.xy;
    // Sweep 2 moves nothing: below the tolerance, smoothing stops.
    EXPECT_EQ(m.smooth_output(), "    1 0.25000E+00\n    2 0.00000E+00\n");
    EXPECT_EQ(m.xy[16], (Vec<double, 2>{{11.0, 1.0}}));
    EXPECT_EQ((Vec<double, 2>{{arrays.rr(1, 17), arrays.rr(2, 17)}}), m.xy[16]);
    m.xy[16] = before[16];
    EXPECT_EQ(m.xy, before);  // every other node stays
}

}  // namespace
}  // namespace corvan
