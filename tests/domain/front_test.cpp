// Frontal stage: acceptance pass, front candidates, corner splits and the
// Steiner reader on small hand-made grids; the whole stage on the unit square.
#include <cmath>
#include <sstream>
#include <string>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "domain/front_2d.hpp"
#include "domain/refine_2d.hpp"
#include "grid/list.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

// A grid with no triangles yet and a background made of one large triangle
// (-10,-10), (10,-10), (0,10), all of spacing h, closed by external walls.
struct Frontier {
    grid_record g;
    grid_record b;
    point* bv[4]{};
    simplex* big = nullptr;
    simplex* wall = nullptr;  // status 0 stand-in for the external side

    explicit Frontier(double h = 0.4) {
        g.new_heads();
        b.new_heads();
        const double x[4] = {0, -10, 10, 0}, y[4] = {0, -10, -10, 10};
        big = new_simplex();
        big->status = st_internal;
        pushtop_simplex(b.int_head, big);
        simplex* bwall = new_simplex();
        bwall->status = st_external;
        pushtop_simplex(b.ext_head, bwall);
        for (int k = 1; k <= 3; ++k) {
            bv[k] = new_point();
            bv[k]->x(1) = x[k];
            bv[k]->x(2) = y[k];
            bv[k]->h = h;
            bv[k]->spx = big;
            big->opp(k).pnt = bv[k];
            big->opp(k).spx = bwall;
        }
        simplex_facets(2, big);
        wall = new_simplex();
        wall->status = st_far;
        pushtop_simplex(g.ext_head, wall);
        front.grid = &g;
        front.back = &b;
    }

    point* vertex(double x, double y, double h) {
        point* p = new_point();
        p->x(1) = x;
        p->x(2) = y;
        p->h = h;
        p->ppp = bv[1];
        pushbot_point(g.pnt_head, p);
        return p;
    }

    // A triangle of the given list and status, walled on every side.
    simplex* tri(simplex* head, int status, point* a, point* c, point* d) {
        simplex* s = new_simplex();
        s->status = status;
        s->opp(1).pnt = a;
        s->opp(2).pnt = c;
        s->opp(3).pnt = d;
        for (int k = 1; k <= 3; ++k) {
            s->opp(k).spx = wall;
            s->opp(k).pnt->spx = s;
        }
        simplex_facets(2, s);
        pushbot_simplex(head, s);
        return s;
    }
};

double dist(const point* p, const point* q) { return std::sqrt(segment_length(2, p, q)); }

