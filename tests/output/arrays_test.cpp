#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "output/arrays.hpp"
#include "output/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::SmallGrid;

std::vector<int> col(const Array2<int>& a, int j) {
    std::vector<int> v;
    for (int i = 1; i <= a.rows(); ++i) v.push_back(a(i, j));
    return v;
}
std::vector<int> all(const Array1<int>& a) {
    std::vector<int> v;
    for (int i = 1; i <= a.size(); ++i) v.push_back(a(i));
    return v;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// Compares a written file with its expected text under tests/expected/;
// with CORVAN_REGEN_GOLDEN=1 the expected file is rewritten instead.
void expect_golden(const std::string& written, const std::string& expected_name) {
    const std::string path = std::string(CORVAN_SOURCE_DIR) + "/tests/expected/" + expected_name;
    const std::string got = test::read_file(written);
    const char* regen = std::getenv("CORVAN_REGEN_GOLDEN");
    if (regen != nullptr && std::string(regen) == "1") {
        std::ofstream(path, std::ios::trunc) << got;
        return;
    }
    const std::string want = test::read_file(path);
    ASSERT_FALSE(want.empty()) << "missing expected file " << path;
    if (got == want) return;
    const auto g = lines_of(got), w = lines_of(want);
    std::size_t i = 0;
    while (i < g.size() && i < w.size() && g[i] == w[i]) ++i;
    ADD_FAILURE() << path << ": first difference at line " << i + 1 << "\n  expected: "
                  << (i < w.size() ? w[i] : "<end of file>") << "\n  written:  "
                  << (i < g.size() ? g[i] : "<end of file>");
}

TEST(BuildArrays, NumbersAndFillsTheSmallGrid) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    const ArraysState& a = arrays;
    EXPECT_EQ(a.array, &s.g);
    EXPECT_EQ(a.np_d, 4);
    EXPECT_EQ(a.ns_d, 2);
    EXPECT_EQ(a.np_b, 6);
    EXPECT_EQ(a.ns_b, 4);

    EXPECT_EQ(col(a.jj, 1), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(col(a.jj, 2), (std::vector<int>{1, 3, 4}));
    // Sides toward external triangles read 0, although those carried a stale number.
    EXPECT_EQ(col(a.neigh, 1), (std::vector<int>{0, 2, 0}));
    EXPECT_EQ(col(a.neigh, 2), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(a.rr(1, 3), 1.0);
    EXPECT_EQ(a.rr(2, 3), 1.0);
    EXPECT_EQ(a.rr(1, 4), 0.0);
    EXPECT_EQ(a.rr(2, 4), 1.0);
    EXPECT_EQ(all(a.iparent), (std::vector<int>{0, 0, 0, 1}));

    // Edge 2's nodes and elements come after all of edge 1's.
    EXPECT_EQ(s.b[2][1]->i, 4);
    EXPECT_EQ(s.seg[2][1]->i, 3);
    EXPECT_EQ(all(a.idir), (std::vector<int>{-1, 1, -1, -2, 2, -2}));
    EXPECT_EQ(all(a.jjdir), (std::vector<int>{1, 2, 3, 3, 4, 1}));
    EXPECT_EQ(a.rr_b(1, 2), 0.5);
    EXPECT_EQ(a.rr_b(1, 6), 1.0);
    EXPECT_EQ(all(a.iflux), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(all(a.neighs), (std::vector<int>{1, 1, 2, 2}));
    EXPECT_EQ(col(a.jjs_b, 3), (std::vector<int>{4, 5}));
    EXPECT_EQ(col(a.jjs, 4), (std::vector<int>{4, 1}));
    // The far segments beyond an edge's end nodes (stale number 77) read 0.
    EXPECT_EQ(col(a.neighs_b, 1), (std::vector<int>{2, 0}));
    EXPECT_EQ(col(a.neighs_b, 2), (std::vector<int>{0, 1}));
    EXPECT_EQ(col(a.neighs_b, 3), (std::vector<int>{4, 0}));
    EXPECT_EQ(col(a.neighs_b, 4), (std::vector<int>{0, 3}));
}

TEST(BuildArrays, SecondCallGivesIdenticalArrays) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    const ArraysState first = arrays;
    build_arrays(s.g);
    const ArraysState& a = arrays;
    EXPECT_EQ(a.np_d, first.np_d);
    EXPECT_EQ(a.np_b, first.np_b);
    for (int e = 1; e <= a.ns_d; ++e) {
        EXPECT_EQ(col(a.jj, e), col(first.jj, e));
        EXPECT_EQ(col(a.neigh, e), col(first.neigh, e));
    }
    for (int k = 1; k <= a.ns_b; ++k) {
        EXPECT_EQ(col(a.jjs_b, k), col(first.jjs_b, k));
        EXPECT_EQ(col(a.jjs, k), col(first.jjs, k));
        EXPECT_EQ(col(a.neighs_b, k), col(first.neighs_b, k));
    }
    EXPECT_EQ(all(a.neighs), all(first.neighs));
    EXPECT_EQ(all(a.iflux), all(first.iflux));
    EXPECT_EQ(all(a.idir), all(first.idir));
    EXPECT_EQ(all(a.jjdir), all(first.jjdir));
    EXPECT_EQ(all(a.iparent), all(first.iparent));
}

TEST(BuildArrays, MissingVertexAndMissingInternalTriangleWarnAndGiveZero) {
    SmallGrid s;
    build_small_grid(s);
    s.T[2]->opp(3).pnt = nullptr;
    s.seg[2][2]->int_spx = nullptr;
    testing::internal::CaptureStdout();
    build_arrays(s.g);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " WARNING: point not associated (s_vect_domain)\n"
              " Boundary simplex without neighs() found\n");
    EXPECT_EQ(col(arrays.jj, 2), (std::vector<int>{1, 3, 0}));
    EXPECT_EQ(arrays.neighs(4), 0);
    EXPECT_EQ(col(arrays.jjs, 4), (std::vector<int>{4, 1}));  // processed further
}

// The grid and node files of the small grid, compared whole.
TEST(SaveConv, MeshFilesOfTheSmallGrid) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    test::TempDir dir;
    save_conv("square", 6, dir.path().string());
    expect_golden(dir.file("grid.square"), "grid.square");
    expect_golden(dir.file("nodes.square"), "nodes.square");
}

