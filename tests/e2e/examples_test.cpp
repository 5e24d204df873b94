// Runs the corvan program on the bundled examples and checks the mesh files
// it writes: a golden file says "unchanged", the invariants say "right".
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace {

namespace fs = std::filesystem;
using corvan::test::read_file;
using corvan::test::TempDir;

struct RunResult {
    int status = -1;
    std::string out;
};

const fs::path kExamples = fs::path(CORVAN_SOURCE_DIR) / "examples";
const fs::path kInputs = fs::path(CORVAN_SOURCE_DIR) / "tests" / "inputs" / "e2e";

// Copies the files of `from` (none when empty) into dir and runs corvan
// there: with the problem name on standard input, or after the options.
RunResult run_corvan(const TempDir& dir, const std::string& name, const fs::path& from = kExamples,
                     const std::string& options = "") {
    if (!from.empty()) {
        for (const auto& entry : fs::directory_iterator(from)) {
            fs::copy_file(entry.path(), dir.path() / entry.path().filename(), fs::copy_options::overwrite_existing);
        }
    }
    const std::string cmd = "cd '" + dir.path().string() + "' && echo " + name + " | '" + CORVAN_EXE + "' " +
                            (options.empty() ? "" : options + " " + name) + " > run.out 2> run.err";
    RunResult r;
    const int rc = std::system(cmd.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = read_file(dir.file("run.out"));
    return r;
}

// Non-comment lines of a mesh file, split into numbers.
std::vector<std::vector<double>> data_lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::vector<double>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '#') continue;
        std::istringstream ss(line);
        std::vector<double> v;
        double x;
        while (ss >> x) v.push_back(x);
        rows.push_back(v);
    }
    return rows;
}

struct Mesh {
    std::vector<std::array<double, 2>> xy;        // domain nodes 1..np_d at index - 1
    std::vector<std::array<int, 3>> tri, nb;      // triangles and their neighbours
    std::vector<std::array<int, 2>> seg;          // boundary elements as domain node pairs
    std::vector<int> seg_edge;
};

Mesh read_mesh(const TempDir& dir, const std::string& name) {
    Mesh m;
    const auto g = data_lines(dir.file("grid." + name));
    const auto n = data_lines(dir.file("nodes." + name));
    EXPECT_FALSE(g.empty());
    EXPECT_FALSE(n.empty());
    if (g.empty() || n.empty()) return m;
    const int ns_d = static_cast<int>(g[0][0]), ns_b = static_cast<int>(g[0][1]);
    const int np_d = static_cast<int>(n[0][1]), np_b = static_cast<int>(n[0][2]);
    EXPECT_EQ(np_b, 2 * ns_b);
    std::size_t r = 1;
    for (int e = 1; e <= ns_d; ++e, r += 3) {
        EXPECT_EQ(static_cast<int>(g[r][0]), e);
        m.tri.push_back({static_cast<int>(g[r + 1][0]), static_cast<int>(g[r + 1][1]), static_cast<int>(g[r + 1][2])});
        m.nb.push_back({static_cast<int>(g[r + 2][0]), static_cast<int>(g[r + 2][1]), static_cast<int>(g[r + 2][2])});
    }
    std::vector<std::array<int, 2>> bnodes;
    for (int k = 1; k <= ns_b; ++k, r += 3) {
        EXPECT_EQ(static_cast<int>(g[r][0]), k);
        m.seg_edge.push_back(static_cast<int>(g[r][2]));
        bnodes.push_back({static_cast<int>(g[r + 1][0]), static_cast<int>(g[r + 1][1])});
    }
    std::size_t q = 1;
    for (int p = 1; p <= np_d; ++p, q += 2) m.xy.push_back({n[q + 1][0], n[q + 1][1]});
    std::vector<int> jd(static_cast<std::size_t>(np_b) + 1);
    for (int b = 1; b <= np_b; ++b, ++q) jd[static_cast<std::size_t>(b)] = static_cast<int>(n[q][1]);
    for (const auto& bn : bnodes) m.seg.push_back({jd[static_cast<std::size_t>(bn[0])], jd[static_cast<std::size_t>(bn[1])]});
    return m;
}

// A coordinate as the plot files write it (E15.7), for comparisons.
std::string corvan_fmt(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6E", v);
    return buf;
}

