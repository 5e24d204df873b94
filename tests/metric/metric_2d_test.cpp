#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "grid/list.hpp"
#include "metric/metric_2d.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

constexpr double kPi = 3.141592653589793;

Mat2 mat(double a11, double a12, double a21, double a22) {
    Mat2 m;
    m(1, 1) = a11;
    m(1, 2) = a12;
    m(2, 1) = a21;
    m(2, 2) = a22;
    return m;
}

Mat2 diag(double a, double b) { return mat(a, 0, 0, b); }

Vec<double, 3> par(double h1, double h2, double t) {
    Vec<double, 3> p;
    p(1) = h1;
    p(2) = h2;
    p(3) = t;
    return p;
}

Vec<double, 2> vec(double a, double b) {
    Vec<double, 2> v;
    v(1) = a;
    v(2) = b;
    return v;
}

Mat2 metric(double h1, double h2, double t) {
    Vec<double, 2> axis;
    double teta = 0;
    Mat2 m;
    gen_metr(par(h1, h2, t), axis, teta, m);
    return m;
}

void expect_mat_near(const Mat2& a, const Mat2& b, double tol) {
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) EXPECT_NEAR(a(i, j), b(i, j), tol) << "(" << i << "," << j << ")";
}

// ---------------------------------------------------------------------------

TEST(GenMetr, AxesHaveTheirSizesWhateverTheAngle) {
    for (double t : {0.0, 0.3, 1.0, kPi / 2, 2.5, 5.0}) {
        expect_mat_near(metric(1, 1, t), Mat2::identity(), 1e-15);
        expect_mat_near(metric(0.5, 0.5, t), diag(4, 4), 1e-14);
        // (cos t, sin t) measures h1, the perpendicular h2; the tensor is symmetric.
        const Mat2 m = metric(2, 0.25, t);
        EXPECT_NEAR(projection(m, vec(std::cos(t), std::sin(t))), 2.0, 1e-13);
        EXPECT_NEAR(projection(m, vec(-std::sin(t), std::cos(t))), 0.25, 1e-14);
        EXPECT_EQ(m(1, 2), m(2, 1));
    }
    EXPECT_EQ(metric(2, 1, 0), diag(0.25, 1));
    expect_mat_near(metric(2, 1, kPi / 2), diag(1, 0.25), 1e-16);
}

TEST(GenMetr, CopiesTheParametersIntoAxisAndTeta) {
    point* p = new_point();
    gen_metr(par(0.7, 0.2, 1.25), p->axis, p->teta, p->mtr);
    EXPECT_EQ(p->axis(1), 0.7);
    EXPECT_EQ(p->axis(2), 0.2);
    EXPECT_EQ(p->teta, 1.25);
    EXPECT_EQ(p->mtr, metric(0.7, 0.2, 1.25));
}