TEST(SaveConv, EveryBoundaryElementOwnsTwoNodes) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    test::TempDir dir;
    save_conv("sq", 2, dir.path().string());
    const ArraysState& a = arrays;
    EXPECT_EQ(a.np_b, 8);
    for (int k = 1; k <= a.ns_b; ++k) EXPECT_EQ(col(a.jjs_b, k), (std::vector<int>{2 * k - 1, 2 * k}));
    // Node 8 (end 2 of element 4) and node 1 stand on the shared corner P1.
    EXPECT_EQ(all(a.jjdir), (std::vector<int>{1, 2, 2, 3, 3, 4, 4, 1}));
    const auto nodes = lines_of(test::read_file(dir.file("nodes.sq")));
    EXPECT_EQ(nodes.back(), "      8      1      2");
    EXPECT_EQ(nodes[4], "      2      4      8");

    // A second save finds its own numbering and writes the same files.
    const std::string grid1 = test::read_file(dir.file("grid.sq"));
    const std::string nodes1 = test::read_file(dir.file("nodes.sq"));
    save_conv("sq", 2, dir.path().string());
    EXPECT_EQ(test::read_file(dir.file("grid.sq")), grid1);
    EXPECT_EQ(test::read_file(dir.file("nodes.sq")), nodes1);
}

