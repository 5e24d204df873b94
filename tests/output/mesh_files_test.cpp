#include <sstream>
#include <vector>

#include "mesh/arrays.hpp"
#include "output/mesh_files.hpp"
#include "support/small_grid.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::SmallGrid;

std::vector<std::string> lines_of(const std::string& path) {
    std::vector<std::string> out;
    std::istringstream in(test::read_file(path));
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

struct Built {
    SmallGrid s;
    test::TempDir dir;
    Built() {
        build_small_grid(s);
        build_arrays(s.g);
    }
};

// Every boundary element gets its own two nodes: the corner P1 ends edge 2
// and begins edge 1, so nodes 8 and 1 both stand on it. A second save finds
// that numbering already made and writes the same files. A long name is cut
// to 15 characters in the name line, not in the file name.
TEST(SaveConv, MeshFilesOfTheSmallGrid) {
    Built t;
    save_conv("square", 6, t.dir.path().string());
    save_conv("square", 6, t.dir.path().string());
    test::expect_golden(t.dir.file("grid.square"), "grid.square");
    test::expect_golden(t.dir.file("nodes.square"), "nodes.square");
    save_conv("abcdefghijklmnopqrst", 20, t.dir.path().string());
    EXPECT_EQ(lines_of(t.dir.file("nodes.abcdefghijklmnopqrst"))[1],
              "#    NAME:      abcdefghijklmno" + std::string(43, ' ') + "#");
}

// Every integer field of a file widens to one column more than its widest
// number once that number has 7 characters, so numbers never run together;
// the other file keeps I7.
TEST(SaveConv, NumbersOfAMillionOrMoreWidenTheirFile) {
    auto expect_width = [](const std::string& path, std::size_t w) {
        for (const std::string& l : lines_of(path)) {
            if (l.empty() || l[0] == '#' || l.find('E') != std::string::npos) continue;
            ASSERT_EQ(l.size() % w, 0u) << path << ": " << l;
            for (std::size_t c = 0; c < l.size(); c += w) EXPECT_EQ(l[c], ' ') << path << ": " << l;
        }
    };
    Built t;
    arrays.jj(1, 1) = 1234567;
    save_conv("square", 6, t.dir.path().string());
    expect_width(t.dir.file("grid.square"), 8);
    EXPECT_NE(test::read_file(t.dir.file("grid.square")).find("\n 1234567"), std::string::npos);
    test::expect_golden(t.dir.file("nodes.square"), "nodes.square");
    arrays.iflux(1) = -10000000;  // in the boundary element and boundary node records
    save_conv("square", 6, t.dir.path().string());
    expect_width(t.dir.file("grid.square"), 10);
    expect_width(t.dir.file("nodes.square"), 10);
}

}  // namespace
}  // namespace corvan
