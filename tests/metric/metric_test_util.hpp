// Small builders shared by the metric tests.
#pragma once

#include <gtest/gtest.h>

#include "metric/metric_2d.hpp"

namespace corvan::test {

inline constexpr double kPi = 3.141592653589793;

inline Mat2 mat(double a11, double a12, double a21, double a22) {
    Mat2 m;
    m(1, 1) = a11, m(1, 2) = a12, m(2, 1) = a21, m(2, 2) = a22;
    return m;
}
inline Mat2 diag(double a, double b) { return mat(a, 0, 0, b); }
inline Vec<double, 2> vec(double a, double b) {
    Vec<double, 2> v;
    v(1) = a, v(2) = b;
    return v;
}
inline Vec<double, 3> par(double h1, double h2, double t) {
    Vec<double, 3> p;
    p(1) = h1, p(2) = h2, p(3) = t;
    return p;
}
// The metric of sizes h1 along angle t and h2 across it.
inline Mat2 metric(double h1, double h2, double t) {
    Vec<double, 2> axis;
    double teta = 0;
    Mat2 m;
    gen_metr(par(h1, h2, t), axis, teta, m);
    return m;
}
inline void expect_mat_near(const Mat2& a, const Mat2& b, double tol) {
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) EXPECT_NEAR(a(i, j), b(i, j), tol) << "(" << i << "," << j << ")";
}

}  // namespace corvan::test
