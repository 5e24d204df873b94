// Point insertion: invariants after many insertions, the far-point test,
// record reuse and the cavity repairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "delaunay/kernel_check.hpp"
#include "grid/list.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::check_kernel_grid;
using test::KernelGrid;
using test::make_kernel_grid;
using test::make_point;

// Portable uniform values in [0, 1) from a fixed seed.
struct Uniform {
    std::mt19937 gen{12345u};
    double operator()() { return static_cast<double>(gen() >> 5) * (1.0 / 134217728.0); }
};

// Inserts the points in order, each walking from the one before it
// (or found by a scan of the list when walk is false).
void insert_all(KernelGrid& g, const std::vector<point*>& pts, bool walk = true) {
    point* prev = nullptr;
    for (point* p : pts) {
        p->ref = walk ? prev : nullptr;
        insert_point(g.nd, g.live, p);
        g.points.push_back(p);
        prev = p;
    }
}

void expect_sound(const KernelGrid& g, int inserted, bool delaunay) {
    const auto v = check_kernel_grid(g.nd, g.live, g.points);
    EXPECT_EQ(v.bad_det, 0);
    EXPECT_EQ(v.bad_link, 0);
    EXPECT_EQ(v.bad_spx, 0);
    if (delaunay) {
        EXPECT_EQ(v.not_delaunay, 0);
    }
    // n inner points split the bounding triangle into 2n + 1 triangles, the
    // bounding segment into n + 1 segments.
    EXPECT_EQ(v.live, g.nd == 2 ? 2 * inserted + 1 : inserted + 1);
}

// The sum criterion admits neighbours the classic in-circle test would keep,
// so random points give a valid but not exactly Delaunay grid.
TEST(Insertion, RandomPointsKeepATriangulation) {
    reset_walk_random();
    auto g = make_kernel_grid(2, 0.0, 0.0, 1.0, 1.0);
    Uniform u;
    std::vector<point*> pts;
    for (int i = 0; i < 3000; ++i) pts.push_back(make_point(u(), u()));
    insert_all(g, pts);
    expect_sound(g, 3000, false);
}

// Cocircular lattice points, inserted row by row, give a Delaunay grid.
TEST(Insertion, LatticePointsGiveADelaunayGrid) {
    auto g = make_kernel_grid(2, 0.0, 0.0, 1.0, 1.0);
    std::vector<point*> pts;
    for (int i = 0; i < 2500; ++i) pts.push_back(make_point((i % 50) / 49.0, (i / 50) / 49.0));
    insert_all(g, pts);
    expect_sound(g, 2500, true);
}

TEST(Insertion, RandomParametersKeepAnEdgeGrid) {
    auto g = make_kernel_grid(1, 0.0, 0.0, 1.0, 0.0);
    Uniform u;
    std::vector<point*> pts;
    for (int i = 0; i < 2000; ++i) pts.push_back(make_point(u()));
    insert_all(g, pts, false);
    expect_sound(g, 2000, true);
}

simplex* find_triangle(simplex* head, const point* a, const point* b, const point* c) {
    for (simplex* s = head->next; s != head; s = s->next) {
        int hits = 0;
        for (int k = 1; k <= 3; ++k) hits += s->opp(k).pnt == a || s->opp(k).pnt == b || s->opp(k).pnt == c;
        if (hits == 3) return s;
    }
    return nullptr;
}

bool in_list(simplex* head, const simplex* s) {
    for (simplex* r = head->next; r != head; r = r->next) {
        if (r == s) return true;
    }
    return false;
}

TEST(Insertion, PointOnAnEdgeDeletesBothSidesAndRecordsAreReused) {
    auto g = make_kernel_grid(2, 0.0, -1.0, 1.0, 1.0);
    std::vector<point*> pts{make_point(0.0, 0.0), make_point(1.0, 0.0), make_point(0.5, 1.0),
                            make_point(0.5, -1.0)};
    insert_all(g, pts, false);
    simplex* above = find_triangle(g.live, pts[0], pts[1], pts[2]);
    simplex* below = find_triangle(g.live, pts[0], pts[1], pts[3]);
    ASSERT_TRUE(above != nullptr && below != nullptr);
    const long long made = simplices_made();
    const int spare = numberof_simplex(kernel.gar_head);
    point* p = make_point(0.5, 0.0);
    insert_point(2, g.live, p);
    g.points.push_back(p);
    expect_sound(g, 5, false);
    EXPECT_TRUE(in_list(kernel.gar_head, above) && in_list(kernel.gar_head, below));
    int around = 0;
    for (simplex* s = g.live->next; s != g.live; s = s->next) {
        for (int k = 1; k <= 3; ++k) around += s->opp(k).pnt == p;
    }
    EXPECT_GE(around, 4);
    // A record is made only once the deleted ones waiting for reuse run out.
    EXPECT_EQ(simplices_made() - made, std::max(0, around - spare));
}

struct Snapshot {
    const simplex* s;
    int status;
    double det;
    Mat<int, 3, 3> cmat;
    Mat<double, 3, 3> fct;
    Vec<facet_link, 3> opp;
};

std::vector<Snapshot> snapshot(simplex* head) {
    std::vector<Snapshot> out;
    for (simplex* s = head->next; s != head; s = s->next) out.push_back({s, s->status, s->det, s->cmat, s->fct, s->opp});
    return out;
}

