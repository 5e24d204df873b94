#include "metric/metric_2d.hpp"

#include <cmath>
#include <string>

#include "delaunay/delaunay.hpp"
#include "geometry/curves.hpp"

namespace corvan {

namespace {

// Two metrics whose first eigenvalues agree to this relative tolerance are
// taken as equal.
constexpr double kSameMetric = 1e-8;
// A barycentric coordinate at or below this puts the point on the opposite edge.
constexpr double kOnEdge = 1e-12;
// A barycentric coordinate within this of 1 puts the point on that vertex.
constexpr double kAtVertex = 1e-9;
// The line from vertex 3 through the point must cross edge 1-2 at an angle
// whose sine is above this (a signed test: a clockwise triangle fails it).
constexpr double kMinCsiDen = 1e-12;

// Width of the title of a plot data set.
constexpr std::size_t kTitleWidth = 40;

// C := A B, summed in index order.
Mat2 mul(const Mat2& a, const Mat2& b) {
    Mat2 c;
    for (int j = 1; j <= 2; ++j)
        for (int i = 1; i <= 2; ++i) {
            double s = 0.0;
            for (int k = 1; k <= 2; ++k) s += a(i, k) * b(k, j);
            c(i, j) = s;
        }
    return c;
}

Mat2 transposed(const Mat2& a) {
    Mat2 t;
    for (int j = 1; j <= 2; ++j)
        for (int i = 1; i <= 2; ++i) t(i, j) = a(j, i);
    return t;
}

// y^T M x.
double form(const Mat2& m, const Vec<double, 2>& y, const Vec<double, 2>& x) {
    double s = 0.0;
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j) s += y(i) * m(i, j) * x(j);
    return s;
}

Vec<double, 2> column(const Mat2& v, int k) {
    Vec<double, 2> u;
    u(1) = v(1, k);
    u(2) = v(2, k);
    return u;
}

// Fraction of the way from a to b at which p lies, measured along the
// coordinate in which the segment a-b extends further.
double weight_along(const Vec<double, 2>& p, const Vec<double, 2>& a, const Vec<double, 2>& b) {
    Vec<double, 2> d, e;
    for (int k = 1; k <= 2; ++k) {
        d(k) = p(k) - a(k);
        e(k) = b(k) - a(k);
    }
    if (std::fabs(e(1)) <= std::fabs(e(2))) return d(2) / e(2);
    return d(1) / e(1);
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and projection

void gen_metr(const Vec<double, 3>& par, Vec<double, 2>& axis, double& teta, Mat2& m) {
    axis(1) = par(1);
    axis(2) = par(2);
    teta = par(3);
    const double h1 = par(1), h2 = par(2), theta = par(3);

    Mat2 r, d;
    const double co = std::cos(theta), si = std::sin(theta);
    r(1, 1) = co;
    r(1, 2) = -si;
    r(2, 1) = si;
    r(2, 2) = co;
    d(1, 1) = 1.0 / (h1 * h1);
    d(2, 2) = 1.0 / (h2 * h2);

    // R^T first, then D, then R: the rounding of every entry is that of
    // R (D R^T), which keeps the stored tensors reproducible.
    Mat2 t = transposed(r);
    t = mul(d, t);
    m = mul(r, t);
}

void attr_metr(const grid_record& g, int ie, const point* pb, int i, int j, point* pd) {
    const edge_record& e = g.edge(ie);
    Vec<double, 3> par;
    if (i == j) {
        for (int k = 1; k <= 3; ++k) par(k) = e.hdata(k, i);
    } else {
        // Linear in the curve parameter, the angle included.
        const double q = pb->x(1);
        const double w = (q - e.sdata(i)) / (e.sdata(j) - e.sdata(i));
        for (int k = 1; k <= 3; ++k) {
            const double a = e.hdata(k, i), b = e.hdata(k, j);
            par(k) = a + (b - a) * w;
        }
    }
    ellipse_record& el = pd->ellipse();
    gen_metr(par, el.axis, el.teta, pd->mtr);
}

void proj_metr(int ic, int kind, double q, const Vec<double, 3>& par, double& h) {
    if (kind == metric_isotropic) {
        h = par(1);
        return;
    }
    // Other kinds carry an ellipse; the spacing along the curve is its
    // length along the tangent.
    Vec<double, 2> axis, t;
    double teta = 0.0;
    Mat2 m;
    gen_metr(par, axis, teta, m);
    gen_versor(ic, q, t);
    h = projection(m, t);
}

void set_teta(double& theta, const Vec<double, 2>& t) {
    theta = std::asin(t(2));
    if (t(1) < 0.0) {
        theta = kPiSingle - theta;
    } else if (t(2) < 0.0) {
        theta = theta + kTwoPiSingle;
    }
}

void gen_versor(int ic, double q, Vec<double, 2>& t) {
    Vec<double, 2> d;
    evalc_1(ic, q, d);
    const double len = std::sqrt(d(1) * d(1) + d(2) * d(2));
    t(1) = d(1) / len;
    t(2) = d(2) / len;
}

double projection(const Mat2& m, const Vec<double, 2>& t) { return 1.0 / std::sqrt(form(m, t, t)); }

// ---------------------------------------------------------------------------
// Interpolation

void ortogon(const Mat2& m0, const Mat2& /*m1*/, Mat2& v) {
    const Vec<double, 2> u1 = column(v, 1), u2 = column(v, 2);
    const double z1 = form(m0, u1, u1);
    const double z2 = form(m0, u2, u1);
    // Divide by the larger of z1, z2 so that r stays at most 1 in magnitude.
    if (std::fabs(z1) <= std::fabs(z2)) {
        const double r = z1 / z2;
        const double s = std::sqrt(r * r + 1.0);
        for (int i = 1; i <= 2; ++i) v(i, 2) = (u1(i) - r * u2(i)) / s;
    } else {
        const double r = z2 / z1;
        const double s = std::sqrt(r * r + 1.0);
        for (int i = 1; i <= 2; ++i) v(i, 2) = (u2(i) - r * u1(i)) / s;
    }
}

void int_metr_seg2(const Mat2& m0, const Mat2& m1, Mat2& m, double w) {
    Mat2 m0inv;
    int status = inv_ok;
    invert_2d(m0, m0inv, status);
    if (status != inv_ok) {
        stop({ld_record({"metric0 is not invertible!"}), ld_record({"-- STOP -- (int_metr_seg)"})});
    }

    // The eigenvectors of M0^-1 M1 are the directions conjugate for both metrics.
    const Mat2 p = mul(m0inv, m1);
    Vec<double, 2> lambda;
    Mat2 v;
    int kind = eig_distinct;
    eigensys_2d(p, lambda, v, kind);
    ortogon(m0, m1, v);

    Mat2 result;
    if (kind == eig_multiple_of_identity) {
        // M1 = t M0: any M0-eigenbasis reduces both, and the eigenvalues of
        // the same index belong to the same axis.
        Vec<double, 2> l0, l1;
        Mat2 w0, w1;
        int s0 = 0, s1 = 0;
        eigensys_2d(m0, l0, w0, s0);
        eigensys_2d(m1, l1, w1, s1);
        if (std::fabs(1.0 - l0(1) / l1(1)) <= kSameMetric) {
            result = m0;
        } else {
            Mat2 d;
            for (int k = 1; k <= 2; ++k) {
                const double h0 = 1.0 / std::sqrt(l0(k));
                const double h1 = 1.0 / std::sqrt(l1(k));
                const double h = h0 + (h1 - h0) * w;
                d(k, k) = 1.0 / (h * h);
            }
            result = mul(w0, mul(d, transposed(w0)));
        }
    } else {
        // The sizes, not the tensor entries, are interpolated along u1 and u2.
        Mat2 d;
        for (int k = 1; k <= 2; ++k) {
            const Vec<double, 2> u = column(v, k);
            const double h0 = 1.0 / std::sqrt(form(m0, u, u));
            const double h1 = 1.0 / std::sqrt(form(m1, u, u));
            const double h = h0 + (h1 - h0) * w;
            d(k, k) = 1.0 / (h * h);
        }
        Mat2 vinv;
        invert_2d(v, vinv, status);
        if (status != inv_ok) {
            stop({ld_record({"eigenvectors is a Singular MATRIX"}), ld_record({v(1, 1), v(1, 2)}),
                  ld_record({v(2, 1), v(2, 2)}), ld_record({"-- STOP -- (int_metr_seg)"})});
        }
        // M = V^-T D V^-1 gives u_k^T M u_k = 1/h(k)^2 and u1^T M u2 = 0.
        result = mul(transposed(vinv), mul(d, vinv));
    }
    m = result;
}

void int_metr_tria(const simplex* s, point* p, point* q) {
    Vec<double, 3> b;
    eval_facets(2, p, s, b);

    // On (or within rounding of) the edge opposite vertex k: the opposite
    // vertex has no say, and the edge is interpolated from its first vertex.
    for (int k = 1; k <= 3; ++k) {
        if (b(k) <= kOnEdge) {
            const point* a = s->opp(k % 3 + 1).pnt;
            const point* e = s->opp((k + 1) % 3 + 1).pnt;
            int_metr_seg2(a->mtr, e->mtr, p->mtr, weight_along(p->x, a->x, e->x));
            return;
        }
    }

    // Inside: the line from vertex 3 through p meets edge 1-2 at q; interpolate
    // along 1-2 to q, then along q-3 to p.
    const point* t1 = s->opp(1).pnt;
    const point* t2 = s->opp(2).pnt;
    const point* t3 = s->opp(3).pnt;
    // So close to vertex 3 that the line has no direction: its metric.
    if (b(3) >= 1.0 - kAtVertex) {
        p->mtr = t3->mtr;
        return;
    }
    Vec<double, 2> a, f, g;
    for (int k = 1; k <= 2; ++k) {
        a(k) = t2->x(k) - t1->x(k);
        f(k) = t3->x(k) - t1->x(k);
        g(k) = p->x(k) - t3->x(k);
    }
    // den is |a| |g| times the sine of the crossing angle: the test is on the
    // sine, so that it holds at any scale of the coordinates.
    const double den = a(2) * g(1) - a(1) * g(2);
    if (den < kMinCsiDen * std::hypot(a(1), a(2)) * std::hypot(g(1), g(2))) {
        stop({" csi1 denominator is singular - STOP- (int_metr_tria)"});
    }
    const double csi1 = (g(1) * f(2) - g(2) * f(1)) / den;
    for (int k = 1; k <= 2; ++k) q->x(k) = t1->x(k) + csi1 * a(k);
    int_metr_seg2(t1->mtr, t2->mtr, q->mtr, csi1);
    int_metr_seg2(q->mtr, t3->mtr, p->mtr, weight_along(p->x, q->x, t3->x));
}

// ---------------------------------------------------------------------------
// Plot files

namespace {

const Format& vertex_format() {
    static const Format f("(3e15.7,i8)");
    return f;
}

void data_set_header(TextFile& out, const std::string& title) {
    out.ld({"$ DATA = CONTCURVE"});
    out.ld({pad_to(title, kTitleWidth)});
    out.ld({"% contstyle = 2"});
    out.ld({"% cstep = 20"});
    out.ld({"% meshplot  = True"});
}

// Axis and angle of the ellipse of the point's metric, unless its metric was
// never set (mtr(1,1) = 0), in which case the stored values stand.
void refresh_ellipse(point* p) {
    if (p->mtr(1, 1) == 0.0) return;
    Vec<double, 2> lambda;
    Mat2 v;
    int status = 0;
    eigensys_2d(p->mtr, lambda, v, status);
    ellipse_record& el = p->ellipse();
    el.axis(1) = 1.0 / std::sqrt(lambda(1));
    el.axis(2) = 1.0 / std::sqrt(lambda(2));
    set_teta(el.teta, column(v, 1));
}

// One data set: the header, then per triangle an empty line and one line per
// vertex with the value value(p) (which may update p).
template <class Value>
void data_set(TextFile& out, simplex* head, const std::string& title, Value value) {
    data_set_header(out, title);
    const Format& f = vertex_format();
    for (simplex* s = head->next; s != head; s = s->next) {
        out.line("");
        for (int k = 1; k <= 3; ++k) {
            point* p = s->opp(k).pnt;
            const double v = value(p);
            out.fmt(f, {p->x(1), p->x(2), v, p->i});
        }
    }
}

}  // namespace

void m_plot(TextFile& out, simplex* head, int option) {
    if (option == plot_components) {
        // The tensor is symmetric, so (2,1) is left out.
        static const int comp[3][2] = {{1, 1}, {1, 2}, {2, 2}};
        for (const auto& c : comp) {
            const int i = c[0], j = c[1];
            const std::string title =
                "% toplabel = Metric(" + std::to_string(i) + "," + std::to_string(j) + ")";
            data_set(out, head, title, [i, j](point* p) { return p->mtr(i, j); });
        }
    } else if (option == plot_ellipse) {
        for (int m = 1; m <= 2; ++m) {
            const std::string title = "% toplabel = \"Ellipse semiaxis(" + std::to_string(m) + ")\"";
            data_set(out, head, title, [m](point* p) {
                refresh_ellipse(p);
                return p->ellipse().axis(m);
            });
        }
        // The angle left by the semi-axis sets, not recomputed.
        data_set(out, head, "% toplabel = \"Teta [degrees]\"",
                 [](point* p) { return p->ellipse().teta * 180.0 / kPiSingle; });
    }
}

}  // namespace corvan