double area2(const Mesh& m, const std::array<int, 3>& t) {
    const auto& a = m.xy[static_cast<std::size_t>(t[0] - 1)];
    const auto& b = m.xy[static_cast<std::size_t>(t[1] - 1)];
    const auto& c = m.xy[static_cast<std::size_t>(t[2] - 1)];
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

// The structural checks every mesh must pass.
void expect_valid_mesh(const Mesh& m) {
    ASSERT_FALSE(m.tri.empty());
    double area = 0.0;
    std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> sides;  // side -> (element, local)
    for (std::size_t e = 0; e < m.tri.size(); ++e) {
        const double a2 = area2(m, m.tri[e]);
        EXPECT_GT(a2, 0.0) << "element " << e + 1 << " is not positive";
        area += 0.5 * a2;
        for (int k = 0; k < 3; ++k) {
            int p = m.tri[e][static_cast<std::size_t>((k + 1) % 3)], q = m.tri[e][static_cast<std::size_t>((k + 2) % 3)];
            if (p > q) std::swap(p, q);
            sides[{p, q}].push_back({static_cast<int>(e) + 1, k});
        }
    }
    std::map<std::pair<int, int>, int> boundary;
    double polygon = 0.0;
    for (const auto& s : m.seg) {
        boundary[{std::min(s[0], s[1]), std::max(s[0], s[1])}]++;
        const auto& a = m.xy[static_cast<std::size_t>(s[0] - 1)];
        const auto& b = m.xy[static_cast<std::size_t>(s[1] - 1)];
        polygon += 0.5 * (a[0] * b[1] - b[0] * a[1]);
    }
    for (const auto& [side, users] : sides) {
        ASSERT_LE(users.size(), 2u) << "side " << side.first << "-" << side.second << " shared by more than two";
        if (users.size() == 2) {
            const auto [e1, k1] = users[0];
            const auto [e2, k2] = users[1];
            EXPECT_EQ(m.nb[static_cast<std::size_t>(e1 - 1)][static_cast<std::size_t>(k1)], e2);
            EXPECT_EQ(m.nb[static_cast<std::size_t>(e2 - 1)][static_cast<std::size_t>(k2)], e1);
            EXPECT_EQ(boundary.count(side), 0u) << "interior side listed as boundary";
        } else {
            const auto [e1, k1] = users[0];
            EXPECT_EQ(m.nb[static_cast<std::size_t>(e1 - 1)][static_cast<std::size_t>(k1)], 0);
            EXPECT_EQ(boundary[side], 1) << "side without neighbour is not exactly one boundary element";
        }
    }
    for (const auto& [side, count] : boundary) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(sides.count(side), 1u) << "boundary element is not a triangle side";
    }
    // The domain lies to the right of the boundary, so the boundary's signed
    // area is negative and equals the triangles' total.
    EXPECT_NEAR(area, -polygon, 1e-9 * std::max(1.0, area));
}

std::vector<std::array<double, 2>> plot_points(const std::string& path, int colour);

// Every boundary element appears exactly once among the colour-1 blocks of
// the grid plot, at its domain nodes.
void expect_boundary_plotted_once(const TempDir& dir, const std::string& name, const Mesh& m) {
    const auto pts = plot_points(dir.file("gridplot." + name), 1);
    ASSERT_EQ(pts.size(), 2 * m.seg.size());
    std::map<std::pair<std::array<double, 2>, std::array<double, 2>>, int> plotted, meshed;
    auto key = [](std::array<double, 2> a, std::array<double, 2> b) { return a < b ? std::pair{a, b} : std::pair{b, a}; };
    auto round7 = [](const std::array<double, 2>& p) {
        // The plot keeps 7 digits.
        return std::array<double, 2>{std::stod(corvan_fmt(p[0])), std::stod(corvan_fmt(p[1]))};
    };
    for (std::size_t k = 0; k < pts.size(); k += 2) plotted[key(pts[k], pts[k + 1])]++;
    for (const auto& s : m.seg) {
        meshed[key(round7(m.xy[static_cast<std::size_t>(s[0] - 1)]), round7(m.xy[static_cast<std::size_t>(s[1] - 1)]))]++;
    }
    EXPECT_EQ(plotted, meshed);
    for (const auto& [seg, n] : plotted) EXPECT_EQ(n, 1);
}

