// Chord-length parametrised cubic spline curves through the boundary points:
// the curve table, its construction from the knots file, its evaluation at a
// normalised parameter q in [0, 1] and the geometry file.
#pragma once

#include "grid/one_based.hpp"
#include "io/text_io.hpp"

namespace corvan {

struct curve {
    int nd = 0;          // coordinates per point (2 in the plane)
    int ns = 0;          // number of points
    Array1<double> s;    // knot parameters, s(1) = 0, cumulative chord length
    Array2<double> x;    // points x(1..nd, 1..ns)
    Array2<double> xs;   // slopes dx/dS x(1..nd, 1..ns)
};

// The curve table.
extern int n_curv;
extern Array1<curve> curv;

// End condition codes of the knots file.
enum : int { end_natural = 0, end_clamped = 1, end_periodic = 2 };

// Reads the knots file header and builds every curve (formatted must be non-zero).
void new_curves(RecordReader& in, int formatted);
void new_curve(RecordReader& in, int formatted, curve& c);

// Geometry file.
void save_curves(TextFile& out, int formatted);
void load_curves(RecordReader& in, int formatted);

// Number of points of curve ic and its knot array (a view, not a copy).
const Array1<double>& evalc_s(int ic, int& ns);
// Point / first derivative with respect to q of curve ic at q (q is not changed).
void evalc_0(int ic, double q, Vec<double, 2>& p);
void evalc_1(int ic, double q, Vec<double, 2>& p);
// Interval search: clamps q to [0, 1] (with a warning), returns the interval
// i0..i1, its length h and the local parameter in q.
void patch(int ns, const Array1<double>& s, double& q, double& h, int& i0, int& i1);

}  // namespace corvan
