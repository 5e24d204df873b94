#include <map>

#include "domain/convert.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"
#include "output/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::SmallGrid;

TEST(Numbering, ContinuesAcrossListsAndFillsTablesInListOrder) {
    point* h1 = nullptr;
    point* h2 = nullptr;
    p_list(3, h1);
    p_list(-2, h2);
    EXPECT_EQ(numberof_point(h2), 0);
    p_list(2, h2);
    int n = 10;
    set_p2i(n, h1);
    set_p2i(n, h2);
    EXPECT_EQ(n, 15);
    EXPECT_EQ(h1->next->i, 11);
    EXPECT_EQ(h2->prev->i, 15);
    clr_p2i(h1);
    EXPECT_EQ(h1->prev->i, 0);
    Array1<point*> table(4, nullptr);
    n = 1;
    set_i2p(n, h1, table);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(table(2), h1->next);
    EXPECT_EQ(table(4), h1->prev);
}

// Walks two lists side by side, recording the copy of each source record.
template <class T>
void pair_lists(T* src, T* dst, std::map<const T*, const T*>& copy) {
    T *p = src->next, *q = dst->next;
    for (; p != src && q != dst; p = p->next, q = q->next) copy[p] = q;
    EXPECT_TRUE(p == src && q == dst) << "copy and source lists differ in length";
}

TEST(GCopy, CopyHasTheSameStructureAndLinksOnlyIntoItself) {
    SmallGrid s;
    build_small_grid(s);
    grid_record dst;
    dst.new_heads();
    dst.edge.assign(2);
    EXPECT_EQ(test::output_of([&] { g_copy(s.g, dst); }),
              ld_record({"b pnt number = ", 10, 10}) + "\n" + ld_record({"b spx number = ", 8, 8}) + "\n" +
                  ld_record({"d pnt number = ", 8, 8}) + "\n" + ld_record({"d spx number = ", 7, 7}) + "\n");

    std::map<const point*, const point*> pc;
    std::map<const simplex*, const simplex*> sc;
    for (int e = 1; e <= 2; ++e) {
        const edge_record &a = s.g.edge(e), &b = dst.edge(e);
        for (auto [x, y] : {std::pair{a.pnt_head, b.pnt_head}, {a.axp_head, b.axp_head}}) pair_lists(x, y, pc);
        for (auto [x, y] : {std::pair{a.int_head, b.int_head}, {a.ext_head, b.ext_head}, {a.axs_head, b.axs_head}})
            pair_lists(x, y, sc);
    }
    pair_lists(s.g.pnt_head, dst.pnt_head, pc);
    pair_lists(s.g.axp_head, dst.axp_head, pc);
    for (auto [x, y] : {std::pair{s.g.int_head, dst.int_head}, {s.g.ext_head, dst.ext_head}, {s.g.axs_head, dst.axs_head}})
        pair_lists(x, y, sc);
    ASSERT_EQ(pc.size(), 18u);
    ASSERT_EQ(sc.size(), 15u);

    // Every link of a copy is the copy of the source's link; null stays null.
    auto same = [](const auto& map, const auto* from, const auto* to) {
        EXPECT_EQ(to, from == nullptr ? nullptr : map.at(from));
    };
    for (const auto& [p, q] : pc) {
        EXPECT_EQ(q->x, p->x);
        EXPECT_EQ(q->mtr, p->mtr);
        EXPECT_EQ((std::tuple{q->edge, q->parent, q->h}), (std::tuple{p->edge, p->parent, p->h}));
        same(pc, p->ref, q->ref);
        same(pc, p->ppp, q->ppp);
        same(sc, p->spx, q->spx);
    }
    for (const auto& [a, b] : sc) {
        EXPECT_EQ((std::tuple{b->status, b->det}), (std::tuple{a->status, a->det}));
        EXPECT_EQ(b->cmat, a->cmat);
        EXPECT_EQ(b->fct, a->fct);
        same(sc, a->int_spx, b->int_spx);
        same(sc, a->ext_spx, b->ext_spx);
        for (int k = 1; k <= 3; ++k) {
            same(pc, a->opp(k).pnt, b->opp(k).pnt);
            same(sc, a->opp(k).spx, b->opp(k).spx);
        }
    }
    EXPECT_EQ(sc.at(s.T[1])->opp(2).spx, sc.at(s.T[2]));
}

// A reference to a record left unnumbered, or numbered beyond the table by
// another pass, has no copy.
TEST(GCopy, ReferencesOutsideTheNumberedListsBecomeNull) {
    point* head = nullptr;
    p_list(1, head);
    point* stale = new_point();
    stale->i = 99;
    head->next->ref = new_point();
    head->next->ppp = stale;
    int n = 0;
    set_p2i(n, head);
    Array1<point*> ptab(1, new_point());
    p_copy(head, ptab, Array1<simplex*>(), ptab);
    EXPECT_EQ(ptab(1)->ref, nullptr);
    EXPECT_EQ(ptab(1)->ppp, nullptr);
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