// The smallest and largest target spacing of each boundary edge (index
// edge - 1), read from section 3 of a boundary file: every record is a line.
std::vector<std::pair<double, double>> edge_spacings(const std::string& path) {
    std::istringstream in(read_file(path));
    std::vector<std::string> rec;
    for (std::string l; std::getline(in, l);) rec.push_back(l);
    std::size_t r = 4;
    int n_vert = 0, n_edge = 0;
    std::istringstream(rec[r++]) >> n_vert >> n_edge;
    r += 3;
    for (int e = 0; e < n_edge; ++e) r += (rec[r + 1].rfind("dat", rec[r + 1].find_first_not_of(' ')) != std::string::npos ? 5 : 1) + 4;
    ++r;
    std::vector<std::pair<double, double>> h;
    for (int e = 0; e < n_edge; ++e) {
        r += 3;
        int icurv = 0, ndata = 0;
        std::istringstream(rec[r++]) >> icurv >> ndata;
        ++r;
        std::pair<double, double> range{1e300, 0.0};
        for (int j = 0; j < ndata; ++j) {
            int law = 0;
            double s = 0.0, hj = 0.0;
            std::istringstream(rec[r++]) >> law >> s >> hj;
            range = {std::min(range.first, hj), std::max(range.second, hj)};
        }
        ++r;
        h.push_back(range);
    }
    return h;
}

// Boundary points lie at steps of at most one target spacing along their
// curve, and at least half of one unless a segment was halved to let the
// domain grid conform (stitching); a chord is never longer than its arc.
void expect_boundary_spacing(const Mesh& m, const std::vector<std::pair<double, double>>& h, double least_share) {
    for (std::size_t k = 0; k < m.seg.size(); ++k) {
        const auto& a = m.xy[static_cast<std::size_t>(m.seg[k][0] - 1)];
        const auto& b = m.xy[static_cast<std::size_t>(m.seg[k][1] - 1)];
        const double len = std::hypot(b[0] - a[0], b[1] - a[1]);
        const auto [lo, hi] = h[static_cast<std::size_t>(m.seg_edge[k] - 1)];
        EXPECT_LE(len, hi * (1.0 + 1e-9)) << "boundary element " << k + 1 << " of edge " << m.seg_edge[k];
        EXPECT_GE(len, least_share * lo) << "boundary element " << k + 1 << " of edge " << m.seg_edge[k];
    }
}

class Examples : public ::testing::TestWithParam<std::string> {};

TEST_P(Examples, RunWritesAValidMesh) {
    TempDir dir;
    const RunResult r = run_corvan(dir, GetParam());
    ASSERT_EQ(r.status, 0) << r.out;
    for (const char* f : {"knots.", "geometry.", "grid.", "nodes."}) {
        EXPECT_TRUE(fs::exists(dir.file(std::string(f) + GetParam()))) << f;
    }
    // The consistency check and the numbering report nothing.
    for (const char* problem : {"fault", "WARNING", "without neighs", "simplex_center warning", "Research failed"}) {
        EXPECT_EQ(r.out.find(problem), std::string::npos) << problem;
    }
    const Mesh m = read_mesh(dir, GetParam());
    expect_valid_mesh(m);
    // The slot's walls are stitched: a halved segment may be a quarter spacing.
    expect_boundary_spacing(m, edge_spacings(dir.file("boundary." + GetParam())), GetParam() == "slot" ? 0.2 : 0.45);
    for (const char* f : {"gridplot.", "backplot.", "extplot."}) {
        EXPECT_TRUE(fs::exists(dir.file(std::string(f) + GetParam()))) << f;
    }
    expect_boundary_plotted_once(dir, GetParam(), m);
}

INSTANTIATE_TEST_SUITE_P(All, Examples, ::testing::Values("square", "hole", "slot"));

