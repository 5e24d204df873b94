#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "geometry/curves.hpp"
#include "grid/list.hpp"
#include "metric/metric_2d.hpp"
#include "metric_test_util.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using namespace corvan::test;

TEST(GenMetr, AxesHaveTheirSizesWhateverTheAngle) {
    for (double t : {0.0, 0.3, 1.0, kPi / 2, 2.5, 5.0}) {
        expect_mat_near(metric(1, 1, t), Mat2::identity(), 1e-15);
        // (cos t, sin t) measures h1, the perpendicular h2; the tensor is symmetric.
        const Mat2 m = metric(2, 0.25, t);
        EXPECT_NEAR(projection(m, vec(std::cos(t), std::sin(t))), 2.0, 1e-13);
        EXPECT_NEAR(projection(m, vec(-std::sin(t), std::cos(t))), 0.25, 1e-14);
        EXPECT_EQ(m(1, 2), m(2, 1));
        EXPECT_NEAR(projection(metric(2.5, 2.5, 0), vec(std::cos(t), std::sin(t))), 2.5, 1e-14);
    }
    EXPECT_EQ(metric(2, 1, 0), diag(0.25, 1));
    expect_mat_near(metric(2, 1, kPi / 2), diag(1, 0.25), 1e-16);

    point* p = new_point();
    gen_metr(par(0.7, 0.2, 1.25), p->axis, p->teta, p->mtr);
    EXPECT_EQ(p->axis, vec(0.7, 0.2));
    EXPECT_EQ(p->teta, 1.25);
}

TEST(AttrMetr, ExactAtDataPointsLinearBetween) {
    grid_record g;
    g.edge.assign(2);
    edge_record& e = g.edge(2);
    e.sdata.assign(3);
    e.hdata.assign(3, 3);
    const double s[] = {0.0, 0.4, 1.0}, h[] = {1.0, 3.0, 0.1};
    for (int j = 1; j <= 3; ++j) e.sdata(j) = s[j - 1], e.hdata(1, j) = e.hdata(2, j) = h[j - 1];
    e.hdata(3, 3) = 0.5;  // the angle interpolates like the lengths

    point* pb = new_point();
    point* pd = new_point();
    pb->x(1) = 0.123;  // not used when i = j
    attr_metr(g, 2, pb, 2, 2, pd);
    EXPECT_EQ(pd->axis, vec(3, 3));
    EXPECT_EQ(pd->mtr, metric(3, 3, 0));
    pb->x(1) = 0.2;
    attr_metr(g, 2, pb, 1, 2, pd);
    expect_mat_near(pd->mtr, diag(0.25, 0.25), 1e-15);
    pb->x(1) = 1.0;
    attr_metr(g, 2, pb, 2, 3, pd);
    EXPECT_NEAR(pd->axis(1), 0.1, 1e-15);
    EXPECT_NEAR(pd->teta, 0.5, 1e-15);
    pb->x(1) = 0.7;
    attr_metr(g, 2, pb, 2, 3, pd);
    EXPECT_NEAR(pd->axis(2), 1.55, 1e-15);
    EXPECT_NEAR(pd->teta, 0.25, 1e-15);
}

TEST(GenVersor, UnitTangentAndTheSpacingAlongIt) {
    // Curve 1: the straight segment (1, 1) - (4, 5) at unit speed.
    n_curv = 1;
    curv.assign(1);
    curve& c = curv(1);
    c.nd = c.ns = 2;
    c.s.assign(2);
    c.s(2) = 5.0;
    c.x.assign(2, 2);
    c.xs.assign(2, 2);
    c.x(1, 1) = c.x(2, 1) = 1, c.x(1, 2) = 4, c.x(2, 2) = 5;
    for (int j = 1; j <= 2; ++j) c.xs(1, j) = 0.6, c.xs(2, j) = 0.8;
    for (double q : {0.0, 0.4, 1.0}) {
        Vec<double, 2> t;
        gen_versor(1, q, t);
        EXPECT_NEAR(t(1), 0.6, 1e-15);
        EXPECT_NEAR(t(2), 0.8, 1e-15);
    }
    // An ellipse measures h1 along its first axis; the isotropic kind ignores the curve.
    const double along = std::atan2(0.8, 0.6);
    double h = 0;
    proj_metr(1, metric_isotropic + 2, 0.5, par(3.0, 0.5, along), h);
    EXPECT_NEAR(h, 3.0, 1e-14);
    proj_metr(1, metric_isotropic + 2, 0.5, par(3.0, 0.5, along + kPi / 2), h);
    EXPECT_NEAR(h, 0.5, 1e-14);
    proj_metr(1, metric_isotropic, 0.5, par(3.0, 0.5, along + kPi / 2), h);
    EXPECT_EQ(h, 3.0);
}

