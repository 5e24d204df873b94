#include "metric/eigsys_2d.hpp"

#include <algorithm>
#include <cmath>

#include "io/text_io.hpp"

namespace corvan {

namespace {

// A matrix is singular, or has no real eigenvalue, when the quantity tested
// falls below this fraction of the squared absolute entry sum N^2.
constexpr double kRelSingular = 1e-8;
// Off-diagonal part negligible relative to N; diagonal entries equal.
constexpr double kNegligible = 1e-12;

}  // namespace

void invert_2d(const Mat2& a, Mat2& b, int& status) {
    const double n = std::fabs(a(1, 1)) + std::fabs(a(1, 2)) + std::fabs(a(2, 1)) + std::fabs(a(2, 2));
    const double det = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
    // The test is relative to the size of the entries, so a zero matrix
    // (0 <= 0) is singular too.
    if (std::fabs(det) <= kRelSingular * (n * n)) {
        say({"INVERT_2d: determinant is zero"});
        say({a(1, 1), a(1, 2)});
        say({a(2, 1), a(2, 2)});
        say({"determinant:", det});
        status = inv_singular;
        return;
    }
    const double r = 1.0 / det;
    b(1, 1) = r * a(2, 2);
    b(2, 2) = r * a(1, 1);
    b(1, 2) = -r * a(1, 2);
    b(2, 1) = -r * a(2, 1);
    status = inv_ok;
}

void eigensys_2d(const Mat2& a_in, Vec<double, 2>& lambda, Mat2& v, int& status) {
    // Large entries are scaled down by the smallest of a11, a12, a22 so that
    // det and disc do not overflow; the eigenvalues are scaled back at the end.
    Mat2 a = a_in;
    double sigma = 1.0;
    const double g = std::min({std::fabs(a(1, 1)), std::fabs(a(1, 2)), std::fabs(a(2, 2))});
    if (g > 1.0) {
        sigma = g;
        for (int j = 1; j <= 2; ++j)
            for (int i = 1; i <= 2; ++i) a(i, j) = a(i, j) / g;
    }

    const double n = std::fabs(a(1, 1)) + std::fabs(a(2, 2)) + std::fabs(a(2, 1)) + std::fabs(a(1, 2));
    const double det = a(1, 1) * a(2, 2) - a(2, 1) * a(1, 2);
    const double tr = a(1, 1) + a(2, 2);
    const double disc = tr * tr - 4.0 * det;

    if (disc <= -(kRelSingular * (n * n))) {
        stop({ld_record({"eigensys_2d: matrix has no real eigenvalue"}), ld_record({"discriminant:", disc})});
    }

    if ((std::fabs(a(2, 1)) + std::fabs(a(1, 2))) / n < kNegligible || disc < 0.0) {
        // Diagonal within rounding: the eigenvalues keep the diagonal order.
        if (std::fabs(a(1, 1) - a(2, 2)) >= kNegligible) {
            lambda(1) = a(1, 1);
            lambda(2) = a(2, 2);
            status = eig_distinct;
        } else {
            lambda(1) = a(1, 1);
            lambda(2) = a(1, 1);
            status = eig_multiple_of_identity;
        }
        v = Mat2::identity();
    } else {
        // Adding the root with the sign of tr avoids cancellation, so
        // lambda(1) is the eigenvalue of larger magnitude and lambda(2)
        // follows from the determinant.
        const double sgn = std::signbit(tr) ? -1.0 : 1.0;
        lambda(1) = (tr + sgn * std::sqrt(disc)) / 2.0;
        lambda(2) = det / lambda(1);

        // Each eigenvector is orthogonal to a row of A - lambda I. The first
        // row serves lambda(1) and the second lambda(2); when the chosen row
        // vanishes (an unsymmetric matrix with one zero off-diagonal entry,
        // as the product M0^-1 M1 of two metrics can be) the other row is
        // used instead, since the chosen one gives no direction.
        double w = a(1, 1) - lambda(1);
        double r = std::sqrt(w * w + a(1, 2) * a(1, 2));
        if (r > 0.0) {
            v(1, 1) = a(1, 2) / r;
            v(2, 1) = -w / r;
        } else {
            w = a(2, 2) - lambda(1);
            r = std::sqrt(w * w + a(2, 1) * a(2, 1));
            v(1, 1) = w / r;
            v(2, 1) = -a(2, 1) / r;
        }

        w = a(2, 2) - lambda(2);
        r = std::sqrt(w * w + a(2, 1) * a(2, 1));
        if (r > 0.0) {
            v(1, 2) = w / r;
            v(2, 2) = -a(2, 1) / r;
        } else {
            w = a(1, 1) - lambda(2);
            r = std::sqrt(w * w + a(1, 2) * a(1, 2));
            v(1, 2) = a(1, 2) / r;
            v(2, 2) = -w / r;
        }
        status = eig_distinct;
    }

    lambda(1) = lambda(1) * sigma;
    lambda(2) = lambda(2) * sigma;
}

}  // namespace corvan