TEST(Acceptance, MovesShortTrianglesAndKeepsTheFirstLongEdge) {
    Frontier f;
    // Edges up to 0.75 (0.5 + 0.5) pass.
    simplex* ok = f.tri(f.g.spx_head, st_undefined, f.vertex(0, 0, 0.5), f.vertex(0.5, 0, 0.5),
                        f.vertex(0, 0.5, 0.5));
    // Edges (1,2) and (1,3) of squared length 4, edge (2,3) of 8: the pass
    // stops at the first long pair.
    simplex* bad = f.tri(f.g.spx_head, st_undefined, f.vertex(0, 0, 0.5), f.vertex(2, 0, 0.5),
                         f.vertex(0, 2, 0.5));
    testing::internal::CaptureStdout();
    uns_split();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(ok->status, st_internal);
    EXPECT_EQ(poptop_simplex(f.g.int_head), ok);
    EXPECT_EQ(bad->status, st_undefined);
    EXPECT_EQ(poptop_simplex(f.g.spx_head), bad);
    EXPECT_DOUBLE_EQ(front.max_length, 4.0);

    testing::internal::CaptureStdout();
    uns_split(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "*** not accepted        1 -> 50.00 %\n");

    // Nothing accepted at all: 100 does not fit the percentage field.
    Frontier all;
    all.tri(all.g.spx_head, st_undefined, all.vertex(0, 0, 0.1), all.vertex(3, 0, 0.1),
            all.vertex(0, 3, 0.1));
    all.tri(all.g.spx_head, st_undefined, all.vertex(5, 5, 0.1), all.vertex(6, 5, 0.1),
            all.vertex(5, 6, 0.1));
    testing::internal::CaptureStdout();
    uns_split(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "*** not accepted        2 -> ***** %\n");
    EXPECT_DOUBLE_EQ(front.max_length, 9.0);

    // All accepted: no report line.
    Frontier none;
    none.tri(none.g.spx_head, st_undefined, none.vertex(0, 0, 1), none.vertex(1, 0, 1),
             none.vertex(0, 1, 1));
    testing::internal::CaptureStdout();
    uns_split(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(FrontCandidates, LieAtTheMeanSpacingFromBothFacetEndsOrAtTheCircumcentre) {
    Frontier f;
    // A short base (0.4) under a far apex: the circumcentre (0.2, 0.48) is
    // farther from the base than the candidate at distance 0.4 from its ends;
    // the two long sides (about 1.02 > 2 * 0.4) get the circumcentre itself.
    point* a = f.vertex(0, 0, 0.4);
    point* b = f.vertex(0.4, 0, 0.4);
    point* c = f.vertex(0.2, 1.0, 0.4);
    simplex* s = f.tri(f.g.spx_head, st_undefined, a, b, c);
    // One rejected record waits: it is reused before any new record.
    point* old = new_point();
    pushtop_point(f.g.rej_head, old);
    const long long made = points_made();

    frn_points();
    EXPECT_EQ(front.nfro, 3);
    EXPECT_EQ(numberof_point(f.g.add_head), 3);
    EXPECT_TRUE(empty_list(f.g.rej_head));
    EXPECT_EQ(points_made() - made, 2);

    Vec<double, 3> z;
    double r2 = 0.0;
    simplex_center(2, s, z, r2);
    int at_hf = 0, at_centre = 0;
    for (point* p = f.g.add_head->next; p != f.g.add_head; p = p->next) {
        if (p->ref == a) {  // facet 3, between a and b: candidate at hf from both
            EXPECT_NEAR(dist(p, a), 0.4, 1e-12);
            EXPECT_NEAR(dist(p, b), 0.4, 1e-12);
            EXPECT_GT(p->x(2), 0.0);  // on the side of the opposite vertex
            ++at_hf;
        } else {
            EXPECT_NEAR(p->x(1), z(1), 1e-12);
            EXPECT_NEAR(p->x(2), z(2), 1e-12);
            ++at_centre;
        }
        EXPECT_DOUBLE_EQ(p->h, 0.4);  // interpolated from the background
    }
    EXPECT_EQ(at_hf, 1);
    EXPECT_EQ(at_centre, 2);
}

TEST(FrontCandidates, SkipInnerFacetsAndFacetsBeyondTheCircumcentre) {
    Frontier f;
    // Obtuse at c: the circumcentre lies below the base a-b, so facet 3
    // (whose candidate would be made from vertex a) gives none.
    point* a = f.vertex(0, 0, 0.3);
    point* b = f.vertex(1, 0, 0.3);
    point* c = f.vertex(0.5, 0.1, 0.3);
    simplex* s = f.tri(f.g.spx_head, st_undefined, a, b, c);
    frn_points();
    EXPECT_EQ(front.nfro, 2);
    for (point* p = f.g.add_head->next; p != f.g.add_head; p = p->next) EXPECT_NE(p->ref, a);

    // A facet shared with another working triangle is not on the front.
    Frontier g;
    simplex* t = g.tri(g.g.spx_head, st_undefined, g.vertex(0, 0, 0.4), g.vertex(0.4, 0, 0.4),
                       g.vertex(0.2, 1.0, 0.4));
    simplex* other = new_simplex();
    other->status = st_undefined;
    t->opp(1).spx = other;
    t->opp(2).spx = other;
    frn_points();
    EXPECT_EQ(front.nfro, 1);
    (void)s;
}

TEST(FrontCandidates, UnlocatedCandidateDropsTheRestOfItsTriangle) {
    Frontier f;
    // A triangle far outside the background: its first candidate cannot be
    // located, the other facets are not tried.
    simplex* s = f.tri(f.g.spx_head, st_undefined, f.vertex(50, 50, 0.4), f.vertex(50.4, 50, 0.4),
                       f.vertex(50.2, 51, 0.4));
    testing::internal::CaptureStdout();
    frn_points();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " Research failed!\n Point will not be inserted (frn_points)\n");
    EXPECT_EQ(front.nfro, 0);
    EXPECT_EQ(numberof_point(f.g.rej_head), 1);
    EXPECT_TRUE(empty_list(f.g.add_head));
    (void)s;
}

TEST(Corners, SharedSideIsSplitOnce) {
    Frontier f;
    // The unit square cut along a-c; both halves have two external sides.
    point* a = f.vertex(0, 0, 1);
    point* b = f.vertex(1, 0, 1);
    point* c = f.vertex(1, 1, 1);
    point* d = f.vertex(0, 1, 1);
    b->mtr(1, 1) = 3.0;
    c->mtr(2, 2) = 5.0;
    simplex* t1 = f.tri(f.g.int_head, st_internal, a, b, c);
    simplex* t2 = f.tri(f.g.int_head, st_internal, a, c, d);
    t1->i = 7;
    t1->opp(2).spx = t2;  // side a-c, opposite b
    t2->opp(3).spx = t1;  // side a-c, opposite d
    crn_points();
    EXPECT_EQ(front.nadd, 1);
    ASSERT_EQ(numberof_point(f.g.add_head), 1);
    const point* m = poptop_point(f.g.add_head);
    EXPECT_DOUBLE_EQ(m->x(1), 0.5);
    EXPECT_DOUBLE_EQ(m->x(2), 0.5);
    EXPECT_DOUBLE_EQ(m->mtr(1, 1), 1.0);  // (1 + 1) / 2
    EXPECT_DOUBLE_EQ(m->mtr(2, 2), 3.0);  // (1 + 5) / 2
    EXPECT_DOUBLE_EQ(m->mtr(1, 2), 0.0);
    EXPECT_EQ(m->parent, 7);
    EXPECT_EQ(m->ref, a);
    EXPECT_EQ(m->edge, 0);
    EXPECT_EQ(t1->status, st_internal);  // marks cleared
    EXPECT_EQ(t2->status, st_internal);
}

TEST(Corners, OnlyAnAcceptedNeighbourQualifies) {
    Frontier f;
    point* a = f.vertex(0, 0, 1);
    point* b = f.vertex(1, 0, 1);
    point* c = f.vertex(1, 1, 1);
    simplex* t = f.tri(f.g.int_head, st_internal, a, b, c);
    simplex* working = new_simplex();
    working->status = st_undefined;
    t->opp(2).spx = working;
    crn_points();
    EXPECT_EQ(front.nadd, 0);
    EXPECT_TRUE(empty_list(f.g.add_head));

    // One external side only: not a corner.
    simplex* inner = new_simplex();
    inner->status = st_internal;
    t->opp(1).spx = inner;
    t->opp(2).spx = inner;
    crn_points();
    EXPECT_EQ(front.nadd, 0);
}

TEST(Corners, TriangleWithThreeExternalSidesStops) {
    Frontier f;
    f.tri(f.g.int_head, st_internal, f.vertex(0, 0, 1), f.vertex(1, 0, 1), f.vertex(0, 1, 1));
    EXPECT_STOP(crn_points(), "^ refine_corners error, unpossible element found\n \\(stop\\)\n$");
}

TEST(Corners, HalveDomMakesTheMidpointOfTheSideOppositeK) {
    Frontier f;
    point* a = f.vertex(0, 0, 1);
    point* b = f.vertex(2, 0, 1);
    point* c = f.vertex(0, 4, 1);
    simplex* s = f.tri(f.g.int_head, st_internal, a, b, c);
    halve_dom(f.g, 1, s);  // side b-c
    halve_dom(f.g, 3, s);  // side a-b, now on top
    EXPECT_DOUBLE_EQ(poptop_point(f.g.add_head)->x(1), 1.0);
    EXPECT_DOUBLE_EQ(poptop_point(f.g.add_head)->x(2), 0.0);
    EXPECT_DOUBLE_EQ(popbot_point(f.g.add_head)->x(1), 1.0);
    EXPECT_DOUBLE_EQ(popbot_point(f.g.add_head)->x(2), 2.0);
}

TEST(Steiner, EndOfFileInTheHeaderIsReportedAndTheRunGoesOn) {
    Frontier f;
    std::istringstream in("steiner points\n.\n");
    RecordReader dom(in, "domain.t");
    testing::internal::CaptureStdout();
    steiner_points(dom);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " UNEXPECTED END OF STEINER FILE\n");
    EXPECT_TRUE(empty_list(f.g.add_head));
}