TEST(SetTeta, QuadrantsUseSinglePrecisionPi) {
    const double r = std::sqrt(0.5);
    const struct { double x, y, teta; } cases[] = {
        {1, 0, 0.0},
        {0, 1, kPi / 2},
        {-1, 0, kPiSingle},
        {0, -1, -kPi / 2 + kTwoPiSingle},
        {-r, -r, kPiSingle + std::asin(r)},
        {r, -r, kTwoPiSingle - std::asin(r)},
    };
    for (const auto& c : cases) {
        double t = -1;
        set_teta(t, vec(c.x, c.y));
        EXPECT_EQ(t, c.teta) << c.x << " " << c.y;
    }
}

// ---------------------------------------------------------------------------

TEST(IntMetrSeg2, SizesNotEntriesAreInterpolated) {
    Mat2 x;
    for (const Mat2& m : {metric(2, 0.5, 0.4), diag(3, 3)}) {
        for (double w : {0.0, 0.3, 1.0}) {
            int_metr_seg2(m, m, x, w);
            EXPECT_EQ(x, m);
        }
    }
    // Proportional metrics: the sizes go from 1 to 2, h = 1.5 halfway.
    int_metr_seg2(Mat2::identity(), diag(0.25, 0.25), x, 0.5);
    expect_mat_near(x, diag(1 / 2.25, 1 / 2.25), 1e-15);
    // Distinct generalised eigenvalues: only the size along x(2) changes,
    // also when the whole picture is rotated.
    int_metr_seg2(Mat2::identity(), diag(1, 0.25), x, 0.5);
    expect_mat_near(x, diag(1, 1 / 2.25), 1e-15);
    for (double t : {0.3, 1.2, 2.9}) {
        int_metr_seg2(metric(1, 1, t), metric(1, 2, t), x, 0.5);
        expect_mat_near(x, metric(1, 1.5, t), 1e-14);
    }
    // The result may overwrite an input.
    Mat2 m0 = metric(1, 0.3, 0.2);
    int_metr_seg2(m0, metric(2, 0.5, 1.1), x, 0.4);
    int_metr_seg2(m0, metric(2, 0.5, 1.1), m0, 0.4);
    EXPECT_EQ(m0, x);
}

TEST(IntMetrSeg2, EndWeightsGiveTheEndMetrics) {
    const Mat2 pairs[][2] = {
        {metric(1, 0.3, 0.2), metric(2, 0.5, 1.1)},
        {metric(0.1, 0.1, 0), metric(0.05, 0.4, 2.0)},
        // M0^-1 M1 = [[2, 0], [-1, 1]]: its zero off-diagonal entry once
        // produced 0/0 reduction directions and NaN metrics.
        {mat(2, 1, 1, 1), mat(3, 1, 1, 1)},
    };
    for (const auto& pr : pairs) {
        Mat2 x;
        for (int end = 0; end <= 1; ++end) {
            int_metr_seg2(pr[0], pr[1], x, end);
            expect_mat_near(x, pr[end], 1e-12 * (pr[end](1, 1) + pr[end](2, 2)));
        }
        int_metr_seg2(pr[0], pr[1], x, 0.5);
        EXPECT_GT(x(1, 1) * x(2, 2) - x(1, 2) * x(2, 1), 0.0);  // false for NaN
    }
}

TEST(IntMetrSeg2DeathTest, SingularInputsStopWithTheirMessages) {
    Mat2 x;
    EXPECT_STOP(int_metr_seg2(mat(1, 2, 2, 4), Mat2::identity(), x, 0.5),
                "^ INVERT_2d: determinant is zero\n.*\n.*\n.*\n"
                " metric0 is not invertible!\n -- STOP -- \\(int_metr_seg\\)\n$");
    // An indefinite first "metric" whose form vanishes on the first reduction
    // direction makes the two directions collapse into one.
    EXPECT_STOP(int_metr_seg2(diag(1, -1), mat(1, 2, 0, -3), x, 0.5),
                "^ INVERT_2d: determinant is zero\n.*\n.*\n.*\n eigenvectors is a Singular MATRIX\n"
                " +7\\.0710678118654[0-9]*E-01 +7\\.0710678118654[0-9]*E-01\n"
                " +7\\.0710678118654[0-9]*E-01 +7\\.0710678118654[0-9]*E-01\n -- STOP -- \\(int_metr_seg\\)\n$");
}

// ---------------------------------------------------------------------------

// One triangle list over the points (1, 0), (0, 2), (-1.5, 0.25), numbered 11..13.
struct PlotGrid {
    simplex* head = newhead_simplex();
    point* v[4] = {nullptr, new_point(), new_point(), new_point()};
    PlotGrid() {
        const double xy[3][2] = {{1, 0}, {0, 2}, {-1.5, 0.25}};
        for (int k = 1; k <= 3; ++k) v[k]->x = vec(xy[k - 1][0], xy[k - 1][1]), v[k]->i = 10 + k;
    }
    void add_triangle() {
        simplex* s = new_simplex();
        for (int k = 1; k <= 3; ++k) s->opp(k).pnt = v[k];
        pushbot_simplex(head, s);
    }
    std::string plot(int option) {
        test::TempDir dir;
        TextFile out(dir.file("metric_grid.t"));
        m_plot(out, head, option);
        out.close();
        return test::read_file(dir.file("metric_grid.t"));
    }
};

