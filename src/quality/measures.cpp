#include "quality/measures.hpp"

#include <algorithm>
#include <cmath>

namespace corvan {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

double cross(const Vec<double, 2>& u, const Vec<double, 2>& v) { return u(1) * v(2) - u(2) * v(1); }
double dot(const Vec<double, 2>& u, const Vec<double, 2>& v) { return u(1) * v(1) + u(2) * v(2); }
Vec<double, 2> minus(const Vec<double, 2>& p, const Vec<double, 2>& q) {
    Vec<double, 2> d;
    d(1) = p(1) - q(1);
    d(2) = p(2) - q(2);
    return d;
}

// The three angles from the side vectors: atan2 of the cross and dot
// products stays accurate for angles near 0 and 180 degrees.
void angles(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c, double area2,
            double out[3]) {
    const Vec<double, 2> ab = minus(b, a), ac = minus(c, a), bc = minus(c, b);
    out[0] = std::atan2(area2, dot(ab, ac));
    out[1] = std::atan2(area2, -dot(ab, bc));
    out[2] = std::atan2(area2, dot(ac, bc));
}

}  // namespace

TriangleShape triangle_shape(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c) {
    TriangleShape t;
    t.area2 = cross(minus(b, a), minus(c, a));
    if (!(t.area2 > 0.0)) return t;
    double ang[3];
    angles(a, b, c, t.area2, ang);
    t.min_angle = std::min({ang[0], ang[1], ang[2]}) * kDegrees;
    t.max_angle = std::max({ang[0], ang[1], ang[2]}) * kDegrees;
    const double la = std::hypot(c(1) - b(1), c(2) - b(2));
    const double lb = std::hypot(c(1) - a(1), c(2) - a(2));
    const double lc = std::hypot(b(1) - a(1), b(2) - a(2));
    // r = A / s and R = la lb lc / (4 A), with A = area2 / 2 and s the half perimeter.
    t.radius_ratio = 4.0 * t.area2 * t.area2 / ((la + lb + lc) * la * lb * lc);
    return t;
}

double min_angle(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c) {
    const double area2 = cross(minus(b, a), minus(c, a));
    if (!(area2 > 0.0)) return 0.0;
    double ang[3];
    angles(a, b, c, area2, ang);
    return std::min({ang[0], ang[1], ang[2]}) * kDegrees;
}

QuickShape quick_shape(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c) {
    QuickShape q;
    const double area2 = cross(minus(b, a), minus(c, a));
    if (!(area2 > 0.0)) return q;
    // sqrt, not hypot: this form runs in the optimiser's innermost loop, and
    // side lengths of a grid are far from overflow.
    const double la = std::sqrt((c(1) - b(1)) * (c(1) - b(1)) + (c(2) - b(2)) * (c(2) - b(2)));
    const double lb = std::sqrt((c(1) - a(1)) * (c(1) - a(1)) + (c(2) - a(2)) * (c(2) - a(2)));
    const double lc = std::sqrt((b(1) - a(1)) * (b(1) - a(1)) + (b(2) - a(2)) * (b(2) - a(2)));
    // The smallest angle lies between the two longer sides: sin = area2 / (their product).
    const double lmin = std::min({la, lb, lc});
    q.sin_min = area2 * lmin / (la * lb * lc);
    q.radius_ratio = 4.0 * area2 * area2 / ((la + lb + lc) * la * lb * lc);
    return q;
}

double length_over_spacing(const Vec<double, 2>& a, const Vec<double, 2>& b, double ha, double hb) {
    return std::hypot(b(1) - a(1), b(2) - a(2)) * 2.0 / (ha + hb);
}

}  // namespace corvan