TEST(Steiner, NoPointsReadsFourRecordsAndPrintsNothing) {
    Frontier f;
    std::istringstream in("steiner points\n  nst\n0\n  x  y\nnot read\n");
    RecordReader dom(in, "domain.t");
    testing::internal::CaptureStdout();
    steiner_points(dom);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::string next;
    dom.read("next", next);
    EXPECT_EQ(next, "not");
}

TEST(Steiner, PointOutsideTheBackgroundIsDroppedAndAShortFileStops) {
    Frontier f;
    f.vertex(0, 0, 0.4);
    std::istringstream in("steiner\n  nst\n1\nx y\n40 40\n");
    RecordReader dom(in, "domain.t");
    testing::internal::CaptureStdout();
    steiner_points(dom);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " Steiner points...\n *** Steiner point NOT found! ***\n");
    EXPECT_EQ(numberof_point(f.g.rej_head), 1);
    EXPECT_EQ(numberof_point(f.g.pnt_head), 1);

    std::istringstream shorter("steiner\n  nst\n2\nx y\n40 40\n");
    RecordReader dom2(shorter, "domain.t");
    EXPECT_STOP({ steiner_points(dom2); }, "domain\\.t");
}

TEST(FrontSetup, FindPointsRejectsUnknownChoiceAndTwinlessVertexStops) {
    Frontier f;
    EXPECT_STOP(find_points(1), "^ BAD OPTION: no construct with choice +1\n$");

    point* a = f.vertex(0, 0, 1);
    f.tri(f.g.int_head, st_internal, a, f.vertex(1, 0, 1), f.vertex(0, 1, 1));
    a->ppp = nullptr;
    EXPECT_STOP(adjust_spx(), "wrong direction\\? \\(adjust_spx\\)\n$");
}

TEST(FrontSetup, AdjustSpxPointsVerticesAtTheirTrianglesAndWarnsAboutMissingLinks) {
    Frontier f;
    point* a = f.vertex(0, 0, 1);
    point* b = f.vertex(1, 0, 1);
    point* c = f.vertex(0, 1, 1);
    simplex* s = f.tri(f.g.int_head, st_internal, a, b, c);
    simplex* stale = new_simplex();
    b->spx = stale;
    a->spx = nullptr;
    testing::internal::CaptureStdout();
    adjust_spx();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " pnt%spx not associated? (adjust_spx)\n");
    EXPECT_EQ(a->spx, nullptr);
    EXPECT_EQ(b->spx, s);
    EXPECT_EQ(f.bv[1]->spx, f.big);
}

}  // namespace
}  // namespace corvan
