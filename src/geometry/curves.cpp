#include "geometry/curves.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "geometry/banded.hpp"

namespace corvan {

int n_curv = 0;
Array1<curve> curv;

namespace {

// Records of the geometry file.
const Format fmt_h1("(4x,a6)");
const Format fmt_h2("(i10)");
const Format fmt_k1("(2(8x,a2))");
const Format fmt_k2("(2i10)");
const Format fmt_k3("(14x,a1,6(12x,a2,i1))");
const Format fmt_k4("(7e15.7)");

// The plane is the only space the files and the evaluation know.
constexpr int plane_nd = 2;

void require_text_form(int formatted, const char* routine) {
    if (formatted == 0) {
        stop({std::string(routine) + " error, only the text form of the file is supported", "(stop)"});
    }
}

std::string curve_label(int ic) { return ic > 0 ? "curve " + std::to_string(ic) : "curve"; }

// Checks the nd and ns just read from in (the record read last holds them).
void check_dimensions(const RecordReader& in, int ic, int nd, int ns) {
    if (nd != plane_nd) {
        in.reject(curve_label(ic) + ": nd = " + std::to_string(nd) + ", only plane curves (nd = 2) are known");
    }
    if (ns < min_curve_points || ns > max_curve_points) {
        in.reject(curve_label(ic) + ": ns = " + std::to_string(ns) + ", a curve needs 2 to " +
                  std::to_string(max_curve_points) + " points");
    }
}

void check_count(const RecordReader& in, int n) {
    if (n < 0 || n > max_curves) {
        in.reject("n_curv = " + std::to_string(n) + ", expected 0 to " + std::to_string(max_curves) + " curves");
    }
}

// The title and count records that open the knots and geometry files:
// allocates the table with n_curv empty curves.
void read_table_header(RecordReader& in) {
    in.skip();
    int n = 0;
    in.read("n_curv", n);
    check_count(in, n);
    n_curv = n;
    curv.assign(n_curv);
}

// The title and the nd, ns record of one curve of either file; allocates
// the curve's arrays.
void read_curve_header(RecordReader& in, curve& c, int ic) {
    int nd = 0, ns = 0;
    in.skip();
    in.read("nd, ns", nd, ns);
    check_dimensions(in, ic, nd, ns);
    c.nd = nd;
    c.ns = ns;
    c.s.assign(ns);
    c.x.assign(nd, ns);
    c.xs.assign(nd, ns);
}

}  // namespace

// ---------------------------------------------------------------------------
// Knots file

void new_curves(RecordReader& in, int formatted) {
    require_text_form(formatted, "new_curves");
    read_table_header(in);
    for (int i = 1; i <= n_curv; ++i) new_curve(in, formatted, curv(i), i);
}

void new_curve(RecordReader& in, int formatted, curve& c, int ic) {
    require_text_form(formatted, "new_curve");
    read_curve_header(in, c, ic);
    const int nd = c.nd, ns = c.ns;
    Array1<double> d1(nd), dn(nd);

    // End condition (alcond).
    int code = 0;
    in.skip();
    in.read("end condition code", code);
    if (code == end_clamped) {
        in.skip();
        in.read("end slopes d1(1), d1(2), dn(1), dn(2)", d1(1), d1(2), dn(1), dn(2));
    }
    if (code == end_periodic && ns < min_periodic_points) {
        in.reject(curve_label(ic) + ": a periodic curve needs at least 4 points, ns = " + std::to_string(ns));
    }

    // Points (alpnts). A repeated point would make a zero chord, and the
    // slope system divides by every chord.
    in.skip();
    const std::string what = "a point of " + curve_label(ic);
    for (int i = 1; i <= ns; ++i) {
        in.read(what, c.x(1, i), c.x(2, i));
        if (i > 1 && c.x(1, i) == c.x(1, i - 1) && c.x(2, i) == c.x(2, i - 1)) {
            in.reject(curve_label(ic) + ": point " + std::to_string(i) + " repeats point " + std::to_string(i - 1) +
                      " (zero chord)");
        }
    }

    Array1<double> a(ns), b(ns), u(ns);
    switch (code) {
    case end_natural:
        mkun(ends_natural, nd, ns, c.s, c.x, d1, dn, a, b, u, c.xs);
        break;
    case end_clamped:
        mkun(ends_clamped, nd, ns, c.s, c.x, d1, dn, a, b, u, c.xs);
        break;
    case end_periodic: {
        Array1<double> d(ns), e(ns);
        mkunp(nd, ns, c.s, c.x, a, b, u, d, e, c.xs);
        break;
    }
    default:
        stop({ld_record({"new_curve error, unknown end condition ", code}), "(stop)"});
    }
}

// ---------------------------------------------------------------------------
// Construction

void choun(int nd, int ns, const Array2<double>& x, Array1<double>& s) {
    s(1) = 0.0;
    for (int i = 2; i <= ns; ++i) {
        double sum = 0.0;
        for (int j = 1; j <= nd; ++j) {
            const double dx = x(j, i) - x(j, i - 1);
            sum = sum + dx * dx;
        }
        s(i) = s(i - 1) + std::sqrt(sum);
    }
}

void sysun(int nd, int ns, const Array1<double>& s, const Array2<double>& x, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array2<double>& xs) {
    for (int i = 2; i <= ns - 1; ++i) {
        a(i) = s(i + 1) - s(i);  // the interval after the point multiplies D(i-1)
        u(i) = s(i) - s(i - 1);  // the interval before it multiplies D(i+1)
        b(i) = 2.0 * (a(i) + u(i));
        for (int j = 1; j <= nd; ++j) {
            xs(j, i) = 3.0 * ((x(j, i) - x(j, i - 1)) * a(i) / u(i) + (x(j, i + 1) - x(j, i)) * u(i) / a(i));
        }
    }
}

void natun(int nd, int ns, const Array1<double>& s, const Array2<double>& x, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array2<double>& xs) {
    b(1) = 2.0;
    u(1) = 1.0;
    a(ns) = 1.0;
    b(ns) = 2.0;
    for (int j = 1; j <= nd; ++j) {
        xs(j, 1) = 3.0 * (x(j, 2) - x(j, 1)) / (s(2) - s(1));
        xs(j, ns) = 3.0 * (x(j, ns) - x(j, ns - 1)) / (s(ns) - s(ns - 1));
    }
}

void claun(int nd, int ns, const Array1<double>& d1, const Array1<double>& dn, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array2<double>& xs) {
    b(1) = 1.0;
    u(1) = 0.0;
    a(ns) = 0.0;
    b(ns) = 1.0;
    for (int j = 1; j <= nd; ++j) {
        xs(j, 1) = d1(j);
        xs(j, ns) = dn(j);
    }
}

void sysunp(int nd, int ns, const Array1<double>& s, const Array2<double>& x, Array1<double>& a,
            Array1<double>& b, Array1<double>& u, Array1<double>& d, Array1<double>& e,
            Array2<double>& xs) {
    const int n = ns - 1;  // unknowns D(1..n); D(ns) is D(1)
    // Row 1 reaches back over the closing interval to D(n).
    a(1) = s(2) - s(1);
    u(1) = s(ns) - s(ns - 1);
    b(1) = 2.0 * (u(1) + a(1));
    for (int j = 1; j <= nd; ++j) {
        xs(j, 1) = 3.0 * ((x(j, ns) - x(j, ns - 1)) * a(1) / u(1) + u(1) * (x(j, 2) - x(j, 1)) / a(1));
    }
    sysun(nd, ns, s, x, a, b, u, xs);
    // The two corners of the cyclic matrix go to the border vectors.
    e(1) = a(1);
    d(1) = u(n);
    for (int i = 2; i <= ns - 1; ++i) {
        d(i) = 0.0;
        e(i) = 0.0;
    }
}

void lastcp(int nd, Array2<double>& xs, int from, int to) {
    for (int j = 1; j <= nd; ++j) xs(j, to) = xs(j, from);
}

void mkun(int selector, int nd, int ns, Array1<double>& s, const Array2<double>& x,
          const Array1<double>& d1, const Array1<double>& dn, Array1<double>& a, Array1<double>& b,
          Array1<double>& u, Array2<double>& xs) {
    choun(nd, ns, x, s);
    if (selector == ends_natural) natun(nd, ns, s, x, a, b, u, xs);
    else if (selector == ends_clamped) claun(nd, ns, d1, dn, a, b, u, xs);
    // The interior rows come after the end rows: they write rows 2..ns-1 only.
    sysun(nd, ns, s, x, a, b, u, xs);
    luftr(ns, a, b, u);
    soltr(nd, ns, a, b, u, xs);
}

void mkunp(int nd, int ns, Array1<double>& s, const Array2<double>& x, Array1<double>& a,
           Array1<double>& b, Array1<double>& u, Array1<double>& d, Array1<double>& e,
           Array2<double>& xs) {
    const int n = ns - 1;
    choun(nd, ns, x, s);
    sysunp(nd, ns, s, x, a, b, u, d, e, xs);
    lufar(n, a, b, u, d, e);
    solar(nd, n, a, b, u, d, e, xs);
    lastcp(nd, xs, 1, ns);
}

// ---------------------------------------------------------------------------
// Geometry file

void save_curves(TextFile& out, int formatted) {
    require_text_form(formatted, "save_curves");
    out.fmt(fmt_h1, {"N_CURV"});
    out.fmt(fmt_h2, {n_curv});
    for (int i = 1; i <= n_curv; ++i) save_curve(out, formatted, curv(i));
}

void save_curve(TextFile& out, int formatted, const curve& c) {
    require_text_form(formatted, "save_curve");
    out.fmt(fmt_k1, {"ND", "NS"});
    out.fmt(fmt_k2, {c.nd, c.ns});
    asun(out, c.nd, c.ns, c.s, c.x, c.xs);
}

void asun(TextFile& out, int nd, int ns, const Array1<double>& s, const Array2<double>& x,
          const Array2<double>& xs) {
    // The file holds plane curves only: one title record and one record of
    // five values per point.
    if (nd != plane_nd) stop({"asun error, only plane curves (nd = 2) can be saved", "(stop)"});
    out.fmt(fmt_k3, {"S", " X", 1, " X", 2, "XS", 1, "XS", 2});
    for (int i = 1; i <= ns; ++i) {
        out.fmt(fmt_k4, {s(i), x(1, i), x(2, i), xs(1, i), xs(2, i)});
    }
}

void load_curves(RecordReader& in, int formatted) {
    require_text_form(formatted, "load_curves");
    read_table_header(in);
    for (int i = 1; i <= n_curv; ++i) load_curve(in, formatted, curv(i), i);
}

void load_curve(RecordReader& in, int formatted, curve& c, int ic) {
    require_text_form(formatted, "load_curve");
    read_curve_header(in, c, ic);
    const int nd = c.nd, ns = c.ns;
    alun(in, nd, ns, c.s, c.x, c.xs);
    // Knots must not decrease, and the last interval, which q = 1 selects,
    // must not be empty: evaluation divides by its length. (Inner intervals
    // may round to zero length in the file; the search never selects them.)
    for (int i = 2; i <= ns; ++i) {
        if (c.s(i) < c.s(i - 1)) {
            stop({" load_curve error in file " + in.name() + ": " + curve_label(ic) + ", knot " + std::to_string(i) +
                      " is smaller than knot " + std::to_string(i - 1),
                  "(stop)"});
        }
    }
    if (!(c.s(ns) > c.s(ns - 1))) {
        stop({" load_curve error in file " + in.name() + ": " + curve_label(ic) + ", its last interval is empty",
              "(stop)"});
    }
}

void alun(RecordReader& in, int nd, int ns, Array1<double>& s, Array2<double>& x, Array2<double>& xs) {
    if (nd != plane_nd) stop({"alun error, only plane curves (nd = 2) can be loaded", "(stop)"});
    in.skip();
    for (int i = 1; i <= ns; ++i) {
        in.read("s, x(1), x(2), xs(1), xs(2)", s(i), x(1, i), x(2, i), xs(1, i), xs(2, i));
    }
}

// ---------------------------------------------------------------------------
// Evaluation

namespace {

const curve& curve_at(int ic) {
    if (ic < 1 || ic > n_curv) {
        stop({ld_record({"evalc error, no curve number ", ic}), ld_record({"curves in the table: ", n_curv}),
              "(stop)"});
    }
    return curv(ic);
}

}  // namespace

const Array1<double>& evalc_s(int ic, int& ns) {
    const curve& c = curve_at(ic);
    ns = c.ns;
    return c.s;
}

void patch(int ns, const Array1<double>& s, double& q, double& h, int& i0, int& i1) {
    if (q < 0.0 || q > 1.0) {
        say({"patch warning, parameter out of range"});
        say({"parameter value = ", q});
        say({"parameter has been corrected"});
        q = std::min(std::max(q, 0.0), 1.0);
    }
    const double big_s = q * s(ns);
    int lo = 1, hi = ns;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (s(mid) <= big_s) lo = mid;
        else hi = mid;
    }
    i0 = lo;
    i1 = hi;
    h = s(i1) - s(i0);
    q = (big_s - s(i0)) / h;
}