TEST(SaveConv, CommentLinesHaveTheirFixedLengths) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    test::TempDir dir;
    save_conv("a_rather_long_problem_name", 26, dir.path().string());
    int comments = 0;
    for (const char* f : {"grid.a_rather_long_problem_name", "nodes.a_rather_long_problem_name"}) {
        for (const std::string& l : lines_of(test::read_file(dir.file(f)))) {
            if (l.empty() || l[0] != '#') continue;
            ++comments;
            const std::size_t want = l.rfind("#  NE_D", 0) == 0 ? 68 : 75;
            EXPECT_EQ(l.size(), want) << f << ": " << l;
            EXPECT_EQ(l.back(), '#') << l;
        }
    }
    EXPECT_EQ(comments, 18 + 15);
}

TEST(SaveConv, NameLineHoldsTheNameInFifteenColumns) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    test::TempDir dir;
    const std::string tail(43, ' ');
    save_conv("duct", 4, dir.path().string());
    EXPECT_EQ(lines_of(test::read_file(dir.file("grid.duct")))[1],
              "#    NAME:      " + std::string(11, ' ') + "duct" + tail + "#");
    save_conv("abcdefghijklmnopqrst", 20, dir.path().string());
    EXPECT_EQ(lines_of(test::read_file(dir.file("nodes.abcdefghijklmnopqrst")))[1],
              "#    NAME:      abcdefghijklmno" + tail + "#");
    // The name ends at its first blank, in the file name and in the NAME line.
    save_conv("wing tip", 4, dir.path().string());
    EXPECT_EQ(lines_of(test::read_file(dir.file("grid.wing")))[1],
              "#    NAME:      " + std::string(11, ' ') + "wing" + tail + "#");
}

// Node coordinates and integer fields read exactly as the edit descriptors
// E18.9 and I7 write them, including the extremes.
TEST(SaveConv, NodeFieldsMatchTheFixedFormats) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    const double xs[] = {0.5, -2.0, 0.0, -0.0, 1.0 / 3.0, -123456.789, 9.9999999999e99, 1e100,
                         -2.5e-200, 0.999999999951, 5e-324};
    test::TempDir dir;
    const Format e18("(3e18.9)");
    for (std::size_t k = 0; k + 1 < sizeof xs / sizeof xs[0]; ++k) {
        arrays.rr(1, 1) = xs[k];
        arrays.rr(2, 1) = xs[k + 1];
        save_conv("f", 1, dir.path().string());
        const auto nodes = lines_of(test::read_file(dir.file("nodes.f")));
        EXPECT_EQ(nodes[11], "      1");
        EXPECT_EQ(nodes[12] + "\n", e18.apply({xs[k], xs[k + 1]}));
    }
    arrays.jj(1, 1) = 12345678;
    arrays.jj(2, 1) = -999999;
    save_conv("f", 1, dir.path().string());
    const auto grid = lines_of(test::read_file(dir.file("grid.f")));
    EXPECT_EQ(grid[13], "*******-999999      3");
}

TEST(SaveConv, GridWithoutBoundarySegmentsWritesHeadersOnly) {
    SmallGrid s;
    build_small_grid(s);
    for (int e = 1; e <= 2; ++e) s.g.edge(e).int_head = newhead_simplex();
    build_arrays(s.g);
    test::TempDir dir;
    save_conv("nb", 2, dir.path().string());
    const auto grid = lines_of(test::read_file(dir.file("grid.nb")));
    EXPECT_EQ(grid[4], "      2      0");
    EXPECT_EQ(grid.back(), "#   MA_M                                                                  #");
    const auto nodes = lines_of(test::read_file(dir.file("nodes.nb")));
    EXPECT_EQ(nodes[4], "      2      4      0");
    EXPECT_EQ(nodes.back(), "#   IDX  JD_JB  BOUND                                                     #");
}

TEST(SaveConv, UnwritableDirectoryStops) {
    SmallGrid s;
    build_small_grid(s);
    build_arrays(s.g);
    EXPECT_STOP(save_conv("x", 1, "/nonexistent/corvan"), "Output error: cannot open file /nonexistent/corvan/grid.x");
}

}  // namespace
}  // namespace corvan
