#include "geometry/curves.hpp"

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace corvan {
namespace {

struct pt {
    double x, y;
};

// Knots-file text of one curve group.
std::string group(int code, const std::vector<pt>& p, const std::string& ends = "") {
    std::ostringstream o;
    o.precision(17);
    o << "DIM POINTS\n2 " << p.size() << "\nIDC\n" << code << "\n";
    if (code == end_clamped) o << "SLOPES\n" << ends << "\n";
    o << "X Y\n";
    for (const pt& q : p) o << q.x << " " << q.y << "\n";
    return o.str();
}

// Builds the table from knots-file text.
void build(const std::string& text) {
    std::istringstream in(text);
    RecordReader r(in, "knots.test");
    new_curves(r, 1);
}

void build_one(int code, const std::vector<pt>& p, const std::string& ends = "") {
    build("N_CURV\n1\n" + group(code, p, ends));
}

std::vector<pt> circle_points(int n) {  // n points on the unit circle, the last repeating the first
    std::vector<pt> p;
    for (int k = 0; k < n; ++k) p.push_back({std::cos(2.0 * M_PI * k / (n - 1)), std::sin(2.0 * M_PI * k / (n - 1))});
    p.back() = p.front();
    return p;
}

TEST(CurveBuild, NaturalTwoPointCurveIsAUnitSpeedSegment) {
    build_one(end_natural, {{1, 2}, {4, 6}});
    for (double q : {0.0, 0.3, 0.75, 1.0}) {
        Vec<double, 2> p, d;
        evalc_0(1, q, p);
        evalc_1(1, q, d);
        EXPECT_NEAR(std::hypot(p(1) - (1 + 3 * q), p(2) - (2 + 4 * q)), 0.0, 1e-14);
        EXPECT_NEAR(std::hypot(d(1) - 3.0, d(2) - 4.0), 0.0, 1e-14);
    }
}

TEST(CurveBuild, ClampedCurveReturnsItsEndSlopes) {
    build_one(end_clamped, {{0, 0}, {1, 1}, {2, 0}, {3, 2}}, "0.5 -2\n  3 0.25");
    const curve& c = curv(1);
    EXPECT_TRUE(c.xs(1, 1) == 0.5 && c.xs(2, 1) == -2.0 && c.xs(1, 4) == 3.0 && c.xs(2, 4) == 0.25);
    // The derivative with respect to q is the slope times the total length.
    Vec<double, 2> d;
    evalc_1(1, 1.0, d);
    EXPECT_NEAR(d(1), 3.0 * c.s(4), 1e-12);
    EXPECT_NEAR(d(2), 0.25 * c.s(4), 1e-12);
}

TEST(CurveBuild, PeriodicCircleClosesAndStaysOnTheCircle) {
    build_one(end_periodic, circle_points(17));
    const curve& c = curv(1);
    EXPECT_TRUE(c.xs(1, 17) == c.xs(1, 1) && c.xs(2, 17) == c.xs(2, 1));
    for (int k = 0; k <= 200; ++k) {  // between the knots too
        Vec<double, 2> p;
        evalc_0(1, k / 200.0, p);
        EXPECT_NEAR(std::hypot(p(1), p(2)), 1.0, 1e-4) << "q = " << k / 200.0;
    }
}

TEST(CurveEval, EndsAreExactAndOutsideIsClamped) {
    build_one(end_natural, {{0.1, 0.7}, {1.3, -2.9}, {2.2, 5.5}, {7.1, 0.3}});
    Vec<double, 2> p;
    evalc_0(1, 0.0, p);
    EXPECT_TRUE(p(1) == 0.1 && p(2) == 0.7);
    evalc_0(1, 1.0, p);
    EXPECT_TRUE(p(1) == 7.1 && p(2) == 0.3);
    double q = -0.25;
    testing::internal::CaptureStdout();
    evalc_0(1, q, p);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " patch warning, parameter out of range\n" +
                                                          ld_record({"parameter value = ", -0.25}) +
                                                          "\n parameter has been corrected\n");
    EXPECT_EQ(q, -0.25);
    EXPECT_TRUE(p(1) == 0.1 && p(2) == 0.7);
}

TEST(GeometryFile, ExampleIsWrittenByteForByte) {
    build_one(end_natural, {{0, 0}, {1, 0}});
    test::TempDir dir;
    TextFile out(dir.file("geometry.x"));
    save_curves(out, 1);
    out.close();
    EXPECT_EQ(test::read_file(dir.file("geometry.x")),
              "    N_CURV\n"
              "         1\n"
              "        ND        NS\n"
              "         2         2\n"
              "              S             X1             X2            XS1            XS2\n"
              "  0.0000000E+00  0.0000000E+00  0.0000000E+00  0.1000000E+01  0.0000000E+00\n"
              "  0.1000000E+01  0.1000000E+01  0.0000000E+00  0.1000000E+01  0.0000000E+00\n");
}

TEST(GeometryFile, ReloadedTableEvaluatesTheSameTo7Digits) {
    build("N_CURV\n2\n" + group(end_periodic, circle_points(9)) +
          group(end_natural, {{-3.5, 120.25}, {0.001, 98.0}, {17.0, 101.5}}));
    // Points and derivatives at q = 0, 0.05, ..., 1, each with seven digits of
    // its curve's size (about 1 and 121) as tolerance; a derivative also feels
    // the rounding of the interval lengths.
    auto samples = [] {
        std::vector<std::array<double, 3>> out;
        for (int ic = 1; ic <= 2; ++ic) {
            for (int k = 0; k <= 20; ++k) {
                Vec<double, 2> p, d;
                evalc_0(ic, k / 20.0, p);
                evalc_1(ic, k / 20.0, d);
                const double size = ic == 1 ? 1.0 : 121.0;
                out.insert(out.end(), {{p(1), p(2), 1e-6 * size}, {d(1), d(2), 1e-5 * size}});
            }
        }
        return out;
    };
    const auto before = samples();
    test::TempDir dir;
    TextFile out(dir.file("g"));
    save_curves(out, 1);
    out.close();
    curv.assign(0);
    RecordReader in(dir.file("g"));
    load_curves(in, 1);
    ASSERT_EQ(n_curv, 2);
    const auto after = samples();
    for (std::size_t k = 0; k < after.size(); ++k) {
        EXPECT_NEAR(after[k][0], before[k][0], before[k][2]) << "sample " << k;
        EXPECT_NEAR(after[k][1], before[k][1], before[k][2]) << "sample " << k;
    }
}

TEST(CurveStops, BadKnotsFilesNameTheFileAndTheCurve) {
    EXPECT_STOP(build("N_CURV\n2\n" + group(end_natural, {{0, 0}, {1, 0}}) + group(3, {{0, 0}, {1, 0}})),
                "^ new_curve error, unknown end condition            3\n \\(stop\\)\n$");
    EXPECT_STOP(build("N_CURV\n-1\n"), "knots.test, line 2:\n n_curv = -1");
    EXPECT_STOP(build("N_CURV\n2000000\n"), "n_curv = 2000000");
    EXPECT_STOP(build("N_CURV\n1\nDIM\n3 2\n"), "line 4:\n curve 1: nd = 3");
    EXPECT_STOP(build_one(end_natural, {{0, 0}}), "curve 1: ns = 1, a curve needs 2");
    EXPECT_STOP(build("N_CURV\n1\nDIM\n2 20000000\n"), "curve 1: ns = 20000000");
    EXPECT_STOP(build_one(end_periodic, {{0, 0}, {1, 0}, {0, 0}}), "curve 1: a periodic curve needs at least 4");
    EXPECT_STOP(build_one(end_natural, {{0, 0}, {1, 0}, {1, 0}, {2, 0}}),
                "line 10:\n curve 1: point 3 repeats point 2 \\(zero chord\\)");
    std::istringstream in("N_CURV\n0\n");
    RecordReader r(in, "knots.test");
    EXPECT_STOP(new_curves(r, 0), "only the text form");
}

TEST(CurveStops, BadGeometryFilesAndCurveNumbers) {
    const std::string head = "N_CURV\n1\nND NS\n2 3\nS X1 X2 XS1 XS2\n";
    auto load = [](const std::string& text) {
        std::istringstream in(text);
        RecordReader r(in, "geometry.test");
        load_curves(r, 1);
    };
    EXPECT_STOP(load(head + "0 0 0 1 0\n2 2 0 1 0\n1 1 0 1 0\n"), "geometry.test: curve 1, knot 3 is smaller");
    EXPECT_STOP(load(head + "0 0 0 1 0\n1 1 0 1 0\n1 1 0 1 0\n"), "curve 1, its last interval is empty");
    EXPECT_STOP(load("N_CURV\n1\nND NS\n4 3\n"), "curve 1: nd = 4");
    build_one(end_natural, {{0, 0}, {1, 0}});
    Vec<double, 2> p;
    EXPECT_STOP(evalc_0(2, 0.5, p), "evalc error, no curve number            2");
}

}  // namespace
}  // namespace corvan
