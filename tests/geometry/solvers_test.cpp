#include <gtest/gtest.h>

#include "support/test_support.hpp"

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/banded.hpp"
#include "geometry/linsys.hpp"

namespace corvan {
namespace {

TEST(Lufact, TiePicksTopmostRowAndKeepsDiagonal) {
    Mat<double, 3, 3> a;
    // Column 1 has equal magnitudes 2 in rows 1 and 3: row 1 stays.
    a(1, 1) = 2; a(1, 2) = 1; a(1, 3) = 0;
    a(2, 1) = 1; a(2, 2) = 3; a(2, 3) = 1;
    a(3, 1) = -2; a(3, 2) = 0; a(3, 3) = 4;
    Vec<int, 3> ipvt;
    double det = 0;
    lufact(3, ipvt.data(), view(a), det);
    EXPECT_EQ(ipvt(1), 1);
    // det of the original matrix: 2(12-0) - 1(4+2) + 0 = 18.
    EXPECT_NEAR(det, 18.0, 1e-12);
}

TEST(Lufact, OneInterchangeFlipsSignOfPivotProduct) {
    Mat<double, 2, 2> a;
    a(1, 1) = 1; a(1, 2) = 2;
    a(2, 1) = 3; a(2, 2) = 4;
    Vec<int, 2> ipvt;
    double det = 0;
    lufact(2, ipvt.data(), view(a), det);
    EXPECT_EQ(ipvt(1), 2);
    EXPECT_EQ(ipvt(2), -1);
    EXPECT_DOUBLE_EQ(det, -2.0);
    EXPECT_DOUBLE_EQ(a(1, 1) * a(2, 2), 2.0);  // product of U's diagonal, opposite sign
    double r[2] = {5, 11};  // solution (1, 2)
    lusolv(2, ipvt.data(), view(a), r);
    EXPECT_NEAR(r[0], 1.0, 1e-14);
    EXPECT_NEAR(r[1], 2.0, 1e-14);
}

TEST(Lufact, ZeroColumnGivesZeroDeterminantAndContinues) {
    Mat<double, 3, 3> a;
    a(1, 1) = 0; a(1, 2) = 1; a(1, 3) = 2;
    a(2, 1) = 0; a(2, 2) = 3; a(2, 3) = 4;
    a(3, 1) = 0; a(3, 2) = 5; a(3, 3) = 7;
    Vec<int, 3> ipvt;
    double det = 1;
    lufact(3, ipvt.data(), view(a), det);
    EXPECT_EQ(det, 0.0);
    EXPECT_EQ(ipvt(1), 1);
    // Column 2 was still eliminated: pivot 5 from row 3.
    EXPECT_EQ(ipvt(2), 3);
}

TEST(Lufact, OneByOne) {
    Mat<double, 1, 1> a;
    a(1, 1) = -4;
    int ipvt[1];
    double det = 0;
    lufact(1, ipvt, view(a), det);
    EXPECT_EQ(det, -4.0);
}

// The fixed-size routines against the general ones, bit for bit: random
// matrices of mixed magnitudes, and matrices drawn from a few values (zeros of
// both signs, equal magnitudes, huge and tiny) that exercise pivot ties, zero
// pivots, zero factors and singular systems.
template <int N>
void check_fixed_size_solvers() {
    corvan::test::Xorshift64 draw{88172645463325252ull};
    const double few[] = {0.0, -0.0, 1.0, -1.0, 2.0, -2.0, 0.5, 1e-300, -1e300, 3.0};
    // A NaN (from a singular system) is compared as NaN: the compiler may
    // turn x + (-y) into x - y, which keeps every number but not a NaN's sign.
    auto bits = [](double v) { return std::isnan(v) ? 0x7ff8000000000000ull : std::bit_cast<std::uint64_t>(v); };
    for (int trial = 0; trial < 4000; ++trial) {
        Mat<double, N, N> fixed;
        for (double& v : fixed.v) {
            if (trial % 2 == 0) {
                const double m = static_cast<double>(draw() % 2000001) / 1000000.0 - 1.0;
                v = std::ldexp(m, static_cast<int>(draw() % 41) - 20);
            } else {
                v = few[draw() % (trial % 4 == 1 ? 3 : 10)];
            }
        }
        Mat<double, N, N> general = fixed;
        Vec<int, N> ip_fixed, ip_general;
        double det_fixed = 0, det_general = 0;
        lufact(fixed, ip_fixed, det_fixed);
        lufact(N, ip_general.data(), view(general), det_general);
        const std::string where = "N=" + std::to_string(N) + " trial " + std::to_string(trial);
        ASSERT_EQ(bits(det_fixed), bits(det_general)) << where;
        ASSERT_EQ(ip_fixed, ip_general) << where;
        for (int k = 0; k < N * N; ++k) ASSERT_EQ(bits(fixed.v[k]), bits(general.v[k])) << where;
        for (int rhs = 0; rhs <= N; ++rhs) {
            double r_fixed[N], r_general[N];
            for (int i = 0; i < N; ++i) {
                r_fixed[i] = rhs < N ? (i == rhs ? 1.0 : 0.0) : static_cast<double>(draw() % 1000) - 500.0;
                r_general[i] = r_fixed[i];
            }
            lusolv(fixed, ip_fixed, r_fixed);
            lusolv(N, ip_general.data(), view(general), r_general);
            for (int i = 0; i < N; ++i) ASSERT_EQ(bits(r_fixed[i]), bits(r_general[i])) << where << " rhs " << rhs;
        }
    }
}

TEST(Lufact, FixedSizesMatchGeneralRoutineBitForBit) {
    check_fixed_size_solvers<1>();
    check_fixed_size_solvers<2>();
    check_fixed_size_solvers<3>();
}

// Dense reference solve by Gaussian elimination with partial pivoting.
std::vector<double> dense_solve(std::vector<std::vector<double>> m, std::vector<double> r) {
    const int n = static_cast<int>(r.size());
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int i = k + 1; i < n; ++i)
            if (std::fabs(m[i][k]) > std::fabs(m[p][k])) p = i;
        std::swap(m[k], m[p]);
        std::swap(r[k], r[p]);
        for (int i = k + 1; i < n; ++i) {
            const double f = m[i][k] / m[k][k];
            for (int j = k; j < n; ++j) m[i][j] -= f * m[k][j];
            r[i] -= f * r[k];
        }
    }
    for (int i = n - 1; i >= 0; --i) {
        for (int j = i + 1; j < n; ++j) r[i] -= m[i][j] * r[j];
        r[i] /= m[i][i];
    }
    return r;
}

