// Simplex geometry and point location.
#include <gtest/gtest.h>

#include <cmath>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "delaunay/kernel_check.hpp"
#include "grid/list.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::make_kernel_grid;
using test::make_point;

simplex* triangle(point* a, point* b, point* c) {
    simplex* s = new_simplex();
    s->opp(1).pnt = a;
    s->opp(2).pnt = b;
    s->opp(3).pnt = c;
    simplex_facets(2, s);
    return s;
}

TEST(Geometry, UnitTriangleFacetsCentreAndMeasure) {
    point* a = make_point(0.0, 0.0);
    point* b = make_point(1.0, 0.0);
    point* c = make_point(0.0, 1.0);
    simplex* ccw = triangle(a, b, c);
    simplex* cw = triangle(a, c, b);
    EXPECT_DOUBLE_EQ(ccw->det, 1.0);
    EXPECT_DOUBLE_EQ(cw->det, -1.0);
    Vec<double, 3> bar;
    eval_facets(2, make_point(0.25, 0.25), ccw, bar);
    EXPECT_NEAR(bar(1), 0.5, 1e-15);
    EXPECT_NEAR(bar(2), 0.25, 1e-15);
    EXPECT_NEAR(bar(3), 0.25, 1e-15);
    eval_facets(2, make_point(0.25, 0.25), cw, bar);
    EXPECT_NEAR(bar(2), 0.25, 1e-15);  // vertex 2 of cw is c
    eval_facets(2, b, ccw, bar);
    EXPECT_NEAR(bar(1), 0.0, 1e-15);
    EXPECT_NEAR(bar(2), 1.0, 1e-15);
    Vec<double, 3> q;
    double r2 = 0.0;
    simplex_center(2, ccw, q, r2);
    EXPECT_NEAR(q(1), 0.5, 1e-15);
    EXPECT_NEAR(q(2), 0.5, 1e-15);
    EXPECT_NEAR(r2, 0.5, 1e-15);
    EXPECT_NEAR(delaunay_measure(2, make_point(0.5, 0.5), ccw), 0.0, 1e-15);
    EXPECT_NEAR(delaunay_measure(2, c, ccw), 1.0, 1e-15);
    EXPECT_NEAR(delaunay_measure(2, make_point(1.5, 0.5), ccw), 2.0, 1e-15);
}

TEST(Geometry, SegmentFacetsAndLengths) {
    simplex* s = new_simplex();
    s->opp(1).pnt = make_point(0.2);
    s->opp(2).pnt = make_point(0.6);
    simplex_facets(1, s);
    EXPECT_NEAR(s->fct(1, 1), -2.5, 1e-14);
    EXPECT_NEAR(s->fct(1, 2), 1.5, 1e-14);
    EXPECT_NEAR(s->fct(2, 1), 2.5, 1e-14);
    EXPECT_NEAR(s->fct(2, 2), -0.5, 1e-14);
    EXPECT_NEAR(s->det, -0.4, 1e-15);

    point* o = make_point(0.0, 0.0);
    EXPECT_DOUBLE_EQ(segment_length(2, o, make_point(3.0, 4.0)), 25.0);
    point* e = make_point(1.0, 0.0);
    EXPECT_DOUBLE_EQ(segment_r_length(2, o, e), 1.0);
    EXPECT_EQ(segment_r_length(2, o, make_point(1e-13, 0.0)), 0.0);
    o->mtr(1, 1) = o->mtr(2, 2) = e->mtr(1, 1) = e->mtr(2, 2) = 4.0;
    EXPECT_DOUBLE_EQ(segment_r_length(2, o, e), 2.0);
}

