#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "io/text_io.hpp"
#include "metric/eigsys_2d.hpp"
#include "metric_test_util.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

using test::diag;
using test::mat;

// A V(:, k) = lambda(k) V(:, k) and |V(:, k)| = 1, relative to the size of A.
void expect_eigen_pairs(const Mat2& a, const Vec<double, 2>& lambda, const Mat2& v, double tol) {
    const double scale = std::fabs(a(1, 1)) + std::fabs(a(1, 2)) + std::fabs(a(2, 1)) + std::fabs(a(2, 2));
    for (int k = 1; k <= 2; ++k) {
        EXPECT_NEAR(std::hypot(v(1, k), v(2, k)), 1.0, 1e-14) << "column " << k;
        for (int i = 1; i <= 2; ++i)
            EXPECT_NEAR(a(i, 1) * v(1, k) + a(i, 2) * v(2, k), lambda(k) * v(i, k), tol * scale) << i << k;
    }
}

TEST(Invert2d, RegularAndSingularMatrices) {
    Mat2 b;
    int status = -1;
    invert_2d(Mat2::identity(), b, status);
    EXPECT_EQ(status, inv_ok);
    EXPECT_EQ(b, Mat2::identity());
    // The test is relative to the entries: a tiny regular matrix inverts.
    invert_2d(diag(1e-20, 1e-20), b, status);
    EXPECT_EQ(status, inv_ok);
    EXPECT_DOUBLE_EQ(b(1, 1), 1e20);

    const Mat2 before = mat(9, 8, 7, 6);
    b = before;
    testing::internal::CaptureStdout();
    invert_2d(mat(1, 2, 2, 4), b, status);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " INVERT_2d: determinant is zero\n" + ld_record({1.0, 2.0}) + "\n" + ld_record({2.0, 4.0}) + "\n" +
                  ld_record({"determinant:", 0.0}) + "\n");
    EXPECT_EQ(status, inv_singular);
    EXPECT_EQ(b, before);
}

TEST(Eigensys2d, ClosedFormCases) {
    Vec<double, 2> l;
    Mat2 v;
    int status = -1;
    // Diagonal: the diagonal order, unsorted; equal entries give status 0.
    eigensys_2d(diag(4, 9), l, v, status);
    EXPECT_EQ(l, test::vec(4, 9));
    EXPECT_EQ(v, Mat2::identity());
    EXPECT_EQ(status, eig_distinct);
    eigensys_2d(diag(3, 3), l, v, status);
    EXPECT_EQ(l, test::vec(3, 3));
    EXPECT_EQ(status, eig_multiple_of_identity);

    // General: the larger first, with the sign convention of the formulas.
    eigensys_2d(mat(2, 1, 1, 2), l, v, status);
    EXPECT_EQ(status, eig_distinct);
    const double s = std::sqrt(0.5);
    test::expect_mat_near(v, mat(s, s, s, -s), 1e-15);
    EXPECT_NEAR(l(1), 3.0, 1e-15);
    EXPECT_NEAR(l(2), 1.0, 1e-15);

    // Entries above 1 are scaled inside and back on return; unscaled, the
    // determinant of the second one would overflow.
    eigensys_2d(mat(10, 4, 4, 16), l, v, status);
    EXPECT_NEAR(l(1), 18.0, 1e-13);
    EXPECT_NEAR(l(2), 8.0, 1e-13);
    eigensys_2d(mat(2e200, 1e200, 1e200, 2e200), l, v, status);
    EXPECT_NEAR(l(1) / 3e200, 1.0, 1e-14);
    EXPECT_NEAR(l(2) / 1e200, 1.0, 1e-14);
    test::expect_mat_near(v, mat(s, s, s, -s), 1e-15);
}

TEST(Eigensys2d, MetricsAndTheirProductsGiveTrueEigenpairs) {
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> h(0.01, 10.0), ang(0.0, 2 * test::kPi);
    for (int n = 0; n < 200; ++n) {
        // A metric, and the unsymmetric product M0^-1 M1 that interpolation decomposes.
        const Mat2 m0 = test::metric(h(gen), h(gen), ang(gen)), m1 = test::metric(h(gen), h(gen), ang(gen));
        Vec<double, 2> l;
        Mat2 v, inv, p;
        int status = -1;
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

TEST(Eigensys2dDeathTest, NoRealEigenvalueStops) {
    Vec<double, 2> l;
    Mat2 v;
    int status = -1;
    EXPECT_STOP(eigensys_2d(mat(0, 1, -1, 0), l, v, status),
                "^ eigensys_2d: matrix has no real eigenvalue\n discriminant: *-4\\.0*E\\+00\n$");
    // A zero matrix meets the same test (0 <= -0).
    EXPECT_STOP(eigensys_2d(Mat2(), l, v, status), "no real eigenvalue");
}

}  // namespace
}  // namespace corvan
