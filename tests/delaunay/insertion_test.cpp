// Point insertion: invariants after many insertions, the far-point test,
// record reuse and the cavity repairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "delaunay/kernel_check.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::find_triangle;
using test::KernelGrid;
using test::make_point;

// Sound: no det, link or spx fault, Delaunay where asked, and n inner points
// splitting the bounding triangle into 2n + 1 triangles (segment: n + 1).
void expect_sound(const KernelGrid& g, bool delaunay) {
    const auto v = test::check_kernel_grid(g.nd, g.live, g.points);
    const int n = static_cast<int>(g.points.size()) - (g.nd + 1);
    EXPECT_EQ((std::array{v.bad_det, v.bad_link, v.bad_spx, delaunay ? v.not_delaunay : 0, v.live}),
              (std::array{0, 0, 0, 0, g.nd == 2 ? 2 * n + 1 : n + 1}));
}

// n points uniform in the unit square (y = 0 for nd = 1), the same on every platform.
std::vector<point*> random_points(int n, int nd = 2) {
    std::mt19937 gen{12345u};
    auto u = [&gen] { return static_cast<double>(gen() >> 5) * (1.0 / 134217728.0); };
    std::vector<point*> pts;
    for (int i = 0; i < n; ++i) {
        const double x = u();
        pts.push_back(make_point(x, nd == 2 ? u() : 0.0));
    }
    return pts;
}

// Random points give a valid but not exactly Delaunay grid: the sum criterion
// admits neighbours the classic in-circle test would keep. Cocircular lattice
// points, inserted row by row, and random curve parameters give Delaunay grids.
TEST(Insertion, ManyPointsKeepASoundGrid) {
    reset_walk_random();
    KernelGrid r(2, 0.0, 0.0, 1.0, 1.0);
    r.insert_all(random_points(3000), true);
    expect_sound(r, false);

    KernelGrid l(2, 0.0, 0.0, 1.0, 1.0);
    std::vector<point*> lattice;
    for (int i = 0; i < 2500; ++i) lattice.push_back(make_point((i % 50) / 49.0, (i / 50) / 49.0));
    l.insert_all(lattice, true);
    expect_sound(l, true);

    KernelGrid e(1, 0.0, 0.0, 1.0, 0.0);
    e.insert_all(random_points(2000, 1));
    expect_sound(e, true);
}

// A point on the edge A-B opens both sides; the deleted records are reused.
TEST(Insertion, PointOnAnEdgeKeepsASoundGridAndRecordsAreReused) {
    KernelGrid g = test::diamond();
    const long long made = simplices_made();
    const int spare = numberof_simplex(kernel.gar_head);
    point* p = make_point(0.5, 0.0);
    g.insert_all({p});
    expect_sound(g, false);
    int around = 0;
    for (simplex* s = g.live->next; s != g.live; s = s->next) around += test::has_vertex(s, p);
    EXPECT_GE(around, 4);
    // A record is made only once the deleted ones waiting for reuse run out.
    EXPECT_EQ(simplices_made() - made, std::max(0, around - spare));
}

// A point without ref found by a walk from the point before it starts the
// same cavity as the scan of the live list, also when it lies on an edge
// (there the scan decides): the grids match simplex for simplex, in list order.
TEST(Insertion, WalkFromTheLastPointStartsTheScansCavity) {
    auto build = [](bool near) {
        KernelGrid g(2, 0.0, 0.0, 1.0, 1.0);
        std::vector<point*> pts;
        for (int i = 0; i < 400; ++i) pts.push_back(make_point((i % 20) / 19.0, (i / 20) / 19.0));
        // Midpoints of the lattice's horizontal sides lie on grid edges.
        for (int i = 0; i < 100; ++i) pts.push_back(make_point((i % 19 + 0.5) / 19.0, (i / 19) / 19.0));
        const point* last = nullptr;
        for (point* p : pts) {
            insert_point(2, g.live, p, near ? last : nullptr);
            g.points.push_back(p);
            last = p;
        }
        std::map<const point*, int> index;
        for (std::size_t i = 0; i < g.points.size(); ++i) index[g.points[i]] = static_cast<int>(i);
        std::vector<std::array<int, 3>> triangles;
        for (simplex* s = g.live->next; s != g.live; s = s->next) {
            triangles.push_back({index[s->opp(1).pnt], index[s->opp(2).pnt], index[s->opp(3).pnt]});
        }
        return triangles;
    };
    EXPECT_EQ(build(true), build(false));
}

