#include "input/init_data.hpp"

#include <cmath>
#include <sstream>
#include <string>

#include "geometry/curves.hpp"
#include "grid/list.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

grid_record grid;

// Works inside a fresh directory and returns to the old one afterwards.
struct InDir {
    test::TempDir dir;
    std::filesystem::path old = std::filesystem::current_path();
    InDir() { std::filesystem::current_path(dir.path()); }
    ~InDir() { std::filesystem::current_path(old); }
};

// Pieces of a boundary file.
std::string header(const std::string& counts) {
    return "Boundary of the test problem\n--\n--\n  VERTS  EDGES\n" + counts + "\n--\n--\n--\n";
}
std::string command(const std::string& word, const std::string& params) {
    return "edge\n" + word + "\n" + params + "\n--\n--\n";
}
std::string edge_topology(const std::string& ends, const std::string& data) {
    return "--\n--\n ICURV NDATA VBEG VEND\n" + ends + "\n IDATA SDATA H\n" + data + "--\n";
}

const std::string data_cmd = command("   data", "'pts.dat'\n TRANSLATION\n 1.0 0.0\n ANGLE\n 90.0");
const std::string circle_cmd = command("   circle", "5  0.0 0.0  1.0  0.0 360.0");
const std::string ellipse_cmd = command("ellipse", "5  1.0 2.0  2.0 1.0  0.0 180.0");

std::string topology(const std::string& first_edge = "1 2 1 2",
                     const std::string& first_data = "1 0.0 0.5\n1 1.0 0.25\n") {
    return "TOPOLOGY\n" + edge_topology(first_edge, first_data) +
           edge_topology("2 3 2 3", "0 0.0 0.1\n2 0.5 0.2\n3 1.0 0.3\n") +
           edge_topology("3 2 4 4", "1 0.0 1.0\n1 1.0 1.0\n") + edge_topology("4 2 3 1", "1 0.0 1.0\n1 1.0 1.0\n");
}

std::string boundary(const std::string& line = "3  0.0 0.0  2.0 0.0", const std::string& topo = topology()) {
    return header("4 4") + command("line", line) + data_cmd + circle_cmd + ellipse_cmd + topo;
}

// The problem input with the given answer typed; returns the problem name.
std::string run_input(const std::string& typed) {
    std::istringstream in(typed);
    RecordReader r(in, "standard input");
    std::string name;
    init_boundary(r, name, grid);
    return name;
}

const std::string points = "3\n0 0\n0 1\n0 2\n";

TEST(ProblemInput, AllFourCommandsGiveKnotsGeometryAndEdgeTable) {
    InDir d;
    d.dir.write("boundary.demo", boundary());
    d.dir.write("pts.dat", points);
    testing::internal::CaptureStdout();
    EXPECT_EQ(run_input("'demo case'\n"), "demo case");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\n Problem name ?\n\n Loading boundary data:\n loading geometry...\n loading topology...\n");
    EXPECT_EQ(problem_stem("demo case"), "demo");

    const std::string group_head = "         DIM      POINTS\n           2           3\n         IDC\n";
    const std::string xy = "           X           Y\n";
    EXPECT_EQ(test::read_file("knots.demo"),
              "      N_CURV\n           4\n" + group_head + "           0\n" + xy +
                  "        0.0000000000        0.0000000000\n"
                  "        1.0000000000        0.0000000000\n"
                  "        2.0000000000        0.0000000000\n" +
                  group_head + "           0\n" + xy +
                  // (0, 0) moved by (1, 0) and turned clockwise by 90 degrees is (0, -1).
                  "        0.0000000000       -1.0000000000\n"
                  "        1.0000000000       -1.0000000000\n"
                  "        2.0000000000       -1.0000000000\n"
                  "         DIM      POINTS\n           2           5\n         IDC\n           2\n" + xy +
                  "        1.0000000000        0.0000000000\n"
                  "        0.0000000000        1.0000000000\n"
                  "       -1.0000000000        0.0000000000\n"
                  "       -0.0000000000       -1.0000000000\n"
                  "        1.0000000000        0.0000000000\n"
                  // An open arc is clamped to its unit tangents.
                  "         DIM      POINTS\n           2           5\n         IDC\n           1\n"
                  "          D1          DN\n"
                  "       -0.0000000000        1.0000000000       -0.0000000000       -1.0000000000\n" + xy +
                  "        3.0000000000        2.0000000000\n"
                  "        2.4142135624        2.7071067812\n"
                  "        1.0000000000        3.0000000000\n"
                  "       -0.4142135624        2.7071067812\n"
                  "       -1.0000000000        2.0000000000\n");

    // Edge 2: a cosine law, and spacings that fill h1 and h2 but not the angle.
    ASSERT_EQ(grid.n_edge, 4);
    const edge_record& e2 = grid.edge(2);
    EXPECT_EQ(e2.idata(3), 3);
    EXPECT_EQ(e2.sdata(2), 0.5);
    EXPECT_TRUE(e2.hdata(1, 2) == 0.2 && e2.hdata(2, 2) == 0.2 && e2.hdata(3, 2) == 0.0);
    EXPECT_TRUE(grid.pnt_head && empty_list(grid.pnt_head));
}

