// Chord-length parametrised cubic spline curves through the boundary points:
// the curve table, its construction from the knots file, its evaluation at a
// normalised parameter q in [0, 1] and the geometry file.
//
// On the interval [s(i), s(i+1)] a curve is the cubic Hermite interpolant of
// the points x(:, i), x(:, i+1) with the slopes xs(:, i), xs(:, i+1) (slopes
// with respect to the chord-length parameter S). The slopes make the curve
// twice continuously differentiable.
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

// The curve table: the module state of curves. A curve is known elsewhere
// by its index 1..n_curv in curv.
extern int n_curv;            // number of curves
extern Array1<curve> curv;    // the curves, 1..n_curv

// End condition codes of the knots file.
enum : int { end_natural = 0, end_clamped = 1, end_periodic = 2 };

// Selectors of mkun: which end rows close an open curve's slope system.
enum : int { ends_natural = 2, ends_clamped = 3 };

// Limits of the files: a larger count is taken as a corrupt file and stops
// the run before anything is allocated.
constexpr int max_curves = 1'000'000;          // curves in a knots or geometry file
constexpr int max_curve_points = 10'000'000;   // points of one curve
// Points a curve needs: one interval, and for a periodic curve three
// distinct points besides the repeated first one.
constexpr int min_curve_points = 2;
constexpr int min_periodic_points = 4;

// ---------------------------------------------------------------------------
// Knots file. Only the text form exists: formatted must be non-zero, zero
// stops the run. Stops, naming the file and the curve, on an nd other than 2,
// a count outside its limits, too few points, two equal consecutive points
// (a zero chord) or an unknown end condition.

// Reads the header and builds every curve into the table, in file order.
void new_curves(RecordReader& in, int formatted);
// Reads and builds one curve; ic is its number, used in messages only.
void new_curve(RecordReader& in, int formatted, curve& c, int ic = 0);

// ---------------------------------------------------------------------------
// Construction. Arrays are dimensioned by the caller: s(ns), x and xs
// (nd, ns), the band vectors a, b, u, d, e (ns). Consecutive points must
// differ, so that every chord is positive.

// Chord-length knots: s(1) = 0, s(i) = s(i-1) + |x(:, i) - x(:, i-1)|.
void choun(int nd, int ns, const Array2<double>& x, Array1<double>& s);
// Rows 2..ns-1 of the slope system (continuity of the second derivative);
// the right-hand sides go to xs.
void sysun(int nd, int ns, const Array1<double>& s, const Array2<double>& x, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array2<double>& xs);
// Rows 1 and ns for zero second derivatives at the ends.
void natun(int nd, int ns, const Array1<double>& s, const Array2<double>& x, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array2<double>& xs);
// Rows 1 and ns for given end slopes d1 and dn (d1(1..nd), dn(1..nd)).
void claun(int nd, int ns, const Array1<double>& d1, const Array1<double>& dn, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array2<double>& xs);
// The whole cyclic system of a closed curve (x(:, ns) repeats x(:, 1)) for
// the slopes D(1..ns-1), in bordered storage.
void sysunp(int nd, int ns, const Array1<double>& s, const Array2<double>& x, Array1<double>& a,
            Array1<double>& b, Array1<double>& u, Array1<double>& d, Array1<double>& e,
            Array2<double>& xs);
// Copies the nd values of column from of xs into column to.
void lastcp(int nd, Array2<double>& xs, int from, int to);
// Builds an open curve (selector ends_natural or ends_clamped): knots in s,
// slopes in xs. d1 and dn are read only for clamped ends. Requires ns >= 2.
void mkun(int selector, int nd, int ns, Array1<double>& s, const Array2<double>& x,
          const Array1<double>& d1, const Array1<double>& dn, Array1<double>& a, Array1<double>& b,
          Array1<double>& u, Array2<double>& xs);
// Builds a closed curve: knots in s, slopes in xs with xs(:, ns) = xs(:, 1).
// Requires ns >= 4.
void mkunp(int nd, int ns, Array1<double>& s, const Array2<double>& x, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array1<double>& d, Array1<double>& e,
           Array2<double>& xs);

// ---------------------------------------------------------------------------
// Geometry file (text form only; formatted must be non-zero). The knots and
// slopes are saved, not recomputed, so a loaded curve evaluates as the saved
// one did to the 7 digits of the file.

void save_curves(TextFile& out, int formatted);
void save_curve(TextFile& out, int formatted, const curve& c);
// The title record and one record per point: s(i), x(:, i), xs(:, i).
void asun(TextFile& out, int nd, int ns, const Array1<double>& s, const Array2<double>& x,
          const Array2<double>& xs);
// Replaces the table with the one of the file. Stops, naming the file and the
// curve, on an nd other than 2, a count outside its limits, or knots that
// decrease or end in an empty interval.
void load_curves(RecordReader& in, int formatted);
void load_curve(RecordReader& in, int formatted, curve& c, int ic = 0);
void alun(RecordReader& in, int nd, int ns, Array1<double>& s, Array2<double>& x, Array2<double>& xs);

// ---------------------------------------------------------------------------
// Evaluation of curve ic (1..n_curv; any other index stops the run). A q
// outside [0, 1] is clamped after a warning; the caller's q is not changed.

// Number of points of curve ic and its knot array (a view, not a copy).
const Array1<double>& evalc_s(int ic, int& ns);
// Point / first derivative with respect to q of curve ic at q.
void evalc_0(int ic, double q, Vec<double, 2>& p);
void evalc_1(int ic, double q, Vec<double, 2>& p);
// The largest distance between the points of curves a and b at the same q,
// sampled at the knots of a and the middles of its intervals. Both curves
// need 2 or more points.
double curve_gap(const curve& a, const curve& b);
// Interval search: clamps q to [0, 1] (with a warning), returns the interval
// i0..i1 = i0 + 1, its length h and the local parameter in q. A q landing on
// an interior knot selects the interval that starts there. Requires ns >= 2.
void patch(int ns, const Array1<double>& s, double& q, double& h, int& i0, int& i1);

}  // namespace corvan