TEST(AttrMetr, ExactAtDataPointsLinearBetween) {
    grid_record g;
    g.n_edge = 2;
    g.edge.assign(2);
    edge_record& e = g.edge(2);
    e.ndata = 3;
    e.sdata.assign(3);
    e.hdata.assign(3, 3);
    const double s[] = {0.0, 0.4, 1.0}, h[] = {1.0, 3.0, 0.1};
    for (int j = 1; j <= 3; ++j) {
        e.sdata(j) = s[j - 1];
        e.hdata(1, j) = h[j - 1];
        e.hdata(2, j) = h[j - 1];
        e.hdata(3, j) = 0.0;
    }
    e.hdata(3, 3) = 0.5;  // an angle interpolates like the lengths

    point* pb = new_point();
    point* pd = new_point();
    pb->x(1) = 0.123;  // not used when i = j
    attr_metr(g, 2, pb, 2, 2, pd);
    EXPECT_EQ(pd->axis(1), 3.0);
    EXPECT_EQ(pd->axis(2), 3.0);
    EXPECT_EQ(pd->teta, 0.0);
    EXPECT_EQ(pd->mtr, metric(3, 3, 0));

    pb->x(1) = 0.2;
    attr_metr(g, 2, pb, 1, 2, pd);
    EXPECT_NEAR(pd->axis(1), 2.0, 1e-15);
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

TEST(ProjMetr, IsotropicKindGivesTheFirstLength) {
    double h = 0;
    proj_metr(1, metric_isotropic, 0.3, par(0.75, 9.0, 1.0), h);
    EXPECT_EQ(h, 0.75);
}

TEST(SetTeta, QuadrantsUseSinglePrecisionPi) {
    double t = -1;
    set_teta(t, vec(1, 0));
    EXPECT_EQ(t, 0.0);
    set_teta(t, vec(0, 1));
    EXPECT_EQ(t, kPi / 2);
    set_teta(t, vec(-1, 0));
    EXPECT_EQ(t, kPiSingle);
    EXPECT_NE(t, kPi);
    set_teta(t, vec(0, -1));
    EXPECT_EQ(t, -kPi / 2 + kTwoPiSingle);
    const double r = std::sqrt(0.5);
    set_teta(t, vec(-r, -r));
    EXPECT_NEAR(t, 5 * kPi / 4, 1e-6);
    set_teta(t, vec(r, -r));
    EXPECT_NEAR(t, 7 * kPi / 4, 1e-6);
    set_teta(t, vec(-r, r));
    EXPECT_NEAR(t, 3 * kPi / 4, 1e-6);
}

TEST(Projection, IsotropicMetricGivesItsSizeInEveryDirection) {
    for (double a = 0; a < 6.3; a += 0.7) {
        EXPECT_NEAR(projection(diag(1 / 6.25, 1 / 6.25), vec(std::cos(a), std::sin(a))), 2.5, 1e-14);
    }
}

// ---------------------------------------------------------------------------

TEST(IntMetrSeg2, EqualMetricsGiveTheMetricForEveryWeight) {
    for (const Mat2& m : {metric(2, 0.5, 0.4), diag(3, 3), metric(0.01, 0.01, 0)}) {
        for (double w : {0.0, 0.3, 1.0}) {
            Mat2 x;
            int_metr_seg2(m, m, x, w);
            EXPECT_EQ(x, m);
        }
    }
}

TEST(IntMetrSeg2, SizesNotEntriesAreInterpolated) {
    Mat2 x;
    // Proportional metrics: the sizes go from 1 to 2, h = 1.5 halfway.
    int_metr_seg2(Mat2::identity(), diag(0.25, 0.25), x, 0.5);
    expect_mat_near(x, diag(1 / 2.25, 1 / 2.25), 1e-15);
    // Distinct generalised eigenvalues: only the size along x(2) changes.
    int_metr_seg2(Mat2::identity(), diag(1, 0.25), x, 0.5);
    expect_mat_near(x, diag(1, 1 / 2.25), 1e-15);
    // Rotated versions of the same thing, through the general reduction.
    for (double t : {0.3, 1.2, 2.9}) {
        int_metr_seg2(metric(1, 1, t), metric(1, 2, t), x, 0.5);
        expect_mat_near(x, metric(1, 1.5, t), 1e-14);
    }
}

TEST(IntMetrSeg2, EndWeightsGiveTheEndMetrics) {
    const Mat2 pairs[][2] = {
        {metric(1, 0.3, 0.2), metric(2, 0.5, 1.1)},
        {metric(0.1, 0.1, 0), metric(0.05, 0.4, 2.0)},
        {diag(1, 1), diag(1, 0.25)},
        // M0^-1 M1 = [[2, 0], [-1, 1]]: its zero off-diagonal entry once
        // produced 0/0 reduction directions and NaN metrics.
        {mat(2, 1, 1, 1), mat(3, 1, 1, 1)},
    };
    for (const auto& pr : pairs) {
        Mat2 x;
        int_metr_seg2(pr[0], pr[1], x, 0.0);
        expect_mat_near(x, pr[0], 1e-12 * std::fabs(pr[0](1, 1) + pr[0](2, 2)));
        int_metr_seg2(pr[0], pr[1], x, 1.0);
        expect_mat_near(x, pr[1], 1e-12 * std::fabs(pr[1](1, 1) + pr[1](2, 2)));
        int_metr_seg2(pr[0], pr[1], x, 0.5);
        EXPECT_TRUE(std::isfinite(x(1, 1)) && std::isfinite(x(1, 2)) && std::isfinite(x(2, 2)));
        EXPECT_GT(x(1, 1) * x(2, 2) - x(1, 2) * x(2, 1), 0.0);
    }
}

TEST(IntMetrSeg2, ResultMayOverwriteAnInput) {
    Mat2 m0 = metric(1, 0.3, 0.2);
    const Mat2 m1 = metric(2, 0.5, 1.1);
    Mat2 expected;
    int_metr_seg2(m0, m1, expected, 0.4);
    int_metr_seg2(m0, m1, m0, 0.4);
    EXPECT_EQ(m0, expected);
}

TEST(Ortogon, SecondColumnBecomesConjugateToTheFirst) {
    const Mat2 m0 = metric(1, 0.2, 0.7);
    for (const Mat2& v0 : {mat(1, 0, 0, 1), mat(0.6, 0.8, 0.8, -0.6), mat(1, 1, 0, 1e-3)}) {
        Mat2 v = v0;
        ortogon(m0, Mat2(), v);
        EXPECT_EQ(v(1, 1), v0(1, 1));
        EXPECT_EQ(v(2, 1), v0(2, 1));
        double z = 0;
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) z += v(i, 2) * m0(i, j) * v(j, 1);
        EXPECT_NEAR(z, 0.0, 1e-14);
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
                "^ INVERT_2d: determinant is zero\n.*\n.*\n.*\n"
                " eigenvectors is a Singular MATRIX\n"
                " +7\\.0710678118654[0-9]*E-01 +7\\.0710678118654[0-9]*E-01\n"
                " +7\\.0710678118654[0-9]*E-01 +7\\.0710678118654[0-9]*E-01\n"
                " -- STOP -- \\(int_metr_seg\\)\n$");
}

