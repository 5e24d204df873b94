// Metric tensors: construction from (h1, h2, theta), attribution to boundary
// points, projection on a curve, interpolation and the metric plot files.
//
// A metric M is a symmetric positive definite 2x2 tensor whose unit ball is
// the ideal element around a point: the size along a unit vector y is
// 1 / sqrt(y^T M y). A point's ellipse record (axis(1), axis(2), teta)
// holds the parameters (h1, h2, theta) from which its mtr was built.
#pragma once

#include "grid/grid_types.hpp"
#include "io/text_io.hpp"
#include "metric/eigsys_2d.hpp"

namespace corvan {

// Single-precision pi and 2 pi, used where angles are reduced.
inline constexpr double kPiSingle = 3.1415927410125732;
inline constexpr double kTwoPiSingle = 6.2831854820251465;

// Spacing data kinds of an edge (edge_record::kind).
enum : int {
    metric_isotropic = 0,  // spacing interpolated along the edge; the only kind the input makes
};

// m_plot options.
enum : int {
    plot_components = 0,  // mtr(1,1), mtr(1,2), mtr(2,2)
    plot_ellipse = 1,     // axis(1), axis(2), teta in degrees (recomputed from mtr)
};

// axis, teta := par; M := R(theta) diag(1/h1^2, 1/h2^2) R(theta)^T with
// (h1, h2, theta) = par. Requires h1, h2 non-zero.
void gen_metr(const Vec<double, 3>& par, Vec<double, 2>& axis, double& teta, Mat2& m);
// pd's axis, teta and mtr from the spacing data of edge ie of g at the curve
// parameter pb->x(1): data point i when i = j, otherwise linear interpolation
// of the parameters between data points i and j (sdata(i) != sdata(j)).
void attr_metr(const grid_record& g, int ie, const point* pb, int i, int j, point* pd);
// Spacing along curve ic at q for metric parameters par: par(1) for kind
// metric_isotropic; for any other kind the length along the curve tangent of
// the ellipse of par.
void proj_metr(int ic, int kind, double q, const Vec<double, 3>& par, double& h);
// Angle in [0, 2 pi) of the unit vector t, with the single-precision pi.
void set_teta(double& theta, const Vec<double, 2>& t);
// Unit tangent of curve ic at q (the curve's derivative must not vanish there).
void gen_versor(int ic, double q, Vec<double, 2>& t);
// Length along the unit vector t of the ellipse of M: 1 / sqrt(t^T M t).
double projection(const Mat2& m, const Vec<double, 2>& t);

// M := the metric at fraction w from M0 (w = 0) to M1 (w = 1): the sizes
// along the directions conjugate for both metrics are interpolated linearly.
// Stops the program when M0 or the reduction directions are singular. M may
// be the same object as M0 or M1.
void int_metr_seg2(const Mat2& m0, const Mat2& m1, Mat2& m, double w);
// Replaces column 2 of V by a unit-combination of both columns that is
// M0-conjugate to column 1 (M0 symmetric). M1 is not used.
void ortogon(const Mat2& m0, const Mat2& m1, Mat2& v);
// p->mtr := metric interpolated at p->x from the vertices of triangle s
// (fct current, p in the closed triangle). A point on an edge uses that edge
// only, a point within a relative 1e-9 of vertex 3 takes its metric; any
// other interior point needs a counter-clockwise s, else the program stops.
// q is scratch: its x and mtr are overwritten.
void int_metr_tria(const simplex* s, point* p, point* q);

// Metric plot of the triangles of the list (plot_components: three data
// sets of the tensor components; plot_ellipse: ellipse semi-axes and angle,
// recomputed into the points' ellipse records; other options write nothing).
void m_plot(TextFile& out, simplex* head, int option);

}  // namespace corvan