namespace {

void point_at(const curve& c, double q, Vec<double, 2>& p) {
    double u = q, h = 0.0;
    int i0 = 0, i1 = 0;
    patch(c.ns, c.s, u, h, i0, i1);
    const double v = 1.0 - u;
    const double c0 = (1.0 + 2.0 * u) * v * v;
    const double c1 = u * v * v * h;
    const double c2 = u * u * (3.0 - 2.0 * u);
    const double c3 = u * u * v * h;
    for (int j = 1; j <= plane_nd; ++j) {
        p(j) = c0 * c.x(j, i0) + c1 * c.xs(j, i0) + c2 * c.x(j, i1) - c3 * c.xs(j, i1);
    }
}

}  // namespace

void evalc_0(int ic, double q, Vec<double, 2>& p) { point_at(curve_at(ic), q, p); }

double curve_gap(const curve& a, const curve& b) {
    double gap = 0.0;
    Vec<double, 2> pa, pb;
    auto sample = [&](double s) {
        const double q = std::min(s / a.s(a.ns), 1.0);
        point_at(a, q, pa);
        point_at(b, q, pb);
        gap = std::max(gap, std::hypot(pa(1) - pb(1), pa(2) - pb(2)));
    };
    for (int i = 1; i < a.ns; ++i) {
        sample(a.s(i));
        sample(0.5 * (a.s(i) + a.s(i + 1)));
    }
    sample(a.s(a.ns));
    return gap;
}

void evalc_1(int ic, double q, Vec<double, 2>& p) {
    const curve& c = curve_at(ic);
    double u = q, h = 0.0;
    int i0 = 0, i1 = 0;
    patch(c.ns, c.s, u, h, i0, i1);
    const double v = 1.0 - u;
    const double k = c.s(c.ns) / h;  // d(local parameter)/dq
    const double c0 = 6.0 * u * v;
    const double c1 = (v * v - 2.0 * u * v) * h;
    const double c3 = (u * u - 2.0 * u * v) * h;
    for (int j = 1; j <= plane_nd; ++j) {
        p(j) = k * (-c0 * c.x(j, i0) + c1 * c.xs(j, i0) + c0 * c.x(j, i1) + c3 * c.xs(j, i1));
    }
}

}  // namespace corvan
