#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/plots.hpp"
#include "support/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::SmallGrid;

// Colours of the plot's blocks, in order, and the point lines of each.
struct Block {
    int colour;
    std::vector<std::string> points;
};

std::vector<Block> blocks_of(const std::string& text) {
    std::vector<Block> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t c = line.find("% linecolor = ");
        if (c != std::string::npos) {
            out.push_back({std::stoi(line.substr(c + 14)), {}});
        } else if (!out.empty() && !line.empty()) {
            out.back().points.push_back(line);
        }
    }
    return out;
}

std::string plot(SmallGrid& s, simplex* a, simplex* b) {
    test::TempDir dir;
    {
        TextFile f(dir.file("plot"));
        g_plot(f, s.g, a, b);
    }
    return test::read_file(dir.file("plot"));
}

std::vector<int> statuses(simplex* head) {
    std::vector<int> v;
    for (simplex* s = head->next; s != head; s = s->next) v.push_back(s->status);
    return v;
}

// The internal plot of the two triangles draws their shared side and the
// four boundary segments; the external plot only sides between external
// triangles, none toward the internal ones.
TEST(GridPlot, SidesBetweenPlottedTrianglesAndTheBoundarySegments) {
    SmallGrid s;
    build_small_grid(s);
    for (int k = 1; k <= 4; ++k) s.P[k]->i = k;
    const auto before_int = statuses(s.g.int_head), before_ext = statuses(s.g.ext_head);
    const std::string text = plot(s, s.g.int_head, s.g.ext_head);

    EXPECT_EQ(text.rfind(" $ DATA = CURVE2D\n % equalscale = TRUE\n % boundary = TRUE\n\n % linecolor = ", 0), 0u);
    auto blocks = blocks_of(text);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[0].colour, colour_grid);
    // The shared side P1-P3, its ends in increasing local order.
    EXPECT_EQ(blocks[0].points, (std::vector<std::string>{"  0.0000000E+00  0.0000000E+00       1",
                                                           "  0.1000000E+01  0.1000000E+01       3"}));
    for (std::size_t k = 1; k < 5; ++k) {
        EXPECT_EQ(blocks[k].colour, colour_boundary);
        EXPECT_EQ(blocks[k].points.size(), 2u);
    }
    EXPECT_NE(text.find(" % linecolor =            1  markertype =            0\n"), std::string::npos);
    // Statuses are only borrowed while plotting.
    EXPECT_EQ(statuses(s.g.int_head), before_int);
    EXPECT_EQ(statuses(s.g.ext_head), before_ext);

    // A fifth external triangle between E1 and E2: sides P2-A1 and P2-A2.
    simplex* x = test::make_simplex(s.g.ext_head, st_external, s.P[2], s.A[2], s.A[1]);
    test::link(x, 2, s.E[1], 1, 3);
    test::link(x, 3, s.E[2], 1, 3);
    blocks = blocks_of(plot(s, s.g.ext_head, s.g.int_head));
    ASSERT_EQ(blocks.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(blocks[k].colour, k < 2 ? colour_grid : colour_boundary);
}

}  // namespace
}  // namespace corvan
