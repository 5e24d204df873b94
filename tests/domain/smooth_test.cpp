// Laplacian smoothing over hand-made node and element arrays.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "domain/smooth.hpp"
#include "grid/list.hpp"
#include "output/arrays.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using XY = std::pair<double, double>;

// Loads the arrays module with nodes (1..n in order), elements (node triples)
// and the boundary nodes, and a grid whose points carry those numbers.
struct Arrays {
    grid_record g;
    std::vector<point*> pts;

    Arrays(const std::vector<XY>& nodes, const std::vector<std::vector<int>>& elems,
           const std::vector<int>& boundary) {
        g.new_heads();
        ArraysState& a = arrays;
        a.array = &g;
        a.np_d = static_cast<int>(nodes.size());
        a.ns_d = static_cast<int>(elems.size());
        a.np_b = static_cast<int>(boundary.size());
        a.rr.assign(2, a.np_d);
        a.jj.assign(3, a.ns_d);
        a.jjdir.assign(a.np_b);
        pts.push_back(nullptr);
        for (int n = 1; n <= a.np_d; ++n) {
            point* p = new_point();
            p->i = n;
            p->x(1) = a.rr(1, n) = nodes[n - 1].first;
            p->x(2) = a.rr(2, n) = nodes[n - 1].second;
            pushbot_point(g.pnt_head, p);
            pts.push_back(p);
        }
        for (int e = 1; e <= a.ns_d; ++e)
            for (int m = 1; m <= 3; ++m) a.jj(m, e) = elems[e - 1][m - 1];
        for (int b = 1; b <= a.np_b; ++b) a.jjdir(b) = boundary[b - 1];
    }
    ~Arrays() { arrays.array = nullptr; }
};

// The square (0,0)-(2,2) as a fan of 8 triangles around node 9 at (cx, cy).
Arrays fan_square(double cx, double cy) {
    return Arrays({{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}, {cx, cy}},
                  {{9, 1, 2}, {9, 2, 3}, {9, 3, 4}, {9, 4, 5}, {9, 5, 6}, {9, 6, 7}, {9, 7, 8}, {9, 8, 1}},
                  {1, 2, 3, 4, 5, 6, 7, 8});
}

std::string run_smooth() {
    testing::internal::CaptureStdout();
    smooth();
    return testing::internal::GetCapturedStdout();
}

double signed_area2(const point* a, const point* b, const point* c) {
    return (b->x(1) - a->x(1)) * (c->x(2) - a->x(2)) - (c->x(1) - a->x(1)) * (b->x(2) - a->x(2));
}

TEST(Smooth, InteriorNodeMovesToItsNeighbourAverageBoundaryStays) {
    Arrays a = fan_square(1.3, 0.8);
    EXPECT_EQ(run_smooth(), "    1 0.13000E+00\n    2 0.00000E+00\n");
    EXPECT_DOUBLE_EQ(a.pts[9]->x(1), 1.0);
    EXPECT_DOUBLE_EQ(a.pts[9]->x(2), 1.0);
    const double bx[9] = {0, 0, 1, 2, 2, 2, 1, 0, 0}, by[9] = {0, 0, 0, 0, 1, 2, 2, 2, 1};
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(a.pts[n]->x(1), bx[n]);
        EXPECT_EQ(a.pts[n]->x(2), by[n]);
    }
}

TEST(Smooth, ConvergedGridOrNoInteriorNodeEndsAfterOneSweep) {
    {
        Arrays a = fan_square(1.0, 1.0);
        EXPECT_EQ(run_smooth(), "    1 0.00000E+00\n");
    }
    Arrays b({{0, 0}, {1, 0}, {0, 1}}, {{1, 2, 3}}, {1, 2, 3});
    EXPECT_EQ(run_smooth(), "    1 0.00000E+00\n");
    EXPECT_EQ(b.pts[2]->x(1), 1.0);
}