TEST(ProblemInputStops, NameTheFileLineAndEdge) {
    InDir d;
    auto stops = [&](const std::string& text, const std::string& regex) {
        d.dir.write("boundary.bad", text);
        EXPECT_STOP(run_input("bad\n"), regex);
    };
    // The boundary file with its first occurrence of `from` replaced.
    auto changed = [](const std::string& from, const std::string& to) {
        std::string b = boundary();
        return b.replace(b.find(from), from.size(), to);
    };
    EXPECT_STOP(run_input("''\n"), "standard input, line 1:\n the problem name is empty");
    EXPECT_STOP(run_input("missing\n"), "cannot open file boundary\\.missing");
    stops(boundary(), "cannot open file pts\\.dat");
    d.dir.write("pts.dat", "1\n0 0\n");
    stops(boundary(), "pts\\.dat, line 1:\n edge 2: n = 1, a data file needs 2");

    d.dir.write("pts.dat", points);
    stops(changed("\nline\n", "\nLine\n"),
          "loading geometry\\.\\.\\.\n command not known; no action taken\n"
          " the only command known are line, ellipse, circle, and data\n$");
    stops(boundary("1  0.0 0.0  2.0 0.0"), "boundary.bad, line 11:\n edge 1: line command with n = 1,");
    stops(boundary("20000000  0.0 0.0  2.0 0.0"), "edge 1: line command with n = 20000000");
    stops(header("4 -2"), "boundary.bad, line 5:\n n_edge = -2");
    stops(header("4000000 4"), "n_vert = 4000000");
    stops(changed("5  0.0 0.0  1.0", "3  0.0 0.0  1.0"), "edge 3: circle command with n = 3, it needs 4");
    stops(changed("360.0", "0.0"), "boundary\\.bad, line 25:\n edge 3: point 2 of the command is not finite, or repeats");
    // The topology section: the end and count fields, then the spacing data.
    auto topo = [&](const std::string& ends, const std::string& data, const std::string& regex) {
        stops(boundary("3  0.0 0.0  2.0 0.0", topology(ends, data)), regex);
    };
    topo("1 1 1 2", "1 0.0 0.5\n",
         "loading topology\\.\\.\\.\n load_topology error, valid ndata >= 2; I have            1\n \\(stop\\)\n$");
    topo("1 2000000 1 2", "", "edge 1: ndata = 2000000");
    topo("5 2 1 2", "1 0.0 0.5\n1 1.0 0.5\n", "edge 1: icurv = 5 is not a curve \\(1\\.\\.4\\)");
    topo("1 2 1 9", "1 0.0 0.5\n1 1.0 0.5\n", "edge 1: vend = 9 is not a boundary vertex \\(1\\.\\.4\\)");
    topo("1 2 1 2", "1 0.0 0.5\n4 1.0 0.5\n", "edge 1, data point 2: idata = 4, the spacing law must be 1, 2 or 3");
    topo("1 2 1 2", "1 0.0 0.5\n1 1.5 0.5\n", "edge 1, data point 2: sdata must lie in \\[0, 1\\]");
    topo("1 2 1 2", "1 0.0 0.0\n1 1.0 0.5\n", "edge 1, data point 1: the spacing h must be positive");
    topo("1 3 1 2", "1 0.0 0.5\n1 0.7 0.5\n1 0.3 0.5\n", "edge 1, data point 3: sdata must exceed the previous");
}

// An open arc follows its circle between the points too: within 1e-5 for
// a quarter circle given 9 points and a half circle given 17 (a closed
// spline through them strayed by 0.02 and 0.004).
TEST(ProblemInput, OpenArcsStayOnTheirCircle) {
    InDir d;
    {
        TextFile knots("knots.arcs");
        knots.fmt(Format("(6x,a6/i12)"), {"N_CURV", 2});
        Vec<double, 2> c;
        EXPECT_EQ(gen_ell_(knots, 9, c, 1.0, 1.0, M_PI / 2, 0.0), 0);
        EXPECT_EQ(gen_ell_(knots, 17, c, 1.0, 1.0, M_PI, 0.0), 0);
    }
    RecordReader in("knots.arcs");
    new_curves(in, 1);
    for (int ic = 1; ic <= 2; ++ic) {
        for (int k = 0; k <= 400; ++k) {
            Vec<double, 2> p;
            evalc_0(ic, k / 400.0, p);
            ASSERT_NEAR(std::hypot(p(1), p(2)), 1.0, 1e-5) << "curve " << ic << ", q = " << k / 400.0;
        }
    }
}

// Fields never run together, however long the value: a line at y = -2e7
// and data points far from the origin read back exactly.
TEST(ProblemInput, FarCoordinatesReadBack) {
    InDir d;
    d.dir.write("boundary.far", boundary("3  0.0 -20000000.0  2.0 -20000000.0"));
    d.dir.write("pts.dat", "3\n-123456.0123456789 0\n0 1\n0 2\n");
    run_input("far\n");
    EXPECT_EQ(curv(1).x(2, 3), -2e7);
    EXPECT_EQ(curv(2).x(2, 1), 123455.0123456789);  // (x + 1, 0) turned clockwise by 90 degrees
}

}  // namespace
}  // namespace corvan
