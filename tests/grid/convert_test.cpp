#include <map>
#include <tuple>
#include <utility>

#include "grid/convert.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"
#include "support/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

// Walks two lists side by side, recording the copy of each source record.
template <class T>
void pair_lists(T* src, T* dst, std::map<const T*, const T*>& copy) {
    T *p = src->next, *q = dst->next;
    for (; p != src && q != dst; p = p->next, q = q->next) copy[p] = q;
    EXPECT_TRUE(p == src && q == dst) << "copy and source lists differ in length";
}

TEST(GCopy, CopyHasTheSameStructureAndLinksOnlyIntoItself) {
    test::SmallGrid s;
    build_small_grid(s);
    grid_record dst;
    dst.new_heads();
    dst.edge.assign(1);
    EXPECT_STOP(g_copy(s.g, dst), "g_copy error, destination holds 1 edges, source 2");
    dst.edge.assign(2);
    EXPECT_EQ(test::output_of([&] { g_copy(s.g, dst); }),
              ld_record({"b pnt number = ", 10, 10}) + "\n" + ld_record({"b spx number = ", 8, 8}) + "\n" +
                  ld_record({"d pnt number = ", 8, 8}) + "\n" + ld_record({"d spx number = ", 7, 7}) + "\n");

    std::map<const point*, const point*> pc;
    std::map<const simplex*, const simplex*> sc;
    auto pair_all = [&](const auto& a, const auto& b) {
        for (auto [x, y] : {std::pair{a.pnt_head, b.pnt_head}, {a.axp_head, b.axp_head}}) pair_lists(x, y, pc);
        for (auto [x, y] : {std::pair{a.int_head, b.int_head}, {a.ext_head, b.ext_head}, {a.axs_head, b.axs_head}})
            pair_lists(x, y, sc);
    };
    for (int e = 1; e <= 2; ++e) pair_all(s.g.edge(e), dst.edge(e));
    pair_all(s.g, dst);
    ASSERT_EQ(pc.size(), 18u);
    ASSERT_EQ(sc.size(), 15u);

    // Every link of a copy is the copy of the source's link; null stays null.
    auto same = [](const auto& map, const auto* from, const auto* to) {
        EXPECT_EQ(to, from == nullptr ? nullptr : map.at(from));
    };
    for (const auto& [p, q] : pc) {
        EXPECT_EQ((std::tuple{q->x, q->mtr, q->edge, q->parent, q->h}), (std::tuple{p->x, p->mtr, p->edge, p->parent, p->h}));
        same(pc, p->ref, q->ref);
        same(pc, p->ppp, q->ppp);
        same(sc, p->spx, q->spx);
    }
    for (const auto& [a, b] : sc) {
        EXPECT_EQ((std::tuple{b->status, b->cmat, b->fct}), (std::tuple{a->status, a->cmat, a->fct}));
        same(sc, a->int_spx(), b->int_spx());
        same(sc, a->ext_spx(), b->ext_spx());
        for (int k = 1; k <= 3; ++k) {
            same(pc, a->opp(k).pnt, b->opp(k).pnt);
            same(sc, a->opp(k).spx, b->opp(k).spx);
        }
    }
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

}  // namespace
}  // namespace corvan
