#include "domain/back_2d.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "grid/convert.hpp"
#include "domain/front_2d.hpp"
#include "input/init_data.hpp"
#include "grid/list.hpp"
#include "metric/metric_2d.hpp"

namespace corvan {

namespace {

// A background point closer to another point than this share of its
// spacing is taken as lying on it.
constexpr double kCoincident = 1e-9;

// A background spacing beyond this multiple of the domain's size means
// nothing (no triangle can be larger than the domain) and would defeat the
// coincidence test below: it is taken as a mistake in the file.
constexpr double kMaxSpacingShare = 1e6;

// Largest number of background points a domain file may declare.
constexpr int kMaxBackgroundPoints = 10000000;

// A real as a diagnostic shows it: shortest form, 9 significant digits.
std::string short_real(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

}  // namespace

void load_back_read(RecordReader& in, grid_record& back) {
    for (int k = 0; k < 4; ++k) in.skip();
    read_boundary_counts(in, back);
    for (int k = 0; k < 3; ++k) in.skip();
    // Section 2: only stepped over; the commands were read by the problem input.
    for (int e = 1; e <= back.n_edge; ++e) {
        in.skip();
        const int command = boundary_command(in.read_a("the command of edge " + std::to_string(e), 20));
        if (command == cmd_unknown) command_not_known();
        for (int k = command_records(command); k > 0; --k) in.skip();
        in.skip();
        in.skip();
    }
    read_topology(in, back);
}

void build_back(RecordReader& dom, grid_record& grid, grid_record& back) {
    // A boundary point's spacing is the length of the boundary segment that
    // ends at it; a point that ends no segment keeps the largest double.
    // The box of the boundary points gives the size of the domain.
    double lo1 = std::numeric_limits<double>::max(), lo2 = lo1, hi1 = -lo1, hi2 = -lo1;
    for (point* p = grid.pnt_head->next; p != grid.pnt_head; p = p->next) {
        p->h = std::numeric_limits<double>::max();
        lo1 = std::min(lo1, p->x(1));
        hi1 = std::max(hi1, p->x(1));
        lo2 = std::min(lo2, p->x(2));
        hi2 = std::max(hi2, p->x(2));
    }
    const double size = std::hypot(hi1 - lo1, hi2 - lo2);
    for (int e = 1; e <= grid.n_edge; ++e) {
        simplex* head = grid.edge(e).int_head;
        for (simplex* b = head->next; b != head; b = b->next) {
            point* p = b->opp(2).pnt->ppp;
            point* q = b->opp(1).pnt->ppp;
            const double d = std::sqrt(segment_length(2, p, q));
            if (d < p->h) p->h = d;
        }
    }

    g_copy(grid, back);

    // The copies are in the same order as their originals.
    point* q = back.pnt_head->next;
    for (point* p = grid.pnt_head->next; p != grid.pnt_head; p = p->next, q = q->next) {
        p->ppp = q;
        q->h = p->h;
        if (p->ell != 0) q->ellipse() = p->ellipse();
        q->mtr = p->mtr;
    }

    dom.skip();
    dom.skip();
    int npts = 0;
    dom.read("the number of background points", npts);
    if (npts < 0 || npts > kMaxBackgroundPoints) {
        dom.reject("the number of background points must lie in 0.." + std::to_string(kMaxBackgroundPoints) +
                   "; found " + std::to_string(npts));
    }
    dom.skip();
    say_line("");
    if (npts > 0) say({"Backgrid points..."});

    // External triangles must not join a background point's cavity: the new
    // triangles would straddle the boundary and take their spacing from
    // outside the domain. Like the frontal stage, give them the far status
    // while inserting.
    set_status(back.ext_head, st_far);
    // Each point is looked for from an inserted one nearby.
    NearPoints inserted_points(Vec<double, 2>{{lo1, lo2}}, Vec<double, 2>{{hi1, hi2}}, npts);
    for (int n = 1; n <= npts; ++n) {
        point* p = new_point();
        double x1 = 0, x2 = 0, h = 0;
        dom.read("x(1), x(2), h of background point " + std::to_string(n), x1, x2, h);
        if (!(h > 0.0)) {
            dom.reject("background point " + std::to_string(n) + ": the spacing h must be positive; found " +
                       short_real(h));
        }
        if (h > kMaxSpacingShare * size) {
            dom.reject("background point " + std::to_string(n) + ": the spacing h = " + short_real(h) +
                       " is more than a million times the size of the domain (" + short_real(size) + ")");
        }
        p->x(1) = x1;
        p->x(2) = x2;
        Vec<double, 3> par;
        par(1) = h;
        par(2) = h;
        par(3) = 0.0;
        ellipse_record& el = p->ellipse();
        gen_metr(par, el.axis, el.teta, p->mtr);
        // A point outside the domain, on its boundary or on another point
        // cannot carry spacing soundly (its triangles would lie outside or
        // be flat): the kernel's far-point test, with a distance too small
        // to matter otherwise, tells them apart.
        p->h = h;
        int inserted = 0;
        insert_fixed_point(2, back.int_head, p, kCoincident, inserted, inserted_points.near(p));
        if (inserted == 0) {
            dom.reject("background point " + std::to_string(n) + " at (" + short_real(x1) + ", " + short_real(x2) +
                       ") lies outside the domain, on its boundary or on another point; move it into the domain");
        }
        inserted_points.add(p);
    }
    set_status(back.ext_head, st_external);
}

void eval_back(point* pnt, simplex* head, simplex*& spx, int& flag) {
    flag = 1;
    simplex* s = pnt->ref->ppp->spx;
    int mode = walk_avoid_external;
    walking_search(2, pnt, s, mode);
    if (mode == walk_found) {
        flag = 0;
    } else {
        trivial_search(2, head, pnt, s, flag);
        if (flag == 1) return;
    }
    if (s->status == st_external) {
        say({"eval_back: element status external:", s->status});
        stop({"- STOP - (eval_back)"});
    }
    Vec<double, 3> lambda;
    for (int k = 1; k <= 3; ++k) {
        const double l = facet_value(s, k, pnt->x(1), pnt->x(2));
        lambda(k) = l < 0.0 ? 0.0 : l;
    }
    double h = 0.0;
    for (int k = 1; k <= 3; ++k) h += lambda(k) * s->opp(k).pnt->h;
    pnt->h = h;
    int best = 1;
    for (int k = 2; k <= 3; ++k) {
        if (lambda(k) >= lambda(best)) best = k;
    }
    pnt->ppp = s->opp(best).pnt;
    spx = s;
}

}  // namespace corvan