// ---------------------------------------------------------------------------

struct PlotGrid {
    simplex* head = newhead_simplex();
    point* v[4] = {nullptr, new_point(), new_point(), new_point()};

    PlotGrid() {
        const double xy[3][2] = {{1, 0}, {0, 2}, {-1.5, 0.25}};
        for (int k = 1; k <= 3; ++k) {
            v[k]->x(1) = xy[k - 1][0];
            v[k]->x(2) = xy[k - 1][1];
            v[k]->i = 10 + k;
        }
    }
    void add_triangle() {
        simplex* s = new_simplex();
        for (int k = 1; k <= 3; ++k) s->opp(k).pnt = v[k];
        pushbot_simplex(head, s);
    }
};

std::string plot(simplex* head, int option) {
    test::TempDir dir;
    TextFile out(dir.file("metric_grid.t"));
    m_plot(out, head, option);
    out.close();
    return test::read_file(dir.file("metric_grid.t"));
}

std::string header(const std::string& title) {
    std::string t = " " + title;
    t.resize(41, ' ');
    return " $ DATA = CONTCURVE\n" + t + "\n % contstyle = 2\n % cstep = 20\n % meshplot  = True\n";
}

TEST(MPlot, EmptyListGivesTheHeadersOnly) {
    PlotGrid g;
    EXPECT_EQ(plot(g.head, plot_components),
              header("% toplabel = Metric(1,1)") + header("% toplabel = Metric(1,2)") +
                  header("% toplabel = Metric(2,2)"));
    EXPECT_EQ(plot(g.head, plot_ellipse), header("% toplabel = \"Ellipse semiaxis(1)\"") +
                                              header("% toplabel = \"Ellipse semiaxis(2)\"") +
                                              header("% toplabel = \"Teta [degrees]\""));
    // The title line carries its trailing blanks: 41 characters with the leading one.
    const std::string text = plot(g.head, plot_components);
    const std::size_t l2 = text.find('\n') + 1;
    EXPECT_EQ(text.find('\n', l2) - l2, 41u);
    EXPECT_EQ(text.substr(l2, 41), " % toplabel = Metric(1,1)" + std::string(16, ' '));
}

