#include <gtest/gtest.h>

#include <list>
#include <random>
#include <vector>

#include "grid/list.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

TEST(List, NewHeadIsEmptyAndPopsItself) {
    point* h = newhead_point();
    EXPECT_EQ(numberof_point(h), 0);
    EXPECT_EQ(poptop_point(h), h);
    EXPECT_EQ(popbot_point(h), h);
    simplex* s = newhead_simplex();
    EXPECT_EQ(numberof_simplex(s), 0);
    EXPECT_EQ(poptop_simplex(s), s);
}

// Random move/join sequences against a model: links stay circular and
// consistent and every list holds what the model says, in order.
TEST(List, RandomMovesAndJoinsMatchModel) {
    std::mt19937 rng(7);
    constexpr int kLists = 4, kRecords = 40;
    std::vector<simplex*> heads;
    std::vector<std::list<simplex*>> model(kLists);
    for (int l = 0; l < kLists; ++l) heads.push_back(newhead_simplex());
    std::vector<std::pair<simplex*, int>> recs;
    for (int r = 0; r < kRecords; ++r) {
        simplex* s = new_simplex();
        pushtop_simplex(heads[0], s);
        model[0].push_front(s);
    }
    auto find_list = [&](simplex* s) {
        for (int l = 0; l < kLists; ++l)
            for (simplex* t : model[l])
                if (t == s) return l;
        return -1;
    };
    std::vector<simplex*> all(model[0].begin(), model[0].end());
    for (int step = 0; step < 2000; ++step) {
        const int op = static_cast<int>(rng() % 5);
        const int dst = static_cast<int>(rng() % kLists);
        if (op < 2) {
            simplex* s = all[rng() % all.size()];
            const int src = find_list(s);
            model[src].remove(s);
            if (op == 0) {
                movetop_simplex(heads[dst], s);
                model[dst].push_front(s);
            } else {
                movebot_simplex(heads[dst], s);
                model[dst].push_back(s);
            }
        } else if (op == 2 || op == 3) {
            const int src = static_cast<int>(rng() % kLists);
            if (src == dst) continue;
            if (op == 2) {
                jointop_simplex(heads[dst], heads[src]);
                model[dst].splice(model[dst].begin(), model[src]);
            } else {
                joinbot_simplex(heads[dst], heads[src]);
                model[dst].splice(model[dst].end(), model[src]);
            }
        } else {
            ASSERT_EQ(numberof_simplex(heads[dst]), static_cast<int>(model[dst].size()));
        }
    }
    for (int l = 0; l < kLists; ++l) {
        std::vector<simplex*> got;
        for (simplex* s = heads[l]->next; s != heads[l]; s = s->next) {
            ASSERT_EQ(s->next->prev, s);
            got.push_back(s);
        }
        EXPECT_EQ(got, std::vector<simplex*>(model[l].begin(), model[l].end()));
    }
}

TEST(ListDeathTest, ExtractStopsOnUnlinkedAndSelfLinkedRecords) {
    EXPECT_STOP(movetop_point(newhead_point(), new_point()), "extract_point error, unlinked point\n \\(stop\\)");
    EXPECT_STOP(extract_simplex(new_simplex()), "extract_simplex error, unlinked simplex\n \\(stop\\)");
    EXPECT_STOP(extract_point(newhead_point()), "extract_point error, list is empty\n \\(stop\\)");
    EXPECT_STOP(movebot_simplex(newhead_simplex(), newhead_simplex()),
                "extract_simplex error, list is empty\n \\(stop\\)");
}

}  // namespace
}  // namespace corvan
