// Shape measures of a triangle and of a side, in one place: the optimiser,
// the report, the exports and the tests all judge a grid by these numbers.
#pragma once

#include "grid/one_based.hpp"

namespace corvan {

// The shape of a triangle a, b, c (counter-clockwise for a positive area).
struct TriangleShape {
    double area2 = 0.0;         // twice the signed area
    double min_angle = 0.0;     // smallest angle, degrees; 0 when area2 <= 0
    double max_angle = 180.0;   // largest angle, degrees; 180 when area2 <= 0
    double radius_ratio = 0.0;  // 2 r / R: 1 for an equilateral triangle, 0 when area2 <= 0
};

TriangleShape triangle_shape(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c);

// The smallest angle alone (degrees; 0 for a triangle without positive
// area): the cheap form for loops that only compare worst angles.
double min_angle(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c);

// The cheap form for loops that weigh many candidate positions of a node:
// the sine of the smallest angle (which never exceeds 60 degrees, so the
// sine orders triangles as the angle does) and the radius ratio; both 0 for
// a triangle without positive area.
struct QuickShape {
    double sin_min = 0.0;
    double radius_ratio = 0.0;
};
QuickShape quick_shape(const Vec<double, 2>& a, const Vec<double, 2>& b, const Vec<double, 2>& c);

// Length of the side a-b over the target spacing the grid aims for along it,
// the mean of the spacings ha and hb at its ends: about 1 on a grid that
// keeps its spacing; the frontal stage accepts a triangle whose sides all
// stay at or below 1.5.
double length_over_spacing(const Vec<double, 2>& a, const Vec<double, 2>& b, double ha, double hb);

}  // namespace corvan
