#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "io/text_io.hpp"
#include "metric/eigsys_2d.hpp"
#include "support/test_support.hpp"

namespace corvan {
namespace {

Mat2 mat(double a11, double a12, double a21, double a22) {
    Mat2 m;
    m(1, 1) = a11;
    m(1, 2) = a12;
    m(2, 1) = a21;
    m(2, 2) = a22;
    return m;
}

// A V(:, k) = lambda(k) V(:, k) and |V(:, k)| = 1, relative to the size of A.
void expect_eigen_pairs(const Mat2& a, const Vec<double, 2>& lambda, const Mat2& v, double tol) {
    const double scale = std::fabs(a(1, 1)) + std::fabs(a(1, 2)) + std::fabs(a(2, 1)) + std::fabs(a(2, 2));
    for (int k = 1; k <= 2; ++k) {
        EXPECT_NEAR(v(1, k) * v(1, k) + v(2, k) * v(2, k), 1.0, 1e-14) << "column " << k;
        for (int i = 1; i <= 2; ++i) {
            const double av = a(i, 1) * v(1, k) + a(i, 2) * v(2, k);
            EXPECT_NEAR(av, lambda(k) * v(i, k), tol * scale) << "row " << i << " column " << k;
        }
    }
}

TEST(Invert2d, InverseTimesMatrixIsIdentity) {
    Mat2 b;
    int status = -1;
    invert_2d(Mat2::identity(), b, status);
    EXPECT_EQ(status, inv_ok);
    EXPECT_EQ(b, Mat2::identity());

    const Mat2 a = mat(4, 7, 2, 6);
    invert_2d(a, b, status);
    EXPECT_EQ(status, inv_ok);
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j)
            EXPECT_NEAR(a(i, 1) * b(1, j) + a(i, 2) * b(2, j), i == j ? 1.0 : 0.0, 1e-15);
}

TEST(Invert2d, SingularWritesFourLinesAndLeavesResultUntouched) {
    const Mat2 before = mat(9, 8, 7, 6);
    Mat2 b = before;
    int status = -1;
    testing::internal::CaptureStdout();
    invert_2d(mat(1, 2, 2, 4), b, status);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, inv_singular);
    EXPECT_EQ(b, before);
    EXPECT_EQ(out, " INVERT_2d: determinant is zero\n" + ld_record({1.0, 2.0}) + "\n" + ld_record({2.0, 4.0}) +
                       "\n" + ld_record({"determinant:", 0.0}) + "\n");