// A far point declined for a vertex closer than h / 2 leaves every simplex
// exactly as it was, though its cavity took in triangles on both sides of
// A-B; just beyond h / 2 it goes in.
TEST(Insertion, FarPointDeclinedNearAVertexLeavesTheGridAsItWas) {
    KernelGrid g = test::diamond();
    point* near = make_point(0.98, 0.01);
    near->h = 0.05;  // B lies at 0.45 h
    ASSERT_LT(delaunay_measure(2, near, find_triangle(g.live, g.points[3], g.points[4], g.points[6])), 1.0);
    using Links = std::array<const void*, 6>;
    auto state = [&g] {  // every live simplex's fields, by record
        std::map<const simplex*, std::tuple<int, decltype(simplex::cmat), Mat<double, 3, 3>, Links>> out;
        for (simplex* s = g.live->next; s != g.live; s = s->next) {
            const Links l{s->opp(1).pnt, s->opp(2).pnt, s->opp(3).pnt, s->opp(1).spx, s->opp(2).spx, s->opp(3).spx};
            out[s] = {s->status, s->cmat, s->fct, l};
        }
        return out;
    };
    const auto before = state();
    int inserted = -1;
    insert_far_point(2, g.live, near, inserted);
    EXPECT_EQ(inserted, 0);
    EXPECT_EQ(near->spx, nullptr);
    EXPECT_TRUE(state() == before);
    near->x(1) = 0.97;  // B at 0.63 h
    insert_far_point(2, g.live, near, inserted);
    EXPECT_EQ(inserted, 1);
    g.points.push_back(near);
    expect_sound(g, false);
}

TEST(Insertion, StopsOnAPointOutsideOrAlreadyConnected) {
    KernelGrid g(2, 0.0, 0.0, 1.0, 1.0);
    EXPECT_STOP(insert_point(2, g.live, make_point(10.0, 10.0)),
                "Point not found \\(insert_point\\) -- STOP --\n the point \\(10, 10\\) lies in no simplex");
    int inserted = -1;
    insert_far_point(2, g.live, make_point(10.0, 10.0), inserted);
    EXPECT_EQ(inserted, 0);
    point* p = make_point(0.5, 0.5);
    insert_point(2, g.live, p);
    EXPECT_STOP(insert_point(2, g.live, p), "New point is already connected \\(insert_point\\) -- STOP --");
    EXPECT_STOP(insert_far_point(2, g.live, p, inserted),
                "New point is already connected \\(insert_far_point\\) -- STOP --");
}

// After the first point the bounding triangle is cut into three long
// triangles. The second point lies in the left one, near the circle of its
// flat neighbour on the right: the sum of the two measures admits the
// neighbour, and joining the point to that neighbour's far facets turned a
// triangle over.
TEST(Insertion, FlatNeighbourAdmittedBySumNeverTurnsATriangleOver) {
    KernelGrid g(2, 0.0, 0.0, 1.0, 1.0);
    point* first = make_point(0.3, 0.8);
    g.insert_all({first});
    point* p = make_point(0.1, 0.8);
    simplex* flat = find_triangle(g.live, first, g.points[1], g.points[2]);
    simplex* basis = nullptr;
    int fail = 1;
    trivial_search(2, g.live, p, basis, fail);
    ASSERT_TRUE(flat != nullptr && basis != nullptr && basis != flat);
    ASSERT_GT(delaunay_measure(2, p, flat), 1.0);
    ASSERT_LT(delaunay_measure(2, p, basis) + delaunay_measure(2, p, flat), 2.0);
    g.insert_all({p});
    expect_sound(g, true);
}

// Halving the short segment 0..0.1 next to the long 0.1..1: the sum criterion
// admits the long neighbour, which would drop the vertex at 0.1 from the grid.
TEST(Insertion, HalvingNextToALongSegmentKeepsEveryVertex) {
    KernelGrid g(1, 0.0, 0.0, 1.0, 0.0);
    g.insert_all({make_point(0.0), make_point(0.1), make_point(1.0), make_point(0.05)});
    expect_sound(g, true);
}

// External triangles carry status 0 while the background grid is filled:
// they must never join a cavity, even when p lies in their circumcircle.
TEST(Insertion, StatusZeroNeighbourNeverJoinsTheCavity) {
    KernelGrid g = test::diamond();
    simplex* below = find_triangle(g.live, g.points[3], g.points[4], g.points[6]);
    ASSERT_NE(below, nullptr);
    below->status = st_far;
    point* p = make_point(0.5, 0.05);
    ASSERT_LT(delaunay_measure(2, p, below), 1.0);
    insert_point(2, g.live, p);
    EXPECT_EQ(below->status, st_far);
    EXPECT_FALSE(test::has_vertex(below, p));
    EXPECT_EQ(test::check_kernel_grid(2, g.live, {p}).bad_det, 0);
}

}  // namespace
}  // namespace corvan
