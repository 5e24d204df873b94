#include <map>
#include <set>

#include "domain/convert.hpp"
#include "grid/list.hpp"
#include "output/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::SmallGrid;

TEST(Numbering, ContinuesAcrossListsAndClears) {
    point* p1 = newhead_point();
    point* p2 = newhead_point();
    for (int k = 0; k < 3; ++k) pushbot_point(p1, new_point());
    for (int k = 0; k < 2; ++k) pushbot_point(p2, new_point());
    int n = 10;
    set_p2i(n, p1);
    set_p2i(n, p2);
    EXPECT_EQ(n, 15);
    EXPECT_EQ(p1->next->i, 11);
    EXPECT_EQ(p2->next->i, 14);
    EXPECT_EQ(p2->prev->i, 15);
    clr_p2i(p1);
    EXPECT_EQ(p1->prev->i, 0);
    EXPECT_EQ(p2->next->i, 14);

    simplex* s = newhead_simplex();
    for (int k = 0; k < 4; ++k) pushtop_simplex(s, new_simplex());
    int m = 0;
    set_s2i(m, s);
    set_s2i(m, newhead_simplex());
    EXPECT_EQ(m, 4);
    EXPECT_EQ(s->prev->i, 4);
    clr_s2i(s);
    for (simplex* r = s->next; r != s; r = r->next) EXPECT_EQ(r->i, 0);
}

TEST(Numbering, FreshListsAndTablesFollowListOrder) {
    point* head = nullptr;
    p_list(-2, head);
    EXPECT_EQ(numberof_point(head), 0);
    p_list(3, head);
    EXPECT_EQ(numberof_point(head), 3);
    Array1<point*> table(5, nullptr);
    int n = 2;
    set_i2p(n, head, table);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(table(3), head->next);
    EXPECT_EQ(table(5), head->prev);
    EXPECT_EQ(table(1), nullptr);

    simplex* sh = nullptr;
    s_list(2, sh);
    Array1<simplex*> st(2, nullptr);
    int m = 0;
    set_i2s(m, sh, st);
    EXPECT_EQ(st(1), sh->next);
    EXPECT_EQ(st(2)->status, st_undefined);
}

// Walks two lists side by side, recording which copy each source record has.
template <class T>
void pair_lists(T* src, T* dst, std::map<const void*, const void*>& copy) {
    T* q = dst->next;
    for (T* p = src->next; p != src; p = p->next, q = q->next) {
        ASSERT_NE(q, dst) << "copy list shorter than its source";
        copy[p] = q;
    }
    EXPECT_EQ(q, dst) << "copy list longer than its source";
}