// The name on the command line gives the files the name typed on standard
// input gives; a wrong command line exits 2 with a usage line and writes
// nothing; --help and --version answer on standard output.
TEST(CommandLine, NameArgumentAndUsage) {
    TempDir typed, given;
    ASSERT_EQ(run_corvan(typed, "slot").status, 0);
    run_corvan(given, "slot");
    for (const char* f : {"grid.slot", "nodes.slot"}) fs::remove(given.file(f));
    const std::string cd = "cd '" + given.path().string() + "' && '" + CORVAN_EXE + "' ";
    ASSERT_EQ(std::system((cd + "slot < /dev/null > run.out").c_str()), 0);
    for (const char* f : {"grid.slot", "nodes.slot"}) EXPECT_EQ(read_file(typed.file(f)), read_file(given.file(f))) << f;
    fs::remove(given.file("grid.slot"));
    for (const char* bad : {"--frobnicate slot", "slot extra", "--export stl slot"}) {
        const int rc = std::system((cd + bad + " < /dev/null > run.out 2> run.err").c_str());
        EXPECT_EQ(WEXITSTATUS(rc), 2) << bad;
        EXPECT_NE(read_file(given.file("run.err")).find("usage: corvan"), std::string::npos) << bad;
        EXPECT_FALSE(fs::exists(given.file("grid.slot"))) << bad;
    }
    EXPECT_EQ(std::system((cd + "--help > run.out").c_str()), 0);
    EXPECT_NE(read_file(given.file("run.out")).find("--optimize"), std::string::npos);
    EXPECT_EQ(std::system((cd + "--version > run.out").c_str()), 0);
    EXPECT_EQ(read_file(given.file("run.out")).rfind("corvan ", 0), 0u);
}

// The mesh files are pinned whole: the unit square's boundary
// triangulation, the graded square (front, a background point, a Steiner
// point, smoothing), the plate with a hole and the slot (stitching).
// CORVAN_REGEN_GOLDEN=1 rewrites them deliberately.
TEST(Golden, MeshFilesAreUnchanged) {
    for (const auto& [name, from] : {std::pair{"unit", kInputs}, {"square", kExamples}, {"hole", kExamples},
                                     {"slot", kExamples}}) {
        TempDir dir;
        ASSERT_EQ(run_corvan(dir, name, from).status, 0) << name;
        for (const char* f : {"grid.", "nodes."}) {
            corvan::test::expect_golden(dir.file(f + std::string(name)), "e2e/" + (f + std::string(name)));
        }
    }
}

// Smallest angle (degrees) and radius ratio 2r/R of a triangle, computed
// here independently of the program's measures.
std::pair<double, double> shape(const Mesh& m, const std::array<int, 3>& t) {
    double len[3], ang[3];
    for (int k = 0; k < 3; ++k) {
        const auto& a = m.xy[static_cast<std::size_t>(t[static_cast<std::size_t>((k + 1) % 3)] - 1)];
        const auto& b = m.xy[static_cast<std::size_t>(t[static_cast<std::size_t>((k + 2) % 3)] - 1)];
        len[k] = std::hypot(b[0] - a[0], b[1] - a[1]);
    }
    for (int k = 0; k < 3; ++k) {
        const double a = len[k], b = len[(k + 1) % 3], c = len[(k + 2) % 3];
        ang[k] = std::acos(std::clamp((b * b + c * c - a * a) / (2 * b * c), -1.0, 1.0)) * 180.0 / M_PI;
    }
    const double s = 0.5 * (len[0] + len[1] + len[2]);
    const double area = 0.5 * area2(m, t);
    return {std::min({ang[0], ang[1], ang[2]}), 2.0 * (area / s) / (len[0] * len[1] * len[2] / (4.0 * area))};
}

