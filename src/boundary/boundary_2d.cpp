#include "boundary/boundary_2d.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "geometry/curves.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"
#include "metric/metric_2d.hpp"

namespace corvan {

BoundaryState boundary;

namespace {

// Laws of the spacing between two data points (idata).
enum : int {
    law_linear = 1,
    law_geometric = 2,
    law_cosine = 3,
};

std::string real_text(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.16E", v);
    return buf;
}

// A real as a place in a message shows it: shortest form, 9 digits.
std::string short_real(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

// Stops the run on edge data that cannot give a metric length.
[[noreturn]] void edge_data_stop(int e, const std::string& what) {
    stop({" Edge " + std::to_string(e) + ": " + what, "--STOP-- (metric_r_1d)"});
}

bool positive_finite(double h) { return std::isfinite(h) && h > 0.0; }

// Spacing at data point k of edge e, which must be positive and finite:
// everything downstream divides by it.
double data_spacing(const edge_record& ed, int e, int k) {
    Vec<double, 3> par;
    for (int r = 1; r <= 3; ++r) par(r) = ed.hdata(r, k);
    double h = 0.0;
    proj_metr(ed.icurv, ed.kind, ed.sdata(k), par, h);
    if (!positive_finite(h)) {
        edge_data_stop(e, "the spacing " + real_text(h) + " of data point " + std::to_string(k) +
                              " is not positive and finite");
    }
    return h;
}

// The checks that make the arithmetic of metric_r_1d safe on data built by
// hand (the problem input already guarantees them).
void check_edge_data(const grid_record& g, int e) {
    const edge_record& ed = g.edge(e);
    if (ed.icurv < 1 || ed.icurv > n_curv) {
        edge_data_stop(e, "curve number " + std::to_string(ed.icurv) + " is not in the curve table (1.." +
                              std::to_string(n_curv) + ")");
    }
    if (ed.ndata < 2) {
        edge_data_stop(e, "it has " + std::to_string(ed.ndata) + " spacing data points, at least 2 are needed");
    }
    if (ed.idata.size() < ed.ndata || ed.sdata.size() < ed.ndata || ed.hdata.rows() < 3 ||
        ed.hdata.cols() < ed.ndata) {
        edge_data_stop(e, "its spacing data arrays hold fewer than ndata = " + std::to_string(ed.ndata) + " points");
    }
    for (int k = 2; k <= ed.ndata; ++k) {
        const int law = ed.idata(k);
        if (law != law_linear && law != law_geometric && law != law_cosine) {
            edge_data_stop(e, "spacing law " + std::to_string(law) + " of data point " + std::to_string(k) +
                                  " is not 1, 2 or 3");
        }
    }
}

// h at fraction t of a data interval from hp to hk, by the law of the interval.
double spacing_law(int law, double hp, double hk, double t) {
    switch (law) {
        case law_linear:
            return hp + t * (hk - hp);
        case law_geometric:
            return hp * std::pow(hk / hp, t);
        default:  // law_cosine
            return (hk + hp) / 2.0 - std::cos(kPiSingle * t) * (hk - hp) / 2.0;
    }
}

// Stops the run: a segment of edge e is too short in curve parameter to be
// halved once more.
[[noreturn]] void stitch_stop(int e, double u1, double u2) {
    stop({" Boundary segment of edge " + std::to_string(e) + " from curve parameter " + real_text(u1) + " to " +
              real_text(u2),
          " cannot be halved any further: the boundary edges probably cross or touch each other.",
          "--STOP-- (stitch_boundary)"});
}

// The data points bracketing parameter u: i1 the last with sdata <= u, i2
// the first from i1 on with sdata >= u. Points come in increasing parameter,
// so the bracket of the point before is the place to start.
void move_bracket(const edge_record& ed, double u, int& i1, int& i2) {
    for (int k = ed.ndata; k >= i1; --k) {
        if (ed.sdata(k) <= u) {
            i1 = k;
            break;
        }
    }
    for (int k = i1; k <= ed.ndata; ++k) {
        if (ed.sdata(k) >= u) {
            i2 = k;
            break;
        }
    }
}

}  // namespace

const Array1<double>& metric_r_1d(int e, const grid_record& g, Array1<double>& L) {
    check_edge_data(g, e);
    const edge_record& ed = g.edge(e);
    int n = 0;
    const Array1<double>& s = evalc_s(ed.icurv, n);
    if (n < 2) edge_data_stop(e, "its curve has " + std::to_string(n) + " points, at least 2 are needed");
    L.assign(n, 0.0);

    // Spacing at every knot, interval by interval of the data.
    double h_prev = data_spacing(ed, e, 1);
    L(1) = h_prev;
    double s_prev = s(n) * ed.sdata(1);
    int i_prev = 1;
    for (int k = 2; k <= ed.ndata; ++k) {
        const double s_k = s(n) * ed.sdata(k);
        const double h_k = data_spacing(ed, e, k);
        int j = i_prev + 1;
        while (j <= n && s(j) < s_k) ++j;
        // The interval must hold a knot, or its spacing would reach no knot.
        if (j > n || j == i_prev + 1) {
            stop({ld_record({"build_h error for si = ", s_k}), "--STOP-- (metric_r_1d)",
                  " Edge " + std::to_string(e) + ": no point of its command lies between its spacing data points " +
                      std::to_string(k - 1) + " and " + std::to_string(k) + " (at " + short_real(ed.sdata(k - 1)) +
                      " and " + short_real(ed.sdata(k)) +
                      " of the curve); give the command more points or move the data points apart"});
        }
        for (int i = i_prev + 1; i <= j - 1; ++i) {
            const double t = (s(i) - s_prev) / (s_k - s_prev);
            L(i) = spacing_law(ed.idata(k), h_prev, h_k, t);
        }
        s_prev = s_k;
        i_prev = j - 1;
        h_prev = h_k;
    }
    // Knots between the last data point and the end of the curve would get
    // no spacing at all.
    if (i_prev + 1 <= n - 1) {
        edge_data_stop(e, "its spacing data end at position " + real_text(ed.sdata(ed.ndata)) +
                              ", before the end of its curve: the last data point must lie at 1");
    }
    L(n) = data_spacing(ed, e, ed.ndata);

    // Knots beyond the last data point, or spacing extrapolated before the
    // first one, can still leave a knot without a usable spacing.
    for (int i = 1; i <= n; ++i) {
        if (!positive_finite(L(i))) {
            edge_data_stop(e, "the spacing " + real_text(L(i)) + " at knot " + std::to_string(i) +
                                  " of its curve is not positive and finite");
        }
    }

    // Trapezoidal integral of 1/h, in place.
    double inv_prev = 1.0 / L(1);
    L(1) = 0.0;
    for (int i = 2; i <= n; ++i) {
        const double inv = 1.0 / L(i);
        L(i) = L(i - 1) + (s(i) - s(i - 1)) * (inv_prev + inv) / 2.0;
        inv_prev = inv;
    }

    if (!std::isfinite(L(n))) edge_data_stop(e, "its metric length " + real_text(L(n)) + " is not finite");
    // points_1d makes at most Ltot + 2 points.
    if (L(n) > static_cast<double>(kMaxEdgePoints) - 2.0) {
        edge_data_stop(e, "its metric length " + real_text(L(n)) + " would need more than " +
                              std::to_string(kMaxEdgePoints) + " points");
    }
    return s;
}

void points_1d(point* head, const Array1<double>& s, const Array1<double>& L) {
    const int n = L.size();
    const double ltot = L(n);
    int m = static_cast<int>(ltot);
    if (m < 1) m = 1;
    double dl = ltot / m;
    // Steps must not exceed one metric unit.
    if (dl > 1.0) {
        ++m;
        dl = ltot / m;
    }

    auto append = [head](double q) {
        point* p = new_point();
        p->x(1) = q;
        pushbot_point(head, p);
    };

    append(0.0);
    if (m < 2) {
        append(1.0);
        return;
    }
    // lt grows with p, so the knot search goes on from the previous point's interval.
    int j = 2;
    for (int p = 1; p <= m - 1; ++p) {
        const double lt = p * dl;
        while (j < n && L(j) < lt) ++j;
        const int i = j - 1;
        const double param = s(i) + (s(j) - s(i)) * (lt - L(i)) / (L(j) - L(i));
        append(param / s(n));
    }
    append(1.0);
}

void bou_r_points(grid_record& g) {
    static const Format segment_format("(a9,i2,a11,i4)");
    say({"Warning: n majored to obtain l<1"});

    for (int e = 1; e <= g.n_edge; ++e) {
        edge_record& ed = g.edge(e);
        if (ed.vbeg < 1 || ed.vbeg > g.n_vert || ed.vend < 1 || ed.vend > g.n_vert) {
            stop({" Edge " + std::to_string(e) + ": vertex numbers " + std::to_string(ed.vbeg) + " and " +
                      std::to_string(ed.vend) + " are not both in 1.." + std::to_string(g.n_vert),
                  "--STOP-- (bou_r_points)"});
        }
        const Array1<double>& s = metric_r_1d(e, g, boundary.len);
        points_1d(ed.add_head, s, boundary.len);

        // Each point walks from its predecessor when it is inserted.
        int count = 0;
        for (point* p = ed.add_head->next; p != ed.add_head; p = p->next) {
            ++count;
            p->edge = e;
            p->ref = p->prev;
        }
        point* first = poptop_point(ed.add_head);
        point* last = popbot_point(ed.add_head);
        first->edge = -e;
        first->ref = nullptr;
        last->edge = -e;
        say_fmt(segment_format, {" Segment ", e, "; points = ", count});
    }

    g.vert.assign(g.n_vert, nullptr);
    for (int v = 1; v <= g.n_vert; ++v) {
        point* pv = new_point();
        g.vert(v) = pv;
        pushtop_point(g.add_head, pv);
    }

    for (int e = 1; e <= g.n_edge; ++e) {
        const edge_record& ed = g.edge(e);
        point* first = poptop_point(ed.add_head);
        point* last = popbot_point(ed.add_head);
        // The end points' twins are the edge's vertices (at the data's first
        // and last spacing); every inner point gets a new twin, which waits
        // for insertion into the domain grid.
        int i1 = 1;
        int i2 = 1;
        for (point* p = first; p != ed.add_head; p = p->next) {
            const bool inner = (p != first && p != last);
            point* twin = (p == first) ? g.vert(ed.vbeg) : (p == last) ? g.vert(ed.vend) : new_point();
            p->ppp = twin;
            twin->edge = p->edge;
            // A closed edge keeps the position and metric of its first point.
            if (p == last && ed.vbeg == ed.vend) continue;
            evalc_0(ed.icurv, p->x(1), twin->x);
            if (p == last) i1 = i2 = ed.ndata;
            if (inner) move_bracket(ed, p->x(1), i1, i2);
            attr_metr(g, e, p, i1, i2, twin);
            if (inner) pushtop_point(g.add_head, twin);
        }
    }
}

void set_grid(grid_record& g) {
    Vec<double, 2> a;
    Vec<double, 2> b;
    a(1) = 0.0;
    b(1) = 1.0;
    for (int e = 1; e <= g.n_edge; ++e) {
        edge_record& ed = g.edge(e);
        set_delaunay(1, a, b, ed.axp_head, ed.axs_head, ed.spx_head);
    }

    const double big = std::numeric_limits<double>::max();
    for (int j = 1; j <= 2; ++j) {
        a(j) = big;
        b(j) = -big;
    }
    for (point* p = g.add_head->next; p != g.add_head; p = p->next) {
        for (int j = 1; j <= 2; ++j) {
            a(j) = std::fmin(a(j), p->x(j));
            b(j) = std::fmax(b(j), p->x(j));
        }
    }
    set_delaunay(2, a, b, g.axp_head, g.axs_head, g.spx_head);
}

void add_points_1d(grid_record& g) {
    for (int e = 1; e <= g.n_edge; ++e) {
        edge_record& ed = g.edge(e);
        merge_ie(ed.spx_head, ed.int_head, ed.ext_head);
        insert_list(1, ed.add_head, ed.spx_head, ed.pnt_head);
        split_ie_1d(1, ed.spx_head, ed.int_head, ed.ext_head);
    }
}

void add_points_12d(grid_record& g) {
    add_points_1d(g);
    for (;;) {
        merge_ie(g.spx_head, g.int_head, g.ext_head);
        // A twin has no ref: it is looked for from the one inserted before it,
        // its neighbour along the boundary.
        insert_list(2, g.add_head, g.spx_head, g.pnt_head);
        for (int e = 1; e <= g.n_edge; ++e) {
            edge_record& ed = g.edge(e);
            flag_shell(2, ed.int_head, g.spx_head, ed.stc_head);
        }
        int count = 0;
        stitch_boundary(g, count);
        if (count < 1) break;
        say({"Stitch points   = ", count});
        add_points_1d(g);
    }
    split_ie(2, g.spx_head, g.int_head, g.ext_head);
}

void stitch_boundary(grid_record& g, int& count) {
    count = 0;
    for (int e = 1; e <= g.n_edge; ++e) {
        edge_record& ed = g.edge(e);
        // halve_bou leaves sg in stc_head; the insertion of its midpoint removes it.
        for (simplex* sg = ed.stc_head->next; sg != ed.stc_head; sg = sg->next) {
            const point* v1 = sg->opp(1).pnt;
            const point* v2 = sg->opp(2).pnt;
            if (std::abs(v1->edge) != std::abs(v2->edge)) {
                say({"edge: first", v1->edge});
                say({"edge:second", v2->edge});
            }
            // Halving without end: a segment that no domain edge can join is
            // one crossed by another part of the boundary.
            if (std::fabs(v2->x(1) - v1->x(1)) < kMinStitchParam) stitch_stop(e, v1->x(1), v2->x(1));
            ++count;
            halve_bou(g, e, ed.icurv, sg);
        }
    }
}

void halve_bou(grid_record& g, int e, int ic, simplex* sg) {
    edge_record& ed = g.edge(e);
    point* v1 = sg->opp(1).pnt;
    point* v2 = sg->opp(2).pnt;
    const int parent = sg->int_spx() != nullptr ? sg->int_spx()->i : 0;

    point* p = new_point();
    point* q = new_point();

    p->edge = e;
    p->parent = parent;
    for (int j = 1; j <= 2; ++j) p->x(j) = (v1->x(j) + v2->x(j)) / 2.0;
    p->ref = v1;
    p->ppp = q;

    q->edge = e;
    q->parent = parent;
    q->ref = v1->ppp;
    for (int j = 1; j <= 2; ++j) {
        for (int i = 1; i <= 2; ++i) q->mtr(i, j) = (v1->ppp->mtr(i, j) + v2->ppp->mtr(i, j)) / 2.0;
    }
    evalc_0(ic, p->x(1), q->x);

    pushtop_point(ed.add_head, p);
    pushtop_point(g.add_head, q);
}

void boundary_grid(grid_record& g) {
    bou_r_points(g);
    set_grid(g);
    add_points_12d(g);
}

}  // namespace corvan
