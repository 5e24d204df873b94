// Factorisation and solution, without pivoting, of the tridiagonal and the
// bordered (cyclic) tridiagonal systems of the spline construction. The m
// right-hand sides of X(m, n) (component j, variable i) share one matrix and
// are solved in place.
//
// Tridiagonal storage: a(i) coefficient of variable i-1 in row i (a(1) unused),
// b(i) the diagonal, u(i) coefficient of variable i+1 in row i (u(n) unused).
// Bordered storage (n >= 3) adds the last column e(1..n-2) and the last row
// d(1..n-2); a(n) is element (n, n-1), b(n) the corner, u(n-1) element (n-1, n).
#pragma once

#include "grid/one_based.hpp"

namespace corvan {

// Factors a tridiagonal matrix in place; nothing when n < 2.
void luftr(int n, Array1<double>& a, Array1<double>& b, const Array1<double>& u);
// Solves the m systems X(j, :) in place with the factored matrix.
void soltr(int m, int n, const Array1<double>& a, const Array1<double>& b, const Array1<double>& u,
           Array2<double>& x);
// Factors a bordered tridiagonal matrix in place; requires n >= 3.
void lufar(int n, Array1<double>& a, Array1<double>& b, Array1<double>& u, Array1<double>& d,
           Array1<double>& e);
// Solves the m bordered systems in place; requires n >= 3.
void solar(int m, int n, const Array1<double>& a, const Array1<double>& b, const Array1<double>& u,
           const Array1<double>& d, const Array1<double>& e, Array2<double>& x);

}  // namespace corvan
