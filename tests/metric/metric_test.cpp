#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "delaunay/delaunay.hpp"
#include "grid/list.hpp"
#include "metric/eigsys_2d.hpp"
#include "metric/metric_2d.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

Mat2 mat(double a11, double a12, double a21, double a22) { return {{a11, a21, a12, a22}}; }  // by columns
Mat2 diag(double a, double b) { return mat(a, 0, 0, b); }
Mat2 iso(double h) { return diag(1 / (h * h), 1 / (h * h)); }
Vec<double, 2> vec(double a, double b) { return {{a, b}}; }
point* at(double x, double y) {
    point* p = new_point();
    p->x = vec(x, y);
    return p;
}
// The metric of sizes h1 along angle t and h2 across it.
Mat2 metric(double h1, double h2, double t) {
    Vec<double, 2> axis;
    double teta = 0;
    Mat2 m;
    gen_metr({{h1, h2, t}}, axis, teta, m);
    return m;
}
void expect_mat_near(const Mat2& a, const Mat2& b, double tol) {
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) EXPECT_NEAR(a(i, j), b(i, j), tol) << "(" << i << "," << j << ")";
}
// A V(:, k) = lambda(k) V(:, k) and |V(:, k)| = 1, relative to the size of A.
void expect_eigen_pairs(const Mat2& a, const Vec<double, 2>& lambda, const Mat2& v, double tol) {
    const double scale = std::fabs(a(1, 1)) + std::fabs(a(1, 2)) + std::fabs(a(2, 1)) + std::fabs(a(2, 2));
    for (int k = 1; k <= 2; ++k) {
        EXPECT_NEAR(std::hypot(v(1, k), v(2, k)), 1.0, 1e-14) << "column " << k;
        for (int i = 1; i <= 2; ++i)
            EXPECT_NEAR(a(i, 1) * v(1, k) + a(i, 2) * v(2, k), lambda(k) * v(i, k), tol * scale) << i << k;
    }
}

// --- 2x2 systems -------------------------------------------------------------

// A singular matrix: see the stop of int_metr_seg2 below.
TEST(Invert2d, SingularityIsRelativeToTheEntries) {
    Mat2 b;
    int status = -1;
    invert_2d(diag(1e-20, 1e-20), b, status);
    EXPECT_EQ(status, inv_ok);
    EXPECT_DOUBLE_EQ(b(1, 1), 1e20);
}

TEST(Eigensys2d, MetricsTheirProductsAndHugeEntriesGiveTrueEigenpairs) {
    Vec<double, 2> l;
    Mat2 v;
    int status = -1;
    // Unscaled, the determinant would overflow.
    eigensys_2d(mat(2e200, 1e200, 1e200, 2e200), l, v, status);
    EXPECT_NEAR(l(1) / 3e200, 1.0, 1e-14);
    EXPECT_NEAR(l(2) / 1e200, 1.0, 1e-14);
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> h(0.01, 10.0), ang(0.0, 2 * M_PI);
    for (int n = 0; n < 200; ++n) {
        // A metric, and the unsymmetric product M0^-1 M1 that interpolation decomposes.
        const Mat2 m0 = metric(h(gen), h(gen), ang(gen)), m1 = metric(h(gen), h(gen), ang(gen));
        Mat2 inv, p;
        eigensys_2d(m0, l, v, status);
        expect_eigen_pairs(m0, l, v, 1e-12);
        EXPECT_GE(l(1), l(2));
        invert_2d(m0, inv, status);
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) p(i, j) = inv(i, 1) * m1(1, j) + inv(i, 2) * m1(2, j);
        eigensys_2d(p, l, v, status);
        expect_eigen_pairs(p, l, v, 1e-10);
    }
}

// An unsymmetric matrix with one zero off-diagonal entry once gave 0/0
// eigenvectors: the row of A - lambda I used for a direction was all zero.
TEST(Eigensys2d, TriangularMatrixGivesFiniteEigenvectors) {
    for (const Mat2& a : {mat(2, 0, -1, 1), mat(2, 1, 0, 1), mat(1, 0, 3, 5), mat(5, -2, 0, 1)}) {
        Vec<double, 2> l;
        Mat2 v;
        int status = -1;
        eigensys_2d(a, l, v, status);
        EXPECT_EQ(status, eig_distinct);
        expect_eigen_pairs(a, l, v, 1e-15);
    }
}

// --- attribution and interpolation ---------------------------------------------

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
    pb->x(1) = 0.123;  // not used when i = j, where the interval is empty
    attr_metr(g, 2, pb, 2, 2, pd);
    EXPECT_EQ(pd->mtr, metric(3, 3, 0));
    pb->x(1) = 0.7;
    attr_metr(g, 2, pb, 2, 3, pd);
    EXPECT_NEAR(pd->ellipse().axis(2), 1.55, 1e-15);
    EXPECT_NEAR(pd->ellipse().teta, 0.25, 1e-15);
}

