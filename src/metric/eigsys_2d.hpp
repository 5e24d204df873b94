// Closed-form operations on 2x2 matrices: inversion with a relative
// singularity test, and the eigen-decomposition of a matrix with real
// eigenvalues. The matrices are metric tensors or products of them.
#pragma once

#include "grid/one_based.hpp"

namespace corvan {

using Mat2 = Mat<double, 2, 2>;

// invert_2d status codes.
enum : int {
    inv_ok = 0,        // B holds the inverse
    inv_singular = 1,  // diagnostic lines written, B untouched
};
// eigensys_2d status codes.
enum : int {
    eig_multiple_of_identity = 0,  // one double eigenvalue, V = identity
    eig_distinct = 1,              // two distinct eigenvalues
};

// B := A^-1, status inv_ok; for a singular A (|det| <= 1e-8 N^2, N the sum
// of the absolute entries) the four diagnostic lines, B untouched, status
// inv_singular.
void invert_2d(const Mat2& a, Mat2& b, int& status);
// Eigenvalues and unit eigenvectors (columns of v, V(:, k) belonging to
// lambda(k)); status eig_distinct for distinct eigenvalues,
// eig_multiple_of_identity when A is treated as a multiple of the identity.
// Stops the program when A has no real eigenvalues (a zero matrix included).
void eigensys_2d(const Mat2& a, Vec<double, 2>& lambda, Mat2& v, int& status);

}  // namespace corvan
