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
using V = std::vector<int>;

// All the integer arrays, flattened in a fixed order.
V flat(const ArraysState& a) {
    V v{a.np_d, a.ns_d, a.np_b, a.ns_b};
    for (const Array2<int>* m : {&a.jj, &a.neigh, &a.jjs_b, &a.jjs, &a.neighs_b})
        v.insert(v.end(), m->data(), m->data() + m->rows() * m->cols());
    for (const Array1<int>* m : {&a.iparent, &a.neighs, &a.iflux, &a.idir, &a.jjdir})
        v.insert(v.end(), m->data(), m->data() + m->size());
    return v;
}

std::vector<std::string> lines_of(const std::string& path) {
    std::vector<std::string> out;
    std::istringstream in(test::read_file(path));
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// Compares a written file with tests/expected/<name>; CORVAN_REGEN_GOLDEN=1
// rewrites the expected file instead.
void expect_golden(const std::string& written, const std::string& name) {
    const std::string path = std::string(CORVAN_SOURCE_DIR) + "/tests/expected/" + name;
    if (const char* r = std::getenv("CORVAN_REGEN_GOLDEN"); r != nullptr && std::string(r) == "1") {
        std::ofstream(path, std::ios::trunc) << test::read_file(written);
        return;
    }
    const auto got = lines_of(written), want = lines_of(path);
    ASSERT_FALSE(want.empty()) << "missing expected file " << path;
    std::size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    if (i < got.size() || i < want.size())
        ADD_FAILURE() << path << ": first difference at line " << i + 1 << "\n  expected: "
                      << (i < want.size() ? want[i] : "<end of file>") << "\n  written:  "
                      << (i < got.size() ? got[i] : "<end of file>");
}

struct Built {
    SmallGrid s;
    test::TempDir dir;
    Built() {
        build_small_grid(s);
        build_arrays(s.g);
    }
};

TEST(BuildArrays, NumbersAndFillsTheSmallGrid) {
    Built t;
    const ArraysState& a = arrays;
    EXPECT_EQ(a.array, &t.s.g);
    EXPECT_EQ((V{a.np_d, a.ns_d, a.np_b, a.ns_b}), (V{4, 2, 6, 4}));
    EXPECT_EQ((V{a.jj(1, 2), a.jj(2, 2), a.jj(3, 2)}), (V{1, 3, 4}));
    // Sides toward external triangles read 0, though those carried a stale number.
    EXPECT_EQ((V{a.neigh(1, 1), a.neigh(2, 1), a.neigh(3, 1), a.neigh(3, 2)}), (V{0, 2, 0, 1}));
    EXPECT_EQ(a.rr(2, 4), 1.0);
    EXPECT_EQ(a.iparent(4), 1);
    // Edge 2's nodes and elements come after all of edge 1's.
    EXPECT_EQ((V{t.s.b[2][1]->i, t.s.seg[2][1]->i}), (V{4, 3}));
    EXPECT_EQ((V{a.idir(4), a.jjdir(4), a.jjdir(6)}), (V{-2, 3, 1}));
    EXPECT_EQ(a.rr_b(1, 5), 0.5);
    EXPECT_EQ((V{a.iflux(1), a.iflux(2), a.iflux(3), a.iflux(4)}), (V{1, 1, 2, 2}));
    EXPECT_EQ((V{a.neighs(1), a.neighs(3), a.jjs_b(1, 3), a.jjs(2, 4)}), (V{1, 2, 4, 1}));
    // Beyond an edge's end nodes lie far segments (stale 77): 0.
    EXPECT_EQ((V{a.neighs_b(1, 1), a.neighs_b(2, 1), a.neighs_b(1, 2), a.neighs_b(2, 2)}), (V{2, 0, 0, 1}));
    EXPECT_EQ((V{a.neighs_b(1, 3), a.neighs_b(2, 3), a.neighs_b(1, 4), a.neighs_b(2, 4)}), (V{4, 0, 0, 3}));

    const V first = flat(arrays);
    build_arrays(t.s.g);
    EXPECT_EQ(flat(arrays), first);
}

TEST(BuildArrays, MissingVertexAndMissingInternalTriangleWarnAndGiveZero) {
    SmallGrid s;
    build_small_grid(s);
    s.T[2]->opp(3).pnt = nullptr;
    s.seg[2][2]->int_spx = nullptr;
    EXPECT_EQ(test::output_of([&] { build_arrays(s.g); }),
              " WARNING: point not associated (s_vect_domain)\n Boundary simplex without neighs() found\n");
    EXPECT_EQ((V{arrays.jj(3, 2), arrays.neighs(4), arrays.jjs(1, 4)}), (V{0, 0, 4}));
}

TEST(SaveConv, MeshFilesOfTheSmallGrid) {
    Built t;
    save_conv("square", 6, t.dir.path().string());
    expect_golden(t.dir.file("grid.square"), "grid.square");
    expect_golden(t.dir.file("nodes.square"), "nodes.square");
}

TEST(SaveConv, EveryBoundaryElementOwnsTwoNodes) {
    Built t;
    save_conv("sq", 2, t.dir.path().string());
    EXPECT_EQ(arrays.np_b, 8);
    EXPECT_EQ((V{arrays.jjs_b(1, 4), arrays.jjs_b(2, 4)}), (V{7, 8}));
    // The corner P1 ends edge 2 and begins edge 1: nodes 8 and 1 stand on it.
    EXPECT_EQ(arrays.jjdir.size(), 8);
    EXPECT_EQ((V{arrays.jjdir(1), arrays.jjdir(2), arrays.jjdir(3), arrays.jjdir(8)}), (V{1, 2, 2, 1}));
    EXPECT_EQ(lines_of(t.dir.file("nodes.sq")).back(), "      8      1      2");
    // A second save finds its own numbering and writes the same file.
    const std::string first = test::read_file(t.dir.file("nodes.sq"));
    save_conv("sq", 2, t.dir.path().string());
    EXPECT_EQ(test::read_file(t.dir.file("nodes.sq")), first);
}

TEST(SaveConv, CommentLinesAndTheNameLine) {
    Built t;
    const std::string tail = std::string(43, ' ') + "#";
    save_conv("abcdefghijklmnopqrst", 20, t.dir.path().string());
    int comments = 0;
    for (const char* f : {"grid.abcdefghijklmnopqrst", "nodes.abcdefghijklmnopqrst"}) {
        const auto lines = lines_of(t.dir.file(f));
        EXPECT_EQ(lines[1], "#    NAME:      abcdefghijklmno" + tail);
        for (const std::string& l : lines) {
            if (l.empty() || l[0] != '#') continue;
            ++comments;
            EXPECT_EQ(l.size(), l.rfind("#  NE_D", 0) == 0 ? 68u : 75u) << f << ": " << l;
        }
    }
    EXPECT_EQ(comments, 18 + 15);
    // The name stops at its first blank, in the file name and the NAME line.
    save_conv("duct 2", 4, t.dir.path().string());
    EXPECT_EQ(lines_of(t.dir.file("grid.duct"))[1], "#    NAME:      " + std::string(11, ' ') + "duct" + tail);
}

// Coordinates and integers read as the edit descriptors E18.9 and I7 write them.
TEST(SaveConv, NodeFieldsMatchTheFixedFormats) {
    Built t;
    const double xs[] = {0.5, -2.0, 0.0, -0.0, 1.0 / 3, -123456.789, 9.9999999999e99, -2.5e-200, 0.999999999951, 5e-324};
    const Format e18("(3e18.9)");
    for (std::size_t k = 0; k + 1 < std::size(xs); ++k) {
        arrays.rr(1, 1) = xs[k];
        arrays.rr(2, 1) = xs[k + 1];
        save_conv("f", 1, t.dir.path().string());
        const auto nodes = lines_of(t.dir.file("nodes.f"));
        EXPECT_EQ(nodes[11], "      1");
        EXPECT_EQ(nodes[12] + "\n", e18.apply({xs[k], xs[k + 1]}));
    }
    arrays.jj(1, 1) = 12345678;
    arrays.jj(2, 1) = -999999;
    save_conv("f", 1, t.dir.path().string());
    EXPECT_EQ(lines_of(t.dir.file("grid.f"))[13], "*******-999999      3");
}

}  // namespace
}  // namespace corvan
