// Dense LU factorisation with partial pivoting, and its solver. Used for the
// small systems of simplex geometry; singularity shows only as det = 0, so
// callers test det before solving.
#pragma once

#include <cmath>
#include <utility>

#include "grid/one_based.hpp"

namespace corvan {

// Factors A (n x n, column-major view) in place. ipvt(1..n) receives the
// pivot rows, ipvt(n) ending as the sign of the permutation; det the signed
// product of the pivots. Multipliers are stored negated below the diagonal.
// Among pivots of equal magnitude the topmost row wins; a column that is zero
// from the diagonal down is skipped and leaves det = 0.
void lufact(int n, int* ipvt, MatView a, double& det);
// Solves A x = r with the factored A; r(1..n) is replaced by x. Divides by
// the diagonal without a test.
void lusolv(int n, const int* ipvt, MatView a, double* r);

// The same two routines written out for n = 1, 2, 3, on matrices the caller
// keeps on its stack. Every floating-point operation, the pivot choice and
// the skips of zero pivots and zero factors are those of lufact / lusolv, in
// the same order, so factors, det and solutions are identical bit for bit.
// They are inline and index the matrix with constants only (row exchanges
// are tests on the pivot row), so the matrix can stay in registers.
inline void lufact(Mat<double, 1, 1>& a, Vec<int, 1>& ipvt, double& det);
inline void lufact(Mat<double, 2, 2>& a, Vec<int, 2>& ipvt, double& det);
inline void lufact(Mat<double, 3, 3>& a, Vec<int, 3>& ipvt, double& det);
// r(1..n) is replaced by the solution.
inline void lusolv(const Mat<double, 1, 1>& a, const Vec<int, 1>& ipvt, double* r);
inline void lusolv(const Mat<double, 2, 2>& a, const Vec<int, 2>& ipvt, double* r);
inline void lusolv(const Mat<double, 3, 3>& a, const Vec<int, 3>& ipvt, double* r);

// --- definitions; each block names the step of the general loops it unrolls.

namespace linsys_detail {

// Exchanges entries (l, j) and (k, j) of a (l >= k; nothing when l = k).
template <int N>
inline void exchange(Mat<double, N, N>& a, int l, int k, int j) {
    for (int i = k + 1; i <= N; ++i) {
        if (i == l) std::swap(a(i, j), a(k, j));
    }
}

// Pivot row of column k: the first row from k down of largest magnitude.
template <int N>
inline int pivot_row(const Mat<double, N, N>& a, int k) {
    int l = k;
    double big = std::fabs(a(k, k));
    for (int i = k + 1; i <= N; ++i) {
        if (std::fabs(a(i, k)) > big) {
            l = i;
            big = std::fabs(a(i, k));
        }
    }
    return l;
}

// The last step, k = N - 1 (one row below the pivot), and the determinant.
template <int N>
inline void last_step(Mat<double, N, N>& a, Vec<int, N>& ipvt, int& sign, double& det) {
    constexpr int k = N - 1;
    const int l = pivot_row(a, k);
    ipvt(k) = l;
    if (l != k) sign = -sign;
    exchange(a, l, k, k);
    const double t = a(k, k);
    det = det * t;
    if (t != 0.0) {
        a(N, k) = -a(N, k) / t;
        exchange(a, l, k, N);
        const double s = a(k, N);
        if (s != 0.0) a(N, N) = a(N, N) + s * a(N, k);
    }
    ipvt(N) = sign;
    det = det * a(N, N) * ipvt(N);
}

}  // namespace linsys_detail

inline void lufact(Mat<double, 1, 1>& a, Vec<int, 1>& ipvt, double& det) {
    det = 1.0;
    ipvt(1) = 1;
    det = det * a(1, 1) * ipvt(1);
}

inline void lufact(Mat<double, 2, 2>& a, Vec<int, 2>& ipvt, double& det) {
    det = 1.0;
    int sign = 1;
    linsys_detail::last_step(a, ipvt, sign, det);
}

inline void lufact(Mat<double, 3, 3>& a, Vec<int, 3>& ipvt, double& det) {
    using linsys_detail::exchange;
    det = 1.0;
    int sign = 1;
    // k = 1
    const int l = linsys_detail::pivot_row(a, 1);
    ipvt(1) = l;
    if (l != 1) sign = -sign;
    exchange(a, l, 1, 1);
    const double t = a(1, 1);
    det = det * t;
    if (t != 0.0) {
        a(2, 1) = -a(2, 1) / t;
        a(3, 1) = -a(3, 1) / t;
        for (int j = 2; j <= 3; ++j) {
            exchange(a, l, 1, j);
            const double s = a(1, j);
            if (s == 0.0) continue;
            a(2, j) = a(2, j) + s * a(2, 1);
            a(3, j) = a(3, j) + s * a(3, 1);
        }
    }
    linsys_detail::last_step(a, ipvt, sign, det);
}

inline void lusolv(const Mat<double, 1, 1>& a, const Vec<int, 1>& /*ipvt*/, double* r) { r[0] = r[0] / a(1, 1); }

inline void lusolv(const Mat<double, 2, 2>& a, const Vec<int, 2>& ipvt, double* r) {
    double r1 = r[0], r2 = r[1];
    // Forward: k = 1.
    if (ipvt(1) == 2) std::swap(r1, r2);
    r2 = r2 + r1 * a(2, 1);
    // Backward: k = 2, then the first unknown.
    r2 = r2 / a(2, 2);
    r1 = r1 + -r2 * a(1, 2);
    r1 = r1 / a(1, 1);
    r[0] = r1;
    r[1] = r2;
}

inline void lusolv(const Mat<double, 3, 3>& a, const Vec<int, 3>& ipvt, double* r) {
    double r1 = r[0], r2 = r[1], r3 = r[2];
    // Forward: k = 1, 2.
    if (ipvt(1) == 2) std::swap(r1, r2);
    else if (ipvt(1) == 3) std::swap(r1, r3);
    r2 = r2 + r1 * a(2, 1);
    r3 = r3 + r1 * a(3, 1);
    if (ipvt(2) == 3) std::swap(r2, r3);
    r3 = r3 + r2 * a(3, 2);
    // Backward: k = 3, 2, then the first unknown.
    r3 = r3 / a(3, 3);
    r1 = r1 + -r3 * a(1, 3);
    r2 = r2 + -r3 * a(2, 3);
    r2 = r2 / a(2, 2);
    r1 = r1 + -r2 * a(1, 2);
    r1 = r1 / a(1, 1);
    r[0] = r1;
    r[1] = r2;
    r[2] = r3;
}

}  // namespace corvan