TEST(Geometry, NearlyFlatTriangleWarnsAndStopsOnlyWhenTurnedOver) {
    point* a = make_point(0.0, 0.0);
    point* b = make_point(1.0, 0.0);
    simplex* up = triangle(a, b, make_point(0.5, 1e-13));
    simplex* down = triangle(a, b, make_point(0.5, -1e-13));
    testing::internal::CaptureStdout();
    delaunay_measure(2, a, up);
    Vec<double, 3> q;
    double r2 = 0.0;
    simplex_center(2, down, q, r2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "simplex_center warning, det =  0.10000E-12\nsimplex_center warning, det = -0.10000E-12\n");
    EXPECT_STOP(delaunay_measure(2, a, down), "det = -0.10000E-12\n --STOP-- \\(delaunay_measure\\)\n");
    simplex* flat = triangle(a, b, make_point(2.0, 0.0));
    EXPECT_STOP(simplex_center(2, flat, q, r2), "det =  0.00000E\\+00\n \\(stop\\)\n");
}

TEST(Location, TrivialSearchTakesTheFirstLiveContainingSimplex) {
    auto g = make_kernel_grid(2, 0.0, -1.0, 1.0, 1.0);
    for (point* p : {make_point(0.0, 0.0), make_point(1.0, 0.0), make_point(0.5, 1.0), make_point(0.5, -1.0)}) {
        insert_point(2, g.live, p);
    }
    point* on_edge = make_point(0.5, 0.0);
    simplex* s = nullptr;
    int fail = -1;
    trivial_search(2, g.live, on_edge, s, fail);
    ASSERT_EQ(fail, 0);
    simplex* first = s;
    first->status = -first->status;  // visited marks are skipped
    trivial_search(2, g.live, on_edge, s, fail);
    EXPECT_EQ(fail, 0);
    EXPECT_NE(s, first);
    first->status = st_far;
    simplex* second = s;
    second->status = st_far;
    trivial_search(2, g.live, on_edge, s, fail);
    EXPECT_EQ(fail, 1);
    EXPECT_EQ(s, nullptr);
}

TEST(Location, WalkFindsStopsAndRepeats) {
    auto g = make_kernel_grid(2, 0.0, 0.0, 1.0, 1.0);
    point* prev = nullptr;
    for (int i = 0; i < 400; ++i) {
        point* p = make_point((i % 20) / 19.0, (i / 20) / 19.0);
        p->ref = prev;
        insert_point(2, g.live, p);
        prev = p;
    }
    simplex* start = g.live->next;
    point* inside = make_point(0.0, 0.0);
    // A point at the start simplex's centroid is found at once without a draw.
    for (int j = 1; j <= 2; ++j) {
        inside->x(j) = (start->opp(1).pnt->x(j) + start->opp(2).pnt->x(j) + start->opp(3).pnt->x(j)) / 3.0;
    }
    const auto seed = kernel.walk_random;
    simplex* s = start;
    int mode = walk_avoid_far;
    walking_search(2, inside, s, mode);
    EXPECT_EQ(mode, walk_found);
    EXPECT_EQ(s, start);
    EXPECT_EQ(kernel.walk_random, seed);

    // The same walk twice after a reset takes the same path and ends alike.
    point* target = make_point(0.83, 0.27);
    reset_walk_random();
    s = start;
    mode = walk_avoid_far;
    walking_search(2, target, s, mode);
    const auto after = kernel.walk_random;
    simplex* found = s;
    EXPECT_EQ(mode, walk_found);
    reset_walk_random();
    s = start;
    mode = walk_avoid_far;
    walking_search(2, target, s, mode);
    EXPECT_EQ(s, found);
    EXPECT_EQ(kernel.walk_random, after);

    s = start;
    mode = walk_avoid_far;
    walking_search(2, make_point(50.0, 50.0), s, mode);
    EXPECT_EQ(mode, walk_outside);
    EXPECT_EQ(s, nullptr);

    s = g.axs_head->next;  // a far simplex
    mode = walk_avoid_far;
    EXPECT_STOP(walking_search(2, target, s, mode), "research is compromised. STOP \\(walking_search\\)");
}

}  // namespace
}  // namespace corvan
