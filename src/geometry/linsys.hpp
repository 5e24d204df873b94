// Dense LU factorisation with partial pivoting, and its solver. Used for the
// small systems of simplex geometry; singularity shows only as det = 0, so
// callers test det before solving.
#pragma once

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
void lufact(Mat<double, 1, 1>& a, Vec<int, 1>& ipvt, double& det);
void lufact(Mat<double, 2, 2>& a, Vec<int, 2>& ipvt, double& det);
void lufact(Mat<double, 3, 3>& a, Vec<int, 3>& ipvt, double& det);
// r(1..n) is replaced by the solution.
void lusolv(const Mat<double, 1, 1>& a, const Vec<int, 1>& ipvt, double* r);
void lusolv(const Mat<double, 2, 2>& a, const Vec<int, 2>& ipvt, double* r);
void lusolv(const Mat<double, 3, 3>& a, const Vec<int, 3>& ipvt, double* r);

}  // namespace corvan