bool same_link(const Vec<facet_link, 3>& a, const Vec<facet_link, 3>& b) {
    for (int k = 1; k <= 3; ++k) {
        if (a(k).pnt != b(k).pnt || a(k).spx != b(k).spx) return false;
    }
    return true;
}

TEST(Insertion, FarPointDeclinedNearAVertexLeavesTheGridAsItWas) {
    auto g = make_kernel_grid(2, 0.0, 0.0, 1.0, 1.0);
    Uniform u;
    std::vector<point*> pts;
    for (int i = 0; i < 200; ++i) pts.push_back(make_point(u(), u()));
    insert_all(g, pts);
    const auto before = snapshot(g.live);
    // A vertex with no other within 0.03, so only it can be too close.
    int iv = 0;
    for (int i = 0; i < 200 && iv == 0; ++i) {
        double nearest = 1.0;
        for (const point* q : pts) {
            if (q != pts[i]) nearest = std::min(nearest, std::sqrt(segment_length(2, q, pts[i])));
        }
        if (nearest > 0.03) iv = i;
    }
    ASSERT_GT(iv, 0);
    const point* v = pts[iv];
    point* near = make_point(v->x(1) + 0.0098, v->x(2));
    near->h = 0.02;  // the vertex lies at 0.49 h
    near->ref = pts[iv - 1];
    int inserted = -1;
    insert_far_point(2, g.live, near, inserted);
    EXPECT_EQ(inserted, 0);
    EXPECT_EQ(near->spx, nullptr);
    const auto after = snapshot(g.live);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& b : before) {
        const simplex* s = b.s;
        EXPECT_EQ(s->status, b.status);
        EXPECT_EQ(s->det, b.det);
        EXPECT_TRUE(s->cmat == b.cmat && s->fct == b.fct && same_link(s->opp, b.opp));
    }
    near->x(1) = v->x(1) + 0.0102;
    insert_far_point(2, g.live, near, inserted);
    EXPECT_EQ(inserted, 1);
    g.points.push_back(near);
    expect_sound(g, 201, false);
}

TEST(Insertion, StopsOnAPointOutsideOrAlreadyConnected) {
    auto g = make_kernel_grid(2, 0.0, 0.0, 1.0, 1.0);
    EXPECT_STOP(insert_point(2, g.live, make_point(10.0, 10.0)), "Point not found \\(insert_point\\) -- STOP --");
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
    auto g = make_kernel_grid(2, 0.0, 0.0, 1.0, 1.0);
    point* first = make_point(0.3, 0.8);
    insert_all(g, {first}, false);
    point* p = make_point(0.1, 0.8);
    simplex* flat = find_triangle(g.live, first, g.points[1], g.points[2]);
    simplex* basis = nullptr;
    int fail = 1;
    trivial_search(2, g.live, p, basis, fail);
    ASSERT_TRUE(flat != nullptr && basis != nullptr && basis != flat);
    ASSERT_GT(delaunay_measure(2, p, flat), 1.0);
    ASSERT_LT(delaunay_measure(2, p, basis) + delaunay_measure(2, p, flat), 2.0);
    insert_all(g, {p}, false);
    expect_sound(g, 2, true);
}

// Halving the short segment 0..0.1 next to the long 0.1..1: the sum criterion
// admits the long neighbour, which would drop the vertex at 0.1 from the grid.
TEST(Insertion, HalvingNextToALongSegmentKeepsEveryVertex) {
    auto g = make_kernel_grid(1, 0.0, 0.0, 1.0, 0.0);
    std::vector<point*> pts{make_point(0.0), make_point(0.1), make_point(1.0), make_point(0.05)};
    insert_all(g, pts, false);
    expect_sound(g, 4, true);
}

// External triangles carry status 0 while the background grid is filled:
// they must never join a cavity, even when p lies in their circumcircle.
TEST(Insertion, StatusZeroNeighbourNeverJoinsTheCavity) {
    auto g = make_kernel_grid(2, 0.0, -1.0, 1.0, 1.0);
    std::vector<point*> pts{make_point(0.0, 0.0), make_point(1.0, 0.0), make_point(0.5, 1.0),
                            make_point(0.5, -1.0)};
    insert_all(g, pts, false);
    simplex* below = nullptr;
    for (simplex* s = g.live->next; s != g.live; s = s->next) {
        int hits = 0;
        for (int k = 1; k <= 3; ++k) hits += s->opp(k).pnt == pts[0] || s->opp(k).pnt == pts[1] || s->opp(k).pnt == pts[3];
        if (hits == 3) below = s;
    }
    ASSERT_NE(below, nullptr);
    below->status = st_far;
    point* p = make_point(0.5, 0.05);
    ASSERT_LT(delaunay_measure(2, p, below), 1.0);
    insert_point(2, g.live, p);
    EXPECT_EQ(below->status, st_far);
    EXPECT_TRUE(below->opp(1).pnt != p && below->opp(2).pnt != p && below->opp(3).pnt != p);
    EXPECT_EQ(check_kernel_grid(2, g.live, {p}).bad_det, 0);
}

}  // namespace
}  // namespace corvan