TEST(GCopy, CopyHasTheSameStructureAndLinksOnlyIntoItself) {
    SmallGrid s;
    build_small_grid(s);
    grid_record dst;
    dst.new_heads();
    dst.edge.assign(2);
    for (int e = 1; e <= 2; ++e) dst.edge(e).new_heads();

    testing::internal::CaptureStdout();
    g_copy(s.g, dst);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " b pnt number =           10          10\n"
              " b spx number =            8           8\n"
              " d pnt number =            8           8\n"
              " d spx number =            7           7\n");

    std::map<const void*, const void*> copy;
    for (int e = 1; e <= 2; ++e) {
        pair_lists(s.g.edge(e).pnt_head, dst.edge(e).pnt_head, copy);
        pair_lists(s.g.edge(e).axp_head, dst.edge(e).axp_head, copy);
        pair_lists(s.g.edge(e).int_head, dst.edge(e).int_head, copy);
        pair_lists(s.g.edge(e).ext_head, dst.edge(e).ext_head, copy);
        pair_lists(s.g.edge(e).axs_head, dst.edge(e).axs_head, copy);
    }
    pair_lists(s.g.pnt_head, dst.pnt_head, copy);
    pair_lists(s.g.axp_head, dst.axp_head, copy);
    pair_lists(s.g.int_head, dst.int_head, copy);
    pair_lists(s.g.ext_head, dst.ext_head, copy);
    pair_lists(s.g.axs_head, dst.axs_head, copy);
    ASSERT_EQ(copy.size(), 10u + 8u + 8u + 7u);

    std::set<const void*> copies;
    for (const auto& [from, to] : copy) copies.insert(to);
    EXPECT_EQ(copies.size(), copy.size());
    // A link of a copy is the copy of the source's link (null stays null).
    auto expect_link = [&](const void* src_link, const void* dst_link) {
        if (src_link == nullptr) {
            EXPECT_EQ(dst_link, nullptr);
        } else {
            ASSERT_TRUE(copy.count(src_link));
            EXPECT_EQ(dst_link, copy.at(src_link));
        }
    };
    for (const auto& [from, to] : copy) {
        // Points and simplices are told apart by the list they came from.
        bool is_point = false;
        auto find_point = [&](point* head) {
            for (point* p = head->next; p != head; p = p->next)
                if (p == from) is_point = true;
        };
        find_point(s.g.pnt_head);
        find_point(s.g.axp_head);
        for (int e = 1; e <= 2; ++e) {
            find_point(s.g.edge(e).pnt_head);
            find_point(s.g.edge(e).axp_head);
        }
        if (is_point) {
            const point* p = static_cast<const point*>(from);
            const point* q = static_cast<const point*>(to);
            EXPECT_EQ(q->x, p->x);
            EXPECT_EQ(q->edge, p->edge);
            EXPECT_EQ(q->parent, p->parent);
            EXPECT_EQ(q->h, p->h);
            EXPECT_EQ(q->mtr, p->mtr);
            expect_link(p->ref, q->ref);
            expect_link(p->ppp, q->ppp);
            expect_link(p->spx, q->spx);
        } else {
            const simplex* a = static_cast<const simplex*>(from);
            const simplex* b = static_cast<const simplex*>(to);
            EXPECT_EQ(b->status, a->status);
            EXPECT_EQ(b->det, a->det);
            EXPECT_EQ(b->cmat, a->cmat);
            EXPECT_EQ(b->fct, a->fct);
            expect_link(a->int_spx, b->int_spx);
            expect_link(a->ext_spx, b->ext_spx);
            for (int k = 1; k <= 3; ++k) {
                expect_link(a->opp(k).pnt, b->opp(k).pnt);
                expect_link(a->opp(k).spx, b->opp(k).spx);
            }
        }
    }
    // Spot checks against the picture: the copy of T1 borders the copy of T2.
    const simplex* t1 = static_cast<const simplex*>(copy.at(s.T[1]));
    EXPECT_EQ(t1->opp(2).spx, copy.at(s.T[2]));
    EXPECT_EQ(dst.edge(2).int_head->next->int_spx, copy.at(s.T[2]));
    EXPECT_EQ(dst.edge(1).pnt_head->next->ppp, copy.at(s.P[1]));
}

TEST(GCopy, ReferencesOutsideTheNumberedListsBecomeNull) {
    point* head = newhead_point();
    point* p = new_point();
    pushbot_point(head, p);
    point* loose = new_point();  // in no list: never numbered
    point* stale = new_point();
    stale->i = 99;               // numbered by some other pass, beyond the table
    p->ref = loose;
    p->ppp = stale;
    int n = 0;
    set_p2i(n, head);
    point* copy_head = nullptr;
    p_list(1, copy_head);
    Array1<point*> ptab(1, nullptr);
    n = 0;
    set_i2p(n, copy_head, ptab);
    Array1<simplex*> stab;
    p_copy(head, ptab, stab, ptab);
    EXPECT_EQ(ptab(1)->ref, nullptr);
    EXPECT_EQ(ptab(1)->ppp, nullptr);
    EXPECT_EQ(ptab(1)->spx, nullptr);
}

TEST(GCopy, DestinationWithTooFewEdgesStops) {
    SmallGrid s;
    build_small_grid(s);
    grid_record dst;
    dst.new_heads();
    dst.edge.assign(1);
    EXPECT_STOP(g_copy(s.g, dst), "g_copy error, destination holds 1 edges, source 2");
}

}  // namespace
}  // namespace corvan
