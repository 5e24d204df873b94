// Frontal stage: acceptance pass, front candidates and corner splits on
// hand-made grids (the golden mesh files pin the whole stage).
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "domain/front_2d.hpp"
#include "grid/list.hpp"

namespace corvan {
namespace {

// An empty grid whose triangles are walled by a status-0 simplex, and a
// background of one large triangle of spacing 0.4 everywhere.
struct Frontier {
    grid_record g, b;
    point* bv = nullptr;
    simplex* wall = new_simplex();

    Frontier() {
        g.new_heads();
        b.new_heads();
        wall->status = st_far;
        simplex* outside = new_simplex();
        outside->status = st_external;  // the background walk stops there
        simplex* big = tri(b.int_head, st_internal, vertex(-10, -10, 0.4), vertex(10, -10, 0.4), vertex(0, 10, 0.4));
        for (int k = 1; k <= 3; ++k) {
            big->opp(k).spx = outside;
            big->opp(k).pnt->spx = big;
            movetop_point(b.pnt_head, big->opp(k).pnt);
        }
        bv = big->opp(1).pnt;
        front.grid = &g;
        front.back = &b;
    }
    point* vertex(double x, double y, double h) {
        point* p = new_point();
        p->x = Vec<double, 2>{{x, y}};
        p->h = h;
        p->ppp = bv;
        pushbot_point(g.pnt_head, p);
        return p;
    }
    simplex* tri(simplex* head, int status, point* a, point* c, point* d) {
        simplex* s = new_simplex();
        s->status = status;
        s->opp = {{{a, wall}, {c, wall}, {d, wall}}};
        simplex_facets(2, s);
        pushbot_simplex(head, s);
        return s;
    }
    simplex* working(double x1, double y1, double x2, double y2, double x3, double y3, double h) {
        return tri(g.spx_head, st_undefined, vertex(x1, y1, h), vertex(x2, y2, h), vertex(x3, y3, h));
    }
};

TEST(Acceptance, AcceptsShortTrianglesAndReportsTheRest) {
    Frontier f;
    simplex* ok = f.working(0, 0, 0.5, 0, 0, 0.5, 0.5);  // edges up to 0.75 pass
    simplex* bad = f.working(0, 0, 2, 0, 0, 2, 0.5);
    testing::internal::CaptureStdout();
    uns_split(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "*** not accepted        1 -> 50.00 %\n");
    EXPECT_EQ((std::pair{f.g.int_head->next, f.g.spx_head->next}), (std::pair{ok, bad}));
    EXPECT_EQ(ok->status, st_internal);
}

TEST(FrontCandidates, LieAtTheMeanSpacingFromBothFacetEndsOrAtTheCircumcentre) {
    Frontier f;
    // Short base a-b under a far apex: its candidate is 0.4 from a and b,
    // nearer than the circumcentre; the long sides (> 2 * 0.4) get the
    // circumcentre itself.
    simplex* s = f.working(0, 0, 0.4, 0, 0.2, 1.0, 0.4);
    pushtop_point(f.g.rej_head, new_point());
    const long long made = points_made();
    frn_points();
    EXPECT_EQ(front.nfro, 3);
    EXPECT_EQ(points_made() - made, 2);  // the waiting record was reused
    Vec<double, 3> z;
    double r2 = 0.0;
    simplex_center(2, s, z, r2);
    for (point* p = f.g.add_head->next; p != f.g.add_head; p = p->next) {
        EXPECT_DOUBLE_EQ(p->h, 0.4);
        if (p->ref == s->opp(1).pnt) {
            EXPECT_NEAR(segment_length(2, p, s->opp(1).pnt), 0.16, 1e-12);
            EXPECT_NEAR(segment_length(2, p, s->opp(2).pnt), 0.16, 1e-12);
            EXPECT_LT(p->x(2), z(2));
        } else {
            EXPECT_NEAR(std::hypot(p->x(1) - z(1), p->x(2) - z(2)), 0.0, 1e-12);
        }
    }
    // Obtuse at its apex: the circumcentre lies beyond the base, which gets none.
    Frontier o;
    simplex* t = o.working(0, 0, 1, 0, 0.5, 0.1, 0.3);
    frn_points();
    EXPECT_EQ(front.nfro, 2);
    for (point* p = o.g.add_head->next; p != o.g.add_head; p = p->next) EXPECT_NE(p->ref, t->opp(1).pnt);
}

TEST(Corners, SideSharedByTwoCornerTrianglesIsSplitOnce) {
    Frontier f;
    point* a = f.vertex(0, 0, 1);
    point* c = f.vertex(1, 1, 1);
    c->mtr(2, 2) = 5.0;
    simplex* t1 = f.tri(f.g.int_head, st_internal, a, f.vertex(1, 0, 1), c);
    simplex* t2 = f.tri(f.g.int_head, st_internal, a, c, f.vertex(0, 1, 1));
    t1->i = 7;
    t1->opp(2).spx = t2;
    t2->opp(3).spx = t1;
    crn_points();
    EXPECT_EQ(front.nadd, 1);
    ASSERT_EQ(numberof_point(f.g.add_head), 1);
    const point* m = poptop_point(f.g.add_head);
    // At the side's midpoint, with the mean metric, made in t1, near a.
    EXPECT_EQ((std::tuple{m->x, m->mtr(2, 2), m->parent, m->ref}), (std::tuple{Vec<double, 2>{{0.5, 0.5}}, 3.0, 7, a}));
    EXPECT_EQ(t1->status, st_internal);
    // A triangle walled in on all sides is a whole domain: left as it is.
    t2->opp(3).spx = f.wall;
    t1->opp(2).spx = f.wall;
    crn_points();
    EXPECT_EQ(front.nadd, 0);
    EXPECT_EQ(t2->status, st_internal);
}

}  // namespace
}  // namespace corvan
