// Classification of boundary segments and domain triangles.
#include <gtest/gtest.h>

#include "delaunay/kernel_check.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::has_vertex;
using test::make_point;

// The diamond's edge A -> B as a boundary: its edge grid holds the
// parameters 0 and 1 with twins A and B; seg, the segment 0..1, waits in bhead.
struct TwoSides {
    test::KernelGrid dom = test::diamond();
    test::KernelGrid edge{1, 0.0, 0.0, 1.0, 0.0};
    point* const* abcd = &dom.points[3];
    simplex* seg = nullptr;
    simplex* bhead = newhead_simplex();
    simplex* uhead = newhead_simplex();

    TwoSides() {
        point* ends[2] = {make_point(0.0), make_point(1.0)};
        ends[0]->ppp = abcd[0];
        ends[1]->ppp = abcd[1];
        edge.insert_all({ends[0], ends[1]});
        for (simplex* s = edge.live->next; s != edge.live; s = s->next) {
            if (s->opp(1).pnt == ends[0] && s->opp(2).pnt == ends[1]) seg = s;
        }
        movetop_simplex(bhead, seg);
    }
};

TEST(Coupling, FlagShellMakesTheRightHandTriangleInternalAndSplitIeFloodsFromIt) {
    TwoSides t;
    flag_shell(2, t.bhead, t.dom.live, t.uhead);
    ASSERT_TRUE(t.seg->int_spx() != nullptr && t.seg->ext_spx() != nullptr);
    EXPECT_TRUE(has_vertex(t.seg->int_spx(), t.abcd[3]));  // below, right of A -> B
    EXPECT_TRUE(has_vertex(t.seg->ext_spx(), t.abcd[2]));
    EXPECT_EQ(t.seg->int_spx()->status, st_internal);
    EXPECT_EQ(t.seg->ext_spx()->status, st_external);
    EXPECT_TRUE(empty_list(kernel.bbl_head));
    EXPECT_EQ(numberof_simplex(t.dom.live), 9);  // the bubble came back

    // The flood crosses status-1 triangles only; the external seed stays out.
    simplex* ihead = newhead_simplex();
    simplex* ehead = newhead_simplex();
    split_ie(2, t.dom.live, ihead, ehead);
    EXPECT_TRUE(empty_list(t.dom.live));
    EXPECT_EQ(numberof_simplex(ehead), 1);
    EXPECT_EQ(numberof_simplex(ihead), 8);
    for (simplex* s = ihead->next; s != ihead; s = s->next) EXPECT_EQ(s->status, st_internal);
}

TEST(Coupling, SegmentWithoutADomainEdgeIsSetApart) {
    TwoSides t;
    t.seg->opp(1).pnt->ppp = t.abcd[2];  // C and D are not joined: A-B lies between
    t.seg->opp(2).pnt->ppp = t.abcd[3];
    flag_shell(2, t.bhead, t.dom.live, t.uhead);
    EXPECT_EQ(t.uhead->next, t.seg);
    EXPECT_EQ(t.seg->int_spx(), nullptr);
    EXPECT_EQ(t.seg->ext_spx(), nullptr);
}

TEST(Coupling, EdgeGridSplitsAtItsEnds) {
    test::KernelGrid e(1, 0.0, 0.0, 1.0, 0.0);
    e.insert_all({make_point(0.0), make_point(0.5), make_point(1.0)});
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
