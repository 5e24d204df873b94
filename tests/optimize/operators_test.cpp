// The optimiser's local operators on a small jittered lattice: each one
// keeps every triangle valid and the neighbours symmetric, and never moves,
// removes, flips or collapses anything on the boundary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "optimize/operators.hpp"
#include "optimize/optimize.hpp"
#include "quality/measures.hpp"

namespace corvan {
namespace {

// An n x n lattice of the unit square, inner nodes jittered, each cell cut
// along alternating diagonals; the rim nodes are fixed.
TriMesh lattice(int n, double jitter) {
    TriMesh m;
    unsigned seed = 12345u;
    auto draw = [&] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) & 0xffff) / 65535.0 - 0.5;
    };
    for (int j = 0; j <= n; ++j) {
        for (int i = 0; i <= n; ++i) {
            const bool rim = i == 0 || j == 0 || i == n || j == n;
            const double dx = rim ? 0.0 : jitter * draw() / n, dy = rim ? 0.0 : jitter * draw() / n;
            m.add_node(vec2(double(i) / n + dx, double(j) / n + dy), 1.0 / n, rim);
        }
    }
    auto id = [n](int i, int j) { return j * (n + 1) + i + 1; };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            if ((i + j) % 2 == 0) {
                m.add_tri(id(i, j), id(i + 1, j), id(i + 1, j + 1));
                m.add_tri(id(i, j), id(i + 1, j + 1), id(i, j + 1));
            } else {
                m.add_tri(id(i, j), id(i + 1, j), id(i, j + 1));
                m.add_tri(id(i + 1, j), id(i + 1, j + 1), id(i, j + 1));
            }
        }
    }
    m.link();
    return m;
}

std::set<std::pair<int, int>> boundary_sides(const TriMesh& m) {
    std::set<std::pair<int, int>> out;
    for (int t = 1; t <= m.tri.size(); ++t) {
        if (!m.tri(t).alive) continue;
        for (int k = 1; k <= 3; ++k) {
            const int a = m.tri(t).v(next3(k)), b = m.tri(t).v(prev3(k));
            if (m.tri(t).nb(k) == 0) out.insert({std::min(a, b), std::max(a, b)});
        }
    }
    return out;
}

// Valid triangles, symmetric neighbours across the same two nodes, every
// node's triangle alive and holding it, the boundary and the fixed nodes as
// they were.
void expect_sound(const TriMesh& m, const TriMesh& before) {
    double area = 0.0;
    for (int t = 1; t <= m.tri.size(); ++t) {
        if (!m.tri(t).alive) continue;
        EXPECT_TRUE(valid_shape(m.xy(t, 1), m.xy(t, 2), m.xy(t, 3))) << "triangle " << t;
        area += 0.5 * m.area2(t);
        for (int k = 1; k <= 3; ++k) {
            const int u = m.tri(t).nb(k);
            if (u == 0) continue;
            ASSERT_TRUE(m.tri(u).alive);
            const int ku = m.side_in(u, t);
            ASSERT_NE(ku, 0) << "triangle " << u << " does not link back to " << t;
            EXPECT_EQ(m.local(u, m.tri(t).v(next3(k))) + m.local(u, m.tri(t).v(prev3(k))) + ku, 6);
        }
    }
    EXPECT_NEAR(area, 1.0, 1e-12);
    for (int p = 1; p <= m.node.size(); ++p) {
        if (!m.node(p).alive) continue;
        EXPECT_TRUE(m.tri(m.node(p).tri).alive && m.local(m.node(p).tri, p) != 0) << "node " << p;
        if (p <= before.node.size() && before.node(p).fixed) {
            EXPECT_EQ(m.node(p).x, before.node(p).x);
        }
    }
    EXPECT_EQ(boundary_sides(m), boundary_sides(before));
}

TEST(Operators, FlipsRestoreDelaunayAndNeverTouchTheBoundary) {
    TriMesh m = lattice(8, 0.6);
    const TriMesh before = m;
    OpScratch s;
    int flips = 0;
    for (int t = 1; t <= m.tri.size(); ++t)
        for (int k = 1; k <= 3; ++k) flips += flip_side(m, t, k) ? 1 : 0;
    EXPECT_GT(flips, 0);
    expect_sound(m, before);
    std::vector<int> all;
    for (int t = 1; t <= m.tri.size(); ++t) all.push_back(t);
    restore_delaunay(m, all, s);
    expect_sound(m, before);
    for (int t = 1; t <= m.tri.size(); ++t) {
        for (int k = 1; k <= 3; ++k) {
            const int u = m.tri(t).nb(k);
            if (u == 0) {
                EXPECT_FALSE(flip_side(m, t, k));
                continue;
            }
            EXPECT_FALSE(in_circle(m.xy(t, 1), m.xy(t, 2), m.xy(t, 3), m.node(m.tri(u).v(m.side_in(u, t))).x));
        }
    }
}