    // The test is relative: a zero matrix is singular, a tiny regular one is not.
    testing::internal::CaptureStdout();
    invert_2d(Mat2(), b, status);
    EXPECT_NE(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(status, inv_singular);
    invert_2d(mat(1e-20, 0, 0, 1e-20), b, status);
    EXPECT_EQ(status, inv_ok);
    EXPECT_DOUBLE_EQ(b(1, 1), 1e20);
}

TEST(Eigensys2d, DiagonalMatricesKeepTheirOrder) {
    Vec<double, 2> lambda;
    Mat2 v;
    int status = -1;
    eigensys_2d(mat(4, 0, 0, 9), lambda, v, status);
    EXPECT_EQ(lambda(1), 4.0);
    EXPECT_EQ(lambda(2), 9.0);
    EXPECT_EQ(v, Mat2::identity());
    EXPECT_EQ(status, eig_distinct);

    eigensys_2d(mat(3, 0, 0, 3), lambda, v, status);
    EXPECT_EQ(lambda(1), 3.0);
    EXPECT_EQ(lambda(2), 3.0);
    EXPECT_EQ(v, Mat2::identity());
    EXPECT_EQ(status, eig_multiple_of_identity);
}

TEST(Eigensys2d, SymmetricGeneralCaseLargerEigenvalueFirst) {
    Vec<double, 2> lambda;
    Mat2 v;
    int status = -1;
    eigensys_2d(mat(2, 1, 1, 2), lambda, v, status);
    EXPECT_EQ(status, eig_distinct);
    EXPECT_NEAR(lambda(1), 3.0, 1e-15);
    EXPECT_NEAR(lambda(2), 1.0, 1e-15);
    const double s = std::sqrt(0.5);
    EXPECT_NEAR(v(1, 1), s, 1e-15);
    EXPECT_NEAR(v(2, 1), s, 1e-15);
    EXPECT_NEAR(v(1, 2), s, 1e-15);
    EXPECT_NEAR(v(2, 2), -s, 1e-15);
}

TEST(Eigensys2d, LargeEntriesGiveTheEigenvaluesOfTheUnscaledMatrix) {
    Vec<double, 2> lambda;
    Mat2 v;
    int status = -1;
    // All entries above 1: scaled by 4 inside, scaled back on return.
    eigensys_2d(mat(10, 4, 4, 16), lambda, v, status);
    EXPECT_NEAR(lambda(1), 18.0, 1e-13);
    EXPECT_NEAR(lambda(2), 8.0, 1e-13);
    expect_eigen_pairs(mat(10, 4, 4, 16), lambda, v, 1e-15);

    // Unscaled, the determinant of this one would overflow.
    const Mat2 big = mat(2e200, 1e200, 1e200, 2e200);
    eigensys_2d(big, lambda, v, status);
    EXPECT_NEAR(lambda(1) / 3e200, 1.0, 1e-14);
    EXPECT_NEAR(lambda(2) / 1e200, 1.0, 1e-14);
    EXPECT_TRUE(std::isfinite(v(1, 1)) && std::isfinite(v(2, 2)));
}

TEST(Eigensys2d, RandomMetricsAndTheirProductsGiveTrueEigenpairs) {
    std::mt19937 gen(12345);
    std::uniform_real_distribution<double> h(0.01, 10.0), ang(0.0, 6.283185307179586);
    for (int n = 0; n < 200; ++n) {
        // Two metrics R D R^T and the unsymmetric product M0^-1 M1 that
        // metric interpolation decomposes.
        Mat2 m[2];
        for (Mat2& mk : m) {
            const double h1 = h(gen), h2 = h(gen), t = ang(gen);
            const double c = std::cos(t), s = std::sin(t), d1 = 1 / (h1 * h1), d2 = 1 / (h2 * h2);
            mk = mat(c * c * d1 + s * s * d2, c * s * (d1 - d2), c * s * (d1 - d2), s * s * d1 + c * c * d2);
        }
        Vec<double, 2> lambda;
        Mat2 v;
        int status = -1;
        eigensys_2d(m[0], lambda, v, status);
        expect_eigen_pairs(m[0], lambda, v, 1e-12);
        EXPECT_GE(lambda(1), lambda(2));

        Mat2 inv;
        invert_2d(m[0], inv, status);
        ASSERT_EQ(status, inv_ok);
        Mat2 p;
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) p(i, j) = inv(i, 1) * m[1](1, j) + inv(i, 2) * m[1](2, j);
        eigensys_2d(p, lambda, v, status);
        expect_eigen_pairs(p, lambda, v, 1e-10);
    }
}

// An unsymmetric matrix with one zero off-diagonal entry once gave 0/0
// eigenvectors: the row of A - lambda I used for a direction was all zero.
TEST(Eigensys2d, TriangularMatrixGivesFiniteEigenvectors) {
    for (const Mat2& a : {mat(2, 0, -1, 1), mat(2, 1, 0, 1), mat(1, 0, 3, 5), mat(5, -2, 0, 1)}) {
        Vec<double, 2> lambda;
        Mat2 v;
        int status = -1;
        eigensys_2d(a, lambda, v, status);
        EXPECT_EQ(status, eig_distinct);
        for (int k = 1; k <= 4; ++k) ASSERT_TRUE(std::isfinite(v.data()[k - 1]));
        expect_eigen_pairs(a, lambda, v, 1e-15);
    }
}

TEST(Eigensys2dDeathTest, NoRealEigenvalueStops) {
    Vec<double, 2> lambda;
    Mat2 v;
    int status = -1;
    EXPECT_STOP(eigensys_2d(mat(0, 1, -1, 0), lambda, v, status),
                "^ eigensys_2d: matrix has no real eigenvalue\n discriminant: *-4\\.0*E\\+00\n$");
    // A zero matrix meets the same test (0 <= -0).
    EXPECT_STOP(eigensys_2d(Mat2(), lambda, v, status), "no real eigenvalue");
}

}  // namespace
}  // namespace corvan