TEST(IntMetrSeg2, SizesNotEntriesAreInterpolated) {
    Mat2 x;
    const Mat2 m = metric(2, 0.5, 0.4);
    int_metr_seg2(m, m, x, 0.3);
    EXPECT_EQ(x, m);
    // Distinct generalised eigenvalues: only the size across the angle changes.
    for (double t : {0.0, 1.2, 2.9}) {
        int_metr_seg2(metric(1, 1, t), metric(1, 2, t), x, 0.5);
        expect_mat_near(x, metric(1, 1.5, t), 1e-14);
    }
    Mat2 m0 = metric(1, 0.3, 0.2), m1 = metric(2, 0.5, 1.1);
    int_metr_seg2(m0, m1, x, 0.4);
    int_metr_seg2(m0, m1, m0, 0.4);  // the result may overwrite an input
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

TEST(IntMetrSeg2DeathTest, SingularFirstMetricStops) {
    Mat2 x;
    EXPECT_STOP(int_metr_seg2(mat(1, 2, 2, 4), Mat2::identity(), x, 0.5),
                "^ INVERT_2d: determinant is zero\n.*\n.*\n.*\n"
                " metric0 is not invertible!\n -- STOP -- \\(int_metr_seg\\)\n$");
}

// The triangle (0,0), (1,0), (0,1) times scale with the sizes 1, 2, 3 at its
// corners.
struct Triangle {
    simplex* s = new_simplex();
    point* q = new_point();  // scratch
    explicit Triangle(double scale = 1.0) {
        const double xy[4][2] = {{}, {0, 0}, {1, 0}, {0, 1}};
        for (int k = 1; k <= 3; ++k) {
            s->opp(k).pnt = at(scale * xy[k][0], scale * xy[k][1]);
            s->opp(k).pnt->mtr = iso(k);
        }
        simplex_facets(2, s);
    }
    point* v(int k) const { return s->opp(k).pnt; }
    Mat2 at_point(double x, double y) {
        point* p = at(x, y);
        int_metr_tria(s, p, q);
        return p->mtr;
    }
};

TEST(IntMetrTria, OnAnEdgeOrAtAVertexOnlyThatEdgeEnters) {
    Triangle t;
    t.v(1)->mtr = metric(1, 0.5, 0.3);
    t.v(2)->mtr = metric(2, 0.25, 1.0);
    Mat2 expected;
    int_metr_seg2(t.v(1)->mtr, t.v(2)->mtr, expected, 0.3);
    t.v(3)->mtr = iso(0.01);
    EXPECT_EQ(t.at_point(0.3, 0.0), expected);
    // Edge 2-3: from vertex 2 toward vertex 3, w read off y (as long in x as in y).
    int_metr_seg2(t.v(2)->mtr, t.v(3)->mtr, expected, 0.75);
    EXPECT_EQ(t.at_point(0.25, 0.75), expected);
    for (int k = 1; k <= 3; ++k) {
        const Mat2& m = t.v(k)->mtr;
        expect_mat_near(t.at_point(t.v(k)->x(1), t.v(k)->x(2)), m, 1e-12 * (m(1, 1) + m(2, 2)));
    }
}

TEST(IntMetrTria, InteriorSizesFollowALinearField) {
    // Sizes 1 + x + 2y at the vertices: interpolating sizes along two
    // straight segments reproduces the linear field everywhere inside, at
    // any scale of the coordinates.
    for (const double scale : {1.0, 1e-6}) {
        Triangle t(scale);
        for (const auto& xy : {vec(0.1, 0.8), vec(0.6, 0.3), vec(1.0 / 3, 1.0 / 3)})
            expect_mat_near(t.at_point(scale * xy(1), scale * xy(2)), iso(1 + xy(1) + 2 * xy(2)), 1e-12);
    }
}

// --- plot data sets --------------------------------------------------------------

// One triangle over the points (1, 0), (0, 2), (-1.5, 0.25), numbered 11..13.
struct PlotGrid {
    simplex* head = newhead_simplex();
    point* v[4] = {nullptr, at(1, 0), at(0, 2), at(-1.5, 0.25)};
    PlotGrid() {
        simplex* s = new_simplex();
        for (int k = 1; k <= 3; ++k) s->opp(k).pnt = v[k], v[k]->i = 10 + k;
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

// One data set: five header lines (the title padded to 40 characters after
// its leading blank), an empty line and the vertices with the values a, b, c.
std::string data_set(const std::string& title, const std::string& a, const std::string& b, const std::string& c) {
    return " $ DATA = CONTCURVE\n " + title + std::string(40 - title.size(), ' ') +
           "\n % contstyle = 2\n % cstep = 20\n % meshplot  = True\n\n"
           "  0.1000000E+01  0.0000000E+00" + a + "      11\n"
           "  0.0000000E+00  0.2000000E+01" + b + "      12\n"
           " -0.1500000E+01  0.2500000E+00" + c + "      13\n";
}

const std::string one = "  0.1000000E+01", zero = "  0.0000000E+00";

TEST(MPlot, EllipseRecomputesAxesAndAngleFromTheTensor) {
    PlotGrid g;
    g.v[1]->mtr = diag(4, 1);
    g.v[2]->mtr = diag(1, 4);
    g.v[3]->mtr = Mat2();  // a zero first entry keeps the stored values
    g.v[3]->ellipse().axis = vec(7, 8);
    g.v[3]->ellipse().teta = kPiSingle / 4;
    EXPECT_EQ(g.plot(-1), "");  // only options 0 and 1 write, and change nothing
    EXPECT_EQ(g.v[1]->ellipse().axis, vec(0, 0));
    EXPECT_EQ(g.plot(plot_ellipse),
              data_set("% toplabel = \"Ellipse semiaxis(1)\"", "  0.5000000E+00", one, "  0.7000000E+01") +
                  data_set("% toplabel = \"Ellipse semiaxis(2)\"", one, "  0.5000000E+00", "  0.8000000E+01") +
                  data_set("% toplabel = \"Teta [degrees]\"", zero, zero, "  0.4500000E+02"));
    EXPECT_EQ(g.v[2]->ellipse().axis, vec(1, 0.5));  // stored beside the point; a diagonal tensor keeps its order, unsorted
}

}  // namespace
}  // namespace corvan
