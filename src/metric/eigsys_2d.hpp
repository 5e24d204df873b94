// Closed-form operations on 2x2 matrices.
#pragma once

#include "grid/one_based.hpp"

namespace corvan {

using Mat2 = Mat<double, 2, 2>;

// B := A^-1, status 0; for a singular A the diagnostic lines, B untouched, status 1.
void invert_2d(const Mat2& a, Mat2& b, int& status);
// Eigenvalues and unit eigenvectors (columns of v); status 1 for distinct
// eigenvalues, 0 when A is treated as a multiple of the identity. Stops the
// program when A has no real eigenvalues.
void eigensys_2d(const Mat2& a, Vec<double, 2>& lambda, Mat2& v, int& status);

}  // namespace corvan