// The five header lines; the title line is 41 characters with its leading blank.
std::string header(const std::string& title) {
    return " $ DATA = CONTCURVE\n " + title + std::string(40 - title.size(), ' ') +
           "\n % contstyle = 2\n % cstep = 20\n % meshplot  = True\n";
}

TEST(MPlot, EmptyListGivesTheHeadersOnly) {
    PlotGrid g;
    EXPECT_EQ(g.plot(plot_components), header("% toplabel = Metric(1,1)") + header("% toplabel = Metric(1,2)") +
                                           header("% toplabel = Metric(2,2)"));
    EXPECT_EQ(g.plot(plot_ellipse), header("% toplabel = \"Ellipse semiaxis(1)\"") +
                                        header("% toplabel = \"Ellipse semiaxis(2)\"") +
                                        header("% toplabel = \"Teta [degrees]\""));
}

TEST(MPlot, ComponentsOfOneTriangle) {
    PlotGrid g;
    g.v[1]->mtr = mat(4, -0.5, -0.5, 0.25);
    g.add_triangle();
    const std::string x = "  0.1000000E+01  0.0000000E+00", y = "  0.0000000E+00  0.2000000E+01",
                      z = " -0.1500000E+01  0.2500000E+00", one = "  0.1000000E+01", zero = "  0.0000000E+00";
    EXPECT_EQ(g.plot(plot_components),
              header("% toplabel = Metric(1,1)") + "\n" + x + "  0.4000000E+01      11\n" + y + one + "      12\n" +
                  z + one + "      13\n" + header("% toplabel = Metric(1,2)") + "\n" + x +
                  " -0.5000000E+00      11\n" + y + zero + "      12\n" + z + zero + "      13\n" +
                  header("% toplabel = Metric(2,2)") + "\n" + x + "  0.2500000E+00      11\n" + y + one +
                  "      12\n" + z + one + "      13\n");
}

TEST(MPlot, EllipseRecomputesAxesAndAngleFromTheTensor) {
    PlotGrid g;
    g.v[1]->mtr = diag(4, 1);
    g.v[2]->mtr = diag(1, 4);
    g.v[3]->mtr = Mat2();  // a zero first entry keeps the stored values
    g.v[3]->axis = vec(7, 8);
    g.v[3]->teta = kPiSingle / 4;
    g.add_triangle();
    g.add_triangle();  // every vertex visited twice per data set
    const std::string text = g.plot(plot_ellipse);
    EXPECT_EQ(g.v[1]->axis, vec(0.5, 1));
    EXPECT_EQ(g.v[2]->axis, vec(1, 0.5));  // diagonal order, not sorted
    EXPECT_EQ(g.v[1]->teta, 0.0);
    EXPECT_EQ(g.v[2]->teta, 0.0);
    EXPECT_EQ(g.v[3]->axis, vec(7, 8));
    EXPECT_NE(text.find("  0.1000000E+01  0.0000000E+00  0.5000000E+00      11\n"), std::string::npos);
    const std::string angles = header("% toplabel = \"Teta [degrees]\"");
    const std::string tri =
        "\n  0.1000000E+01  0.0000000E+00  0.0000000E+00      11\n"
        "  0.0000000E+00  0.2000000E+01  0.0000000E+00      12\n"
        " -0.1500000E+01  0.2500000E+00  0.4500000E+02      13\n";
    ASSERT_NE(text.find(angles), std::string::npos);
    EXPECT_EQ(text.substr(text.find(angles)), angles + tri + tri);

    // A rotated tensor: the larger eigenvalue first, so the short axis and its angle.
    g.v[1]->mtr = metric(0.5, 2.0, 2.0);
    g.plot(plot_ellipse);
    EXPECT_NEAR(g.v[1]->axis(1), 0.5, 1e-14);
    EXPECT_NEAR(g.v[1]->axis(2), 2.0, 1e-13);
    EXPECT_NEAR(std::fmod(g.v[1]->teta, kPi), 2.0, 1e-6);
}

TEST(MPlot, OtherOptionsWriteNothingAndChangeNothing) {
    PlotGrid g;
    g.v[1]->mtr = diag(4, 1);
    g.add_triangle();
    EXPECT_EQ(g.plot(-1), "");
    EXPECT_EQ(g.plot(2), "");
    EXPECT_EQ(g.v[1]->axis, vec(0, 0));
    EXPECT_EQ(g.v[1]->teta, 0.0);
}

}  // namespace
}  // namespace corvan