TEST(Banded, CyclicSystemMatchesDenseSolveForSeveralSizes) {
    for (int n : {3, 4, 5, 8, 13}) {
        Array1<double> a(n), b(n), u(n), d(n), e(n);
        std::vector<std::vector<double>> m(n, std::vector<double>(n, 0.0));
        for (int i = 1; i <= n; ++i) {
            b(i) = 4.0 + 0.1 * i;
            a(i) = 1.0 + 0.05 * i;   // coefficient of i-1 (row 1: of n)
            u(i) = 0.7 - 0.03 * i;   // coefficient of i+1 (row n: of 1)
        }
        for (int i = 1; i <= n; ++i) {
            m[i - 1][i - 1] = b(i);
            if (i > 1) m[i - 1][i - 2] = a(i);
            if (i < n) m[i - 1][i] = u(i);
        }
        m[0][n - 1] = a(1);   // corner (1, n)
        m[n - 1][0] = u(n);   // corner (n, 1)
        e(1) = a(1);
        d(1) = u(n);
        const int m_rhs = 2;
        Array2<double> x(m_rhs, n);
        std::vector<std::vector<double>> rhs(m_rhs, std::vector<double>(n));
        for (int j = 1; j <= m_rhs; ++j)
            for (int i = 1; i <= n; ++i) rhs[j - 1][i - 1] = x(j, i) = std::sin(1.0 * i * j) + j;
        lufar(n, a, b, u, d, e);
        solar(m_rhs, n, a, b, u, d, e, x);
        for (int j = 1; j <= m_rhs; ++j) {
            const std::vector<double> ref = dense_solve(m, rhs[j - 1]);
            for (int i = 1; i <= n; ++i) EXPECT_NEAR(x(j, i), ref[i - 1], 1e-12) << "n=" << n << " i=" << i;
        }
    }
}

TEST(Banded, TridiagonalSolveAndTrivialSizes) {
    const int n = 6;
    Array1<double> a(n), b(n), u(n);
    std::vector<std::vector<double>> m(n, std::vector<double>(n, 0.0));
    for (int i = 1; i <= n; ++i) {
        a(i) = 1.0; b(i) = 3.0 + i; u(i) = -1.0;
        m[i - 1][i - 1] = b(i);
        if (i > 1) m[i - 1][i - 2] = a(i);
        if (i < n) m[i - 1][i] = u(i);
    }
    Array2<double> x(1, n);
    std::vector<double> r(n);
    for (int i = 1; i <= n; ++i) r[i - 1] = x(1, i) = i * i;
    luftr(n, a, b, u);
    soltr(1, n, a, b, u, x);
    const std::vector<double> ref = dense_solve(m, r);
    for (int i = 1; i <= n; ++i) EXPECT_NEAR(x(1, i), ref[i - 1], 1e-13);

    Array1<double> a1(1, 7.0), b1(1, 2.0), u1(1, 9.0);
    luftr(1, a1, b1, u1);
    EXPECT_EQ(a1(1), 7.0);
    EXPECT_EQ(b1(1), 2.0);
    Array2<double> x1(2, 1);
    x1(1, 1) = 3.0;
    x1(2, 1) = -4.0;
    soltr(2, 1, a1, b1, u1, x1);
    EXPECT_EQ(x1(1, 1), 1.5);
    EXPECT_EQ(x1(2, 1), -2.0);
}

}  // namespace
}  // namespace corvan