TEST(MPlot, ComponentsOfOneTriangle) {
    PlotGrid g;
    g.v[1]->mtr = mat(4, -0.5, -0.5, 0.25);
    g.add_triangle();
    const std::string text = plot(g.head, plot_components);
    const std::string set11 = header("% toplabel = Metric(1,1)") +
                              "\n"
                              "  0.1000000E+01  0.0000000E+00  0.4000000E+01      11\n"
                              "  0.0000000E+00  0.2000000E+01  0.1000000E+01      12\n"
                              " -0.1500000E+01  0.2500000E+00  0.1000000E+01      13\n";
    const std::string set12 = header("% toplabel = Metric(1,2)") +
                              "\n"
                              "  0.1000000E+01  0.0000000E+00 -0.5000000E+00      11\n"
                              "  0.0000000E+00  0.2000000E+01  0.0000000E+00      12\n"
                              " -0.1500000E+01  0.2500000E+00  0.0000000E+00      13\n";
    const std::string set22 = header("% toplabel = Metric(2,2)") +
                              "\n"
                              "  0.1000000E+01  0.0000000E+00  0.2500000E+00      11\n"
                              "  0.0000000E+00  0.2000000E+01  0.1000000E+01      12\n"
                              " -0.1500000E+01  0.2500000E+00  0.1000000E+01      13\n";
    EXPECT_EQ(text, set11 + set12 + set22);
}

TEST(MPlot, EllipseRecomputesAxesAndAngleFromTheTensor) {
    PlotGrid g;
    g.v[1]->mtr = diag(4, 1);
    g.v[2]->mtr = diag(1, 4);
    // A tensor of zero first entry is left with its stored values.
    g.v[3]->mtr = Mat2();
    g.v[3]->axis = vec(7, 8);
    g.v[3]->teta = kPiSingle / 4;
    g.add_triangle();
    g.add_triangle();  // every vertex visited twice per data set
    const std::string text = plot(g.head, plot_ellipse);

    EXPECT_EQ(g.v[1]->axis, vec(0.5, 1));
    EXPECT_EQ(g.v[1]->teta, 0.0);
    EXPECT_EQ(g.v[2]->axis, vec(1, 0.5));  // diagonal order, not sorted
    EXPECT_EQ(g.v[2]->teta, 0.0);
    EXPECT_EQ(g.v[3]->axis, vec(7, 8));
    EXPECT_EQ(g.v[3]->teta, kPiSingle / 4);

    const std::string tri2 =
        "\n"
        "  0.1000000E+01  0.0000000E+00  0.0000000E+00      11\n"
        "  0.0000000E+00  0.2000000E+01  0.0000000E+00      12\n"
        " -0.1500000E+01  0.2500000E+00  0.4500000E+02      13\n";
    const std::size_t at = text.find(header("% toplabel = \"Teta [degrees]\""));
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(text.substr(at), header("% toplabel = \"Teta [degrees]\"") + tri2 + tri2);
    EXPECT_NE(text.find("  0.1000000E+01  0.0000000E+00  0.5000000E+00      11\n"), std::string::npos);
}

TEST(MPlot, EllipseOfARotatedMetric) {
    PlotGrid g;
    g.v[1]->mtr = metric(0.5, 2.0, 2.0);
    g.add_triangle();
    plot(g.head, plot_ellipse);
    // The larger eigenvalue comes first: the short axis, at 2 rad or 2 - pi.
    EXPECT_NEAR(g.v[1]->axis(1), 0.5, 1e-14);
    EXPECT_NEAR(g.v[1]->axis(2), 2.0, 1e-13);
    const double t = g.v[1]->teta;
    EXPECT_TRUE(std::fabs(t - 2.0) < 1e-6 || std::fabs(t - (2.0 + kPi)) < 1e-6) << t;
}

TEST(MPlot, OtherOptionsWriteNothingAndChangeNothing) {
    PlotGrid g;
    g.v[1]->mtr = diag(4, 1);
    g.add_triangle();
    EXPECT_EQ(plot(g.head, -1), "");
    EXPECT_EQ(plot(g.head, 2), "");
    EXPECT_EQ(g.v[1]->axis, vec(0, 0));
    EXPECT_EQ(g.v[1]->teta, 0.0);
}

}  // namespace
}  // namespace corvan