TEST(Operators, GuardedMovesRaiseTheWorstAngleOfTheStarOnly) {
    TriMesh m = lattice(6, 0.9);
    const TriMesh before = m;
    OpScratch s;
    int moved = 0;
    for (int p = 1; p <= m.node.size(); ++p) {
        if (m.node(p).fixed) {
            EXPECT_FALSE(improve_node(m, p, MoveGoal::worst_angle, 0.5, s));
            continue;
        }
        ASSERT_TRUE(m.star(p, s.star));
        const double worst = star_shape(m, p, m.node(p).x, s).sin_min;
        if (improve_node(m, p, MoveGoal::worst_angle, 0.5, s)) {
            ++moved;
            EXPECT_GT(star_shape(m, p, m.node(p).x, s).sin_min, worst);
        }
        const StarShape r = star_shape(m, p, m.node(p).x, s);
        if (improve_node(m, p, MoveGoal::radius_ratio, 0.5, s)) {
            const StarShape q = star_shape(m, p, m.node(p).x, s);
            EXPECT_GT(q.mean_rr, r.mean_rr);
            EXPECT_GE(q.sin_min, std::min(0.5, r.sin_min) * (1 - 1e-6));
        }
    }
    EXPECT_GT(moved, 10);
    expect_sound(m, before);
}

TEST(Operators, CollapseAndInsertionKeepTheGridSound) {
    TriMesh m = lattice(6, 0.3);
    const TriMesh before = m;
    OpScratch s;
    // Pull an inner node next to its neighbour: the short side collapses,
    // the boundary sides never do.
    const int p = 2 * 7 + 3, q = p + 1;
    m.node(p).x = vec2(m.node(q).x(1) - 0.01, m.node(q).x(2) + 0.004);
    int collapsed = 0;
    for (int t = 1; t <= m.tri.size() && collapsed == 0; ++t) {
        if (!m.tri(t).alive || m.local(t, p) == 0 || m.local(t, q) == 0) continue;
        const int k = 6 - m.local(t, p) - m.local(t, q);
        collapsed = collapse_side(m, t, k, s);
    }
    EXPECT_NE(collapsed, 0);
    for (int t = 1; t <= m.tri.size(); ++t) {
        for (int k = 1; k <= 3; ++k)
            if (m.tri(t).alive && m.tri(t).nb(k) == 0) {
                EXPECT_EQ(collapse_side(m, t, k, s), 0);
            }
    }
    expect_sound(m, before);
    // A node inside a triangle, one on an inner side; none on a boundary side.
    const int inside = insert_node(m, 1, vec2((m.xy(1, 1)(1) + m.xy(1, 2)(1) + m.xy(1, 3)(1)) / 3.0,
                                            (m.xy(1, 1)(2) + m.xy(1, 2)(2) + m.xy(1, 3)(2)) / 3.0),
                                   s);
    EXPECT_NE(inside, 0);
    int on_inner = 0, on_boundary = 0;
    for (int t = 1; t <= m.tri.size() && (on_inner == 0 || on_boundary == 0); ++t) {
        for (int k = 1; k <= 3; ++k) {
            if (!m.tri(t).alive) continue;
            const Vec<double, 2>&a = m.xy(t, next3(k)), &b = m.xy(t, prev3(k));
            const Vec<double, 2> mid = vec2(0.5 * (a(1) + b(1)), 0.5 * (a(2) + b(2)));
            if (m.tri(t).nb(k) == 0 && on_boundary == 0) {
                EXPECT_EQ(insert_node(m, t, mid, s), 0);
                on_boundary = 1;
            } else if (m.tri(t).nb(k) != 0 && on_inner == 0) {
                on_inner = insert_node(m, t, mid, s);
                EXPECT_NE(on_inner, 0);
                break;
            }
        }
    }
    expect_sound(m, before);
    EXPECT_NEAR(m.node(inside).h, 1.0 / 6, 1e-12);
}

TEST(Operators, TheStageLiftsTheWorstAngleOfAJitteredLattice) {
    TriMesh m = lattice(10, 0.95);
    const TriMesh before = m;
    const OptimizeCounts c = optimize_mesh(m);
    expect_sound(m, before);
    EXPECT_LT(c.min_angle_before, 20.0);
    EXPECT_GT(c.min_angle_after, 30.0);
}

}  // namespace
}  // namespace corvan
