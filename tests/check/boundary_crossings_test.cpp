#include <array>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "check/boundary_crossings.hpp"
#include "geometry/curves.hpp"

namespace corvan {
namespace {

// One loop of straight edges through the points, edge k from vertex k to
// vertex k + 1 (the last one back to vertex 1).
grid_record loop(const std::vector<std::array<double, 2>>& p) {
    const int n = static_cast<int>(p.size());
    n_curv = n;
    curv.assign(n);
    grid_record g;
    g.n_edge = g.n_vert = n;
    g.edge.assign(n);
    for (int e = 1; e <= n; ++e) {
        const auto& a = p[static_cast<std::size_t>(e - 1)];
        const auto& b = p[static_cast<std::size_t>(e % n)];
        curve& c = curv(e);
        c.nd = c.ns = 2;
        const double len = std::hypot(b[0] - a[0], b[1] - a[1]);
        c.s.assign(2, 0.0);
        c.s(2) = len;
        c.x.assign(2, 2, 0.0);
        c.xs.assign(2, 2, 0.0);
        for (int j = 1; j <= 2; ++j) {
            c.x(j, 1) = a[static_cast<std::size_t>(j - 1)];
            c.x(j, 2) = b[static_cast<std::size_t>(j - 1)];
            c.xs(j, 1) = c.xs(j, 2) = (c.x(j, 2) - c.x(j, 1)) / len;
        }
        g.edge(e).icurv = e;
        g.edge(e).vbeg = e;
        g.edge(e).vend = e % n + 1;
    }
    return g;
}

void expect_meeting(const grid_record& g, int a, int b, double x, double y) {
    const boundary_crossing c = find_boundary_crossing(g);
    ASSERT_TRUE(c.found);
    EXPECT_EQ(c.edge_a, a);
    EXPECT_EQ(c.edge_b, b);
    EXPECT_NEAR(c.x, x, 1e-12);
    EXPECT_NEAR(c.y, y, 1e-12);
}

// A loop whose third vertex lies on its last edge was once meshed into a
// grid with two nodes at one place and flat triangles, and the run ended
// with status 0.
TEST(BoundaryCrossings, VertexOnAnotherEdgeCrossingAndFoldBackAreFound) {
    EXPECT_FALSE(find_boundary_crossing(loop({{0, 0}, {0, 1}, {1, 1}, {1, 0}})).found);
    expect_meeting(loop({{0, 0}, {0, 0.2}, {0.5, 0}, {1.8, 0.21}, {0, 0.21}, {0, 0.5}, {2, 0.5}, {2, 0}}), 2, 8, 0.5, 0);
    expect_meeting(loop({{0, 0}, {1, 1}, {1, 0}, {0, 1}}), 1, 3, 0.5, 0.5);
    // Edge 2 turns back along edge 1 at the vertex they share.
    expect_meeting(loop({{0, 0}, {2, 0}, {1, 0}, {1, -1}}), 1, 2, 2, 0);
    // A vertex a ten-millionth off the line of its neighbours: edges 1 and
    // 2 run along edge 3 (the boundary stage once spent seconds on it).
    expect_meeting(loop({{1, 0}, {0.4, 0.2 - 1e-7}, {0, 1.0 / 3.0}}), 1, 3, 1, 0);
    // A sharp but open corner at a shared vertex is no meeting.
    EXPECT_FALSE(find_boundary_crossing(loop({{0, 0}, {0, 1}, {1e-3, 0}})).found);
}

}  // namespace
}  // namespace corvan