TEST(Smooth, SlowGridStopsAfterTenSweepsWithTheTenthPositions) {
    // A 16 x 16 node square bent by its smoothest mode, which Jacobi sweeps
    // take out only slowly.
    const int nx = 16;
    const double pi = 3.141592653589793;
    std::vector<XY> nodes;
    std::vector<int> boundary;
    for (int j = 0; j < nx; ++j)
        for (int i = 0; i < nx; ++i) {
            const bool edge = i == 0 || j == 0 || i == nx - 1 || j == nx - 1;
            const double bend = edge ? 0.0 : 0.3 * std::sin(pi * i / (nx - 1)) * std::sin(pi * j / (nx - 1));
            nodes.push_back({static_cast<double>(i), j + bend});
            if (edge) boundary.push_back(j * nx + i + 1);
        }
    std::vector<std::vector<int>> elems;
    for (int j = 0; j + 1 < nx; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            const int p = j * nx + i + 1;
            elems.push_back({p, p + 1, p + nx + 1});
            elems.push_back({p, p + nx + 1, p + nx});
        }
    Arrays a(nodes, elems, boundary);
    const std::string out = run_smooth();
    int lines = 0;
    for (char c : out) lines += c == '\n';
    EXPECT_EQ(lines, 10);
    EXPECT_EQ(out.substr(out.size() - 18, 6), "   10 ");
    for (int n = 1; n <= arrays.np_d; ++n) {
        EXPECT_EQ(a.pts[n]->x(1), arrays.rr(1, n));
        EXPECT_EQ(a.pts[n]->x(2), arrays.rr(2, n));
    }
    for (int b : boundary) {
        EXPECT_EQ(a.pts[b]->x(1), nodes[b - 1].first);
        EXPECT_EQ(a.pts[b]->x(2), nodes[b - 1].second);
    }
}

// Node 8 at the origin sees its whole star (all seven triangles positive),
// but the average of its neighbours, about (1.29, -0.11), lies beyond the
// side (1, 0.2)-(1, 1) of its star: plain smoothing would turn that
// triangle over. A separate fan square, whose centre may move freely,
// shares the sweep.
Arrays tangling_star(double cx) {
    std::vector<XY> nodes = {{1, -1}, {4, -1}, {4, 0}, {1, 0.2}, {1, 1}, {-1, 1}, {-1, -1}, {0, 0}};
    std::vector<std::vector<int>> elems;
    for (int k = 1; k <= 7; ++k) elems.push_back({8, k, k % 7 + 1});
    std::vector<int> boundary = {1, 2, 3, 4, 5, 6, 7};
    const std::vector<XY> sq = {{10, 0}, {11, 0}, {12, 0}, {12, 1}, {12, 2}, {11, 2}, {10, 2}, {10, 1}, {cx, 1.0}};
    for (const XY& p : sq) nodes.push_back(p);
    for (int k = 1; k <= 8; ++k) elems.push_back({17, 8 + k, 8 + k % 8 + 1});
    for (int k = 9; k <= 16; ++k) boundary.push_back(k);
    return Arrays(nodes, elems, boundary);
}

TEST(Smooth, MoveThatWouldTurnAnElementOverIsRefused) {
    Arrays a = tangling_star(11.0);
    // The square's centre is already at its average: nothing else moves.
    EXPECT_EQ(run_smooth(), "    1 0.00000E+00\n");
    EXPECT_EQ(a.pts[8]->x(1), 0.0);
    EXPECT_EQ(a.pts[8]->x(2), 0.0);
    for (int e = 1; e <= arrays.ns_d; ++e) {
        EXPECT_GT(signed_area2(a.pts[arrays.jj(1, e)], a.pts[arrays.jj(2, e)], a.pts[arrays.jj(3, e)]), 0.0)
            << "element " << e;
    }
}

TEST(Smooth, RefusedMoveLeavesTheOtherMovesAsTheyWere) {
    Arrays a = tangling_star(11.5);
    // Only the square's centre moves, by 0.5: res = 0.25, then 0.
    EXPECT_EQ(run_smooth(), "    1 0.25000E+00\n    2 0.00000E+00\n");
    EXPECT_EQ(a.pts[17]->x(1), 11.0);
    EXPECT_EQ(a.pts[17]->x(2), 1.0);
    EXPECT_EQ(a.pts[8]->x(1), 0.0);
}

TEST(Smooth, NodeOfNoElementStaysWhereItIs) {
    Arrays a({{0, 0}, {2, 0}, {0, 2}, {5, 5}}, {{1, 2, 3}}, {1, 2, 3});
    EXPECT_EQ(run_smooth(), "    1 0.00000E+00\n");
    EXPECT_EQ(a.pts[4]->x(1), 5.0);
    EXPECT_EQ(a.pts[4]->x(2), 5.0);
}

TEST(Smooth, WithoutArraysStops) {
    arrays.array = nullptr;
    EXPECT_STOP(smooth(), "^ smooth error, array not associated\n \\(stop\\)\n$");
}

}  // namespace
}  // namespace corvan