// With --optimize, graded problems that leave poorly shaped triangles in the
// plain run (a far field around an airfoil with spacing growing a
// hundredfold, an L-shape graded by geometric and cosine laws, a stitched
// narrow slot) meet the quality targets: smallest angle at least 30 degrees
// away from boundary corners, first percentile at least 35, mean radius
// ratio at least 0.97; the boundary elements are those of the plain run,
// the triangle count stays within 15 %, and the run repeats exactly.
TEST(Optimize, GradedProblemsMeetTheQualityTargets) {
    const fs::path inputs = fs::path(CORVAN_SOURCE_DIR) / "tests" / "inputs" / "opt";
    for (const std::string name : {"airfoil", "lshape", "narrow"}) {
        TempDir plain, opt, again;
        ASSERT_EQ(run_corvan(plain, name, inputs / name).status, 0) << name;
        const RunResult r = run_corvan(opt, name, inputs / name, "--optimize");
        ASSERT_EQ(r.status, 0) << name << r.out;
        EXPECT_NE(r.out.find("smallest angle before"), std::string::npos);
        const Mesh a = read_mesh(plain, name), b = read_mesh(opt, name);
        expect_valid_mesh(b);
        ASSERT_EQ(a.seg.size(), b.seg.size()) << name;
        std::map<int, int> edges_at;  // node -> number of boundary edges meeting there
        for (std::size_t k = 0; k < b.seg.size(); ++k) {
            for (int j = 0; j < 2; ++j) {
                EXPECT_EQ(a.xy[static_cast<std::size_t>(a.seg[k][static_cast<std::size_t>(j)] - 1)],
                          b.xy[static_cast<std::size_t>(b.seg[k][static_cast<std::size_t>(j)] - 1)])
                    << name << " boundary element " << k + 1;
            }
            const std::size_t next = (k + 1) % b.seg.size();
            if (b.seg_edge[k] != b.seg_edge[next] || b.seg[k][1] != b.seg[next][0]) edges_at[b.seg[k][1]] = 2;
        }
        EXPECT_LT(std::fabs(double(b.tri.size()) / double(a.tri.size()) - 1.0), 0.15) << name;
        std::vector<double> angles;
        double worst = 180.0, rr = 0.0;
        for (const auto& t : b.tri) {
            const auto [angle, ratio] = shape(b, t);
            angles.push_back(angle);
            rr += ratio;
            if (!edges_at.count(t[0]) && !edges_at.count(t[1]) && !edges_at.count(t[2])) worst = std::min(worst, angle);
        }
        std::sort(angles.begin(), angles.end());
        EXPECT_GE(worst, 30.0) << name;
        EXPECT_GE(angles[angles.size() / 100], 35.0) << name;
        EXPECT_GE(rr / double(b.tri.size()), 0.97) << name;
        if (name == "narrow") {
            ASSERT_EQ(run_corvan(again, name, inputs / name, "--optimize").status, 0);
            for (const char* f : {"grid.", "nodes.", "gridplot."})
                EXPECT_EQ(read_file(opt.file(f + name)), read_file(again.file(f + name))) << f;
        }
    }    // Boundary triangulations (step limit 0) where nodes are inserted and
    // collapsed again: the written grid stays whole.
    for (const std::string name : {"unit", "channel"}) {
        TempDir dir;
        ASSERT_EQ(run_corvan(dir, name, kInputs, "--optimize").status, 0) << name;
        expect_valid_mesh(read_mesh(dir, name));
    }
}

}  // namespace

namespace {

// The rows of an advancing front are collinear up to rounding; the loose
// cavity criterion once joined a front point to a facet of its own row and
// the run stopped on the resulting sliver a few steps later.
TEST(Regression, FrontRowsOnAFineUniformSquareMakeNoSliver) {
    TempDir dir;
    const RunResult r = run_corvan(dir, "fine", kInputs);
    ASSERT_EQ(r.status, 0) << r.out.substr(r.out.size() > 2000 ? r.out.size() - 2000 : 0);
    EXPECT_EQ(r.out.find("simplex_center warning"), std::string::npos);
    expect_valid_mesh(read_mesh(dir, "fine"));
}

}  // namespace

namespace {

// Points of the plot blocks of one colour.
std::vector<std::array<double, 2>> plot_points(const std::string& path, int colour) {
    std::vector<std::array<double, 2>> pts;
    std::ifstream in(path);
    std::string line;
    int current = -1;
    while (std::getline(in, line)) {
        if (line.find("% linecolor = ") != std::string::npos) {
            std::istringstream ss(line.substr(line.find('=') + 1));
            ss >> current;
            continue;
        }
        if (line.size() < 38 || line.find('%') != std::string::npos || line.find('$') != std::string::npos) continue;
        if (current == colour) pts.push_back({std::stod(line.substr(0, 15)), std::stod(line.substr(15, 15))});
    }
    return pts;
}

// A background point in a long, narrow channel lies inside the circles of
// the external triangles along the channel's sides; they must not join its
// cavity, or the background triangles reach the corners of the bounding
// triangle and the spacing inside is interpolated from points outside.
TEST(Regression, BackgroundPointInANarrowChannelKeepsItsCavityInside) {
    TempDir dir;
    const RunResult r = run_corvan(dir, "channel", kInputs);
    ASSERT_EQ(r.status, 0) << r.out;
    const auto pts = plot_points(dir.file("backplot.channel"), 0);
    ASSERT_FALSE(pts.empty());
    bool has_background_point = false;
    for (const auto& p : pts) {
        EXPECT_GE(p[0], -1e-12);
        EXPECT_LE(p[0], 10.0 + 1e-12);
        EXPECT_GE(p[1], -1e-12);
        EXPECT_LE(p[1], 0.2 + 1e-12);
        if (std::fabs(p[0] - 5.0) < 1e-9 && std::fabs(p[1] - 0.1) < 1e-9) has_background_point = true;
    }
    EXPECT_TRUE(has_background_point);
}

}  // namespace

