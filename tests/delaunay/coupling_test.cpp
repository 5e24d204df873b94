// Bounding simplices and the classification of boundary segments and domain triangles.
#include <gtest/gtest.h>

#include <vector>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "delaunay/kernel_check.hpp"
#include "grid/list.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::make_kernel_grid;
using test::make_point;

TEST(Coupling, BoundingSimplexInBothDimensions) {
    auto g = make_kernel_grid(2, 0.0, 0.0, 1.0, 1.0);
    ASSERT_EQ(g.points.size(), 3u);
    const double want[3][2] = {{-0.25, -0.25}, {2.75, -0.25}, {-0.25, 2.75}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g.points[i]->x(1), want[i][0]);
        EXPECT_EQ(g.points[i]->x(2), want[i][1]);
    }
    ASSERT_EQ(numberof_simplex(g.live), 1);
    EXPECT_EQ(g.live->next->det, 9.0);
    EXPECT_EQ(g.live->next->status, st_undefined);
    ASSERT_EQ(numberof_simplex(g.axs_head), 4);
    for (simplex* s = g.axs_head->next; s != g.axs_head; s = s->next) EXPECT_EQ(s->status, st_far);
    EXPECT_EQ(test::check_kernel_grid(2, g.live, g.points).total(), 0);

    auto e = make_kernel_grid(1, 0.0, 0.0, 1.0, 0.0);
    EXPECT_EQ(e.points[0]->x(1), -0.25);
    EXPECT_EQ(e.points[1]->x(1), 1.25);
    EXPECT_EQ(numberof_simplex(e.live), 1);
    EXPECT_EQ(numberof_simplex(e.axs_head), 3);
}

// A domain grid with the edge A-B between C above and D below, and the edge
// grid of the boundary A -> B (parameters 0 and 1, twins A and B).
struct TwoSides {
    test::KernelGrid dom = make_kernel_grid(2, 0.0, -1.0, 1.0, 1.0);
    test::KernelGrid edge = make_kernel_grid(1, 0.0, 0.0, 1.0, 0.0);
    std::vector<point*> p{make_point(0.0, 0.0), make_point(1.0, 0.0), make_point(0.5, 1.0), make_point(0.5, -1.0)};
    simplex* seg = nullptr;  // the segment 0..1
    simplex* ihead = newhead_simplex();
    simplex* ehead = newhead_simplex();
    simplex* uhead = newhead_simplex();

    TwoSides() {
        for (point* q : p) insert_point(2, dom.live, q);
        for (int i = 0; i < 2; ++i) {
            point* t = make_point(i);
            t->ppp = p[i];
            insert_point(1, edge.live, t);
        }
        for (simplex* s = edge.live->next; s != edge.live; s = s->next) {
            if (s->opp(1).pnt->x(1) == 0.0 && s->opp(2).pnt->x(1) == 1.0) seg = s;
        }
    }
    bool has(const simplex* s, const point* q) const {
        return s->opp(1).pnt == q || s->opp(2).pnt == q || s->opp(3).pnt == q;
    }
};

TEST(Coupling, FlagShellMakesTheRightHandTriangleInternal) {
    TwoSides t;
    ASSERT_NE(t.seg, nullptr);
    simplex* bhead = newhead_simplex();
    movetop_simplex(bhead, t.seg);
    flag_shell(2, bhead, t.dom.live, t.uhead);
    ASSERT_TRUE(t.seg->int_spx != nullptr && t.seg->ext_spx != nullptr);
    EXPECT_TRUE(t.has(t.seg->int_spx, t.p[3]));  // below, right of A -> B
    EXPECT_TRUE(t.has(t.seg->ext_spx, t.p[2]));
    EXPECT_EQ(t.seg->int_spx->status, st_internal);
    EXPECT_EQ(t.seg->ext_spx->status, st_external);
    EXPECT_TRUE(empty_list(kernel.bbl_head));
    EXPECT_EQ(numberof_simplex(t.dom.live), 9);  // the bubble came back

    // The flood crosses status-1 triangles only; the external seed stays out.
    split_ie(2, t.dom.live, t.ihead, t.ehead);
    EXPECT_TRUE(empty_list(t.dom.live));
    EXPECT_EQ(numberof_simplex(t.ehead), 1);
    EXPECT_EQ(numberof_simplex(t.ihead), 8);
    for (simplex* s = t.ihead->next; s != t.ihead; s = s->next) EXPECT_EQ(s->status, st_internal);

    // merge_ie leaves a non-empty list alone and otherwise puts external first.
    simplex* other = newhead_simplex();
    pushtop_simplex(other, new_simplex());
    merge_ie(other, t.ihead, t.ehead);
    EXPECT_EQ(numberof_simplex(t.ihead), 8);
    EXPECT_EQ(t.ehead->next->status, st_external);
    merge_ie(t.dom.live, t.ihead, t.ehead);
    EXPECT_EQ(t.dom.live->next, t.seg->ext_spx);
    EXPECT_EQ(numberof_simplex(t.dom.live), 9);
    for (simplex* s = t.dom.live->next; s != t.dom.live; s = s->next) EXPECT_EQ(s->status, st_undefined);
}

TEST(Coupling, SegmentWithoutADomainEdgeIsSetApart) {
    TwoSides t;
    simplex* bhead = newhead_simplex();
    movetop_simplex(bhead, t.seg);
    t.seg->opp(1).pnt->ppp = t.p[2];  // C and D are not joined: A-B lies between
    t.seg->opp(2).pnt->ppp = t.p[3];
    flag_shell(2, bhead, t.dom.live, t.uhead);
    EXPECT_EQ(t.uhead->next, t.seg);
    EXPECT_EQ(t.seg->int_spx, nullptr);
    EXPECT_EQ(t.seg->ext_spx, nullptr);
}

TEST(Coupling, EdgeGridSplitsAtItsEnds) {
    auto e = make_kernel_grid(1, 0.0, 0.0, 1.0, 0.0);
    for (double q : {0.0, 0.5, 1.0}) insert_point(1, e.live, make_point(q));
    simplex* ihead = newhead_simplex();
    simplex* ehead = newhead_simplex();
    split_ie_1d(1, e.live, ihead, ehead);
    ASSERT_EQ(numberof_simplex(ihead), 2);
    ASSERT_EQ(numberof_simplex(ehead), 2);
    for (simplex* s = ihead->next; s != ihead; s = s->next) {
        EXPECT_EQ(s->status, st_internal);
        EXPECT_GE(s->opp(1).pnt->x(1), 0.0);
        EXPECT_LE(s->opp(2).pnt->x(1), 1.0);
    }
    for (simplex* s = ehead->next; s != ehead; s = s->next) EXPECT_EQ(s->status, st_external);
    EXPECT_STOP(split_ie_1d(2, e.live, ihead, ehead), "split_1d error, unexpected nd value =            2\n \\(stop\\)");
}

}  // namespace
}  // namespace corvan
