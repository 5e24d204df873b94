#include <gtest/gtest.h>

#include <cmath>

#include "quality/measures.hpp"

namespace corvan {
namespace {

Vec<double, 2> P(double x, double y) { return vec2(x, y); }

TEST(Measures, KnownTriangles) {
    const TriangleShape eq = triangle_shape(P(0, 0), P(1, 0), P(0.5, std::sqrt(0.75)));
    EXPECT_NEAR(eq.min_angle, 60.0, 1e-12);
    EXPECT_NEAR(eq.max_angle, 60.0, 1e-12);
    EXPECT_NEAR(eq.radius_ratio, 1.0, 1e-12);

    // Right isosceles: 2r/R = 2 (sqrt 2 - 1).
    const TriangleShape right = triangle_shape(P(0, 0), P(1, 0), P(0, 1));
    EXPECT_NEAR(right.min_angle, 45.0, 1e-12);
    EXPECT_NEAR(right.max_angle, 90.0, 1e-12);
    EXPECT_NEAR(right.radius_ratio, 2.0 * (std::sqrt(2.0) - 1.0), 1e-12);
    EXPECT_NEAR(right.area2, 1.0, 1e-15);

    // A sliver keeps an accurate small angle; turned over or flat, no shape.
    EXPECT_NEAR(min_angle(P(0, 0), P(1, 0), P(0.5, 1e-9)), std::atan(2e-9) * 180.0 / M_PI, 1e-15);
    for (const TriangleShape& bad : {triangle_shape(P(0, 0), P(0, 1), P(1, 0)), triangle_shape(P(0, 0), P(1, 0), P(2, 0))}) {
        EXPECT_LE(bad.area2, 0.0);
        EXPECT_EQ(bad.min_angle, 0.0);
        EXPECT_EQ(bad.radius_ratio, 0.0);
    }
    EXPECT_DOUBLE_EQ(length_over_spacing(P(0, 0), P(3, 4), 4.0, 6.0), 1.0);
}

}  // namespace
}  // namespace corvan