namespace {

// The walk toward a Steiner point from the first grid point can be stopped
// by the walls of a hole; such a point, well inside the domain, was once
// dropped as if it lay on the boundary.
TEST(Regression, SteinerPointBehindAHoleIsInserted) {
    TempDir dir;
    run_corvan(dir, "hole");
    std::string text = read_file(dir.file("domain.hole"));
    text.replace(text.find("  nst\n0\n"), 9, "  nst\n1\n");
    std::ofstream(dir.file("domain.hole")) << text << "1.579555 1.155291\n";
    const RunResult r = run_corvan(dir, "hole", fs::path());
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find("NOT"), std::string::npos) << r.out;
    const Mesh m = read_mesh(dir, "hole");
    bool found = false;
    for (const auto& p : m.xy) found = found || (std::fabs(p[0] - 1.579555) < 1e-9 && std::fabs(p[1] - 1.155291) < 1e-9);
    EXPECT_TRUE(found);
}

}  // namespace

namespace {

// Edges listed the wrong way round put the domain outside the boundary; the
// mesh files once referred to the bounding triangle's corners, which no node
// list holds, and the run still reported success.
TEST(Regression, BoundaryInTheWrongDirectionStopsBeforeWritingAMesh) {
    TempDir dir;
    const RunResult r = run_corvan(dir, "ccw", kInputs);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Are the boundary sides traversed in the wrong direction?"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(dir.file("grid.ccw")));

    // A hole listed clockwise once had its inside meshed instead of the
    // domain around it, and the run reported success.
    TempDir hole;
    run_corvan(hole, "hole");
    std::string text = read_file(hole.file("boundary.hole"));
    text.replace(text.find("0.4   0.0 360.0"), 15, "0.4   360.0 0.0");
    std::ofstream(hole.file("boundary.hole")) << text;
    const RunResult h = run_corvan(hole, "hole", fs::path());
    EXPECT_EQ(h.status, 1);
    EXPECT_NE(h.out.find("Are the boundary sides traversed in the wrong direction?"), std::string::npos) << h.out;
}

}  // namespace

namespace {

// Inputs that once failed, stopped without saying where, or were refused
// for a file the user never wrote: each folder of tests/inputs/fix holds a
// problem named after the folder and a file `expect` with the exit status
// on its first line and a fragment of the output on its second ("\n"
// stands for a line end). A run that succeeds must write a valid mesh.
TEST(Regression, FixInputsEndAsExpected) {
    for (const auto& entry : fs::directory_iterator(fs::path(CORVAN_SOURCE_DIR) / "tests" / "inputs" / "fix")) {
        const std::string name = entry.path().filename().string();
        std::ifstream expect(entry.path() / "expect");
        int status = -1;
        std::string fragment;
        expect >> status >> std::ws;
        std::getline(expect, fragment);
        // A backslash followed by n in the fragment stands for a line end.
        std::string unescaped;
        for (std::size_t k = 0; k < fragment.size(); ++k) {
            if (fragment.compare(k, 2, "\\n") == 0) {
                unescaped += '\n';
                ++k;
            } else {
                unescaped += fragment[k];
            }
        }
        fragment = unescaped;
        TempDir dir;
        const RunResult r = run_corvan(dir, name, entry.path());
        EXPECT_EQ(r.status, status) << name << "\n" << r.out;
        EXPECT_NE(r.out.find(fragment), std::string::npos) << name << ": no \"" << fragment << "\" in\n" << r.out;
        if (status == 0 && r.status == 0) expect_valid_mesh(read_mesh(dir, name));
    }
}

}  // namespace
