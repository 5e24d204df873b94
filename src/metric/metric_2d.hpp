// Metric tensors: construction from (h1, h2, theta), attribution to boundary
// points, projection on a curve, interpolation and the metric plot files.
#pragma once

#include "grid/grid_types.hpp"
#include "io/text_io.hpp"
#include "metric/eigsys_2d.hpp"

namespace corvan {

// Single-precision pi and 2 pi, used where angles are reduced.
inline constexpr double kPiSingle = 3.1415927410125732;
inline constexpr double kTwoPiSingle = 6.2831854820251465;

// copy := par; M := R(theta) diag(1/h1^2, 1/h2^2) R(theta)^T.
void gen_metr(const Vec<double, 3>& par, Vec<double, 2>& axis, double& teta, Mat2& m);
// pd's metric from the spacing data of edge ie of g at pb->x(1), between data points i and j.
void attr_metr(const grid_record& g, int ie, const point* pb, int i, int j, point* pd);
// Spacing along curve ic; for kind 0, h := par(1).
void proj_metr(int ic, int kind, double q, const Vec<double, 3>& par, double& h);
// Angle in [0, 2 pi) of the unit vector t.
void set_teta(double& theta, const Vec<double, 2>& t);
// Unit tangent of curve ic at q.
void gen_versor(int ic, double q, Vec<double, 2>& t);
// Length along the unit vector t of the ellipse of M: 1 / sqrt(t^T M t).
double projection(const Mat2& m, const Vec<double, 2>& t);

// M := the metric at fraction w from M0 to M1 (simultaneous reduction).
void int_metr_seg2(const Mat2& m0, const Mat2& m1, Mat2& m, double w);
// Replaces column 2 of V by a vector M0-conjugate to column 1.
void ortogon(const Mat2& m0, const Mat2& m1, Mat2& v);
// p->mtr := metric interpolated at p->x from the vertices of s (fct current);
// q is scratch.
void int_metr_tria(const simplex* s, point* p, point* q);

// Metric plot of the triangles of the list (option 0: tensor components,
// option 1: ellipse semi-axes and angle; other options write nothing).
void m_plot(TextFile& out, simplex* head, int option);

}  // namespace corvan
