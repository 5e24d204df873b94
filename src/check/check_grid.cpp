#include "check/check_grid.hpp"

#include <cmath>

#include "geometry/curves.hpp"
#include "grid/convert.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"

namespace corvan {

namespace {

// Points closer than the tolerance in both coordinates are one point. A
// coordinate that is not a number never matches.
bool same_place(double ax, double ay, double bx, double by) {
    return std::fabs(ax - bx) <= check_tolerance && std::fabs(ay - by) <= check_tolerance;
}

// The curve of edge e, with its end points; stops the run when the edge
// names no curve of the table or the curve has no points.
const curve& edge_curve(const grid_record& grid, int e) {
    const int ic = grid.edge(e).icurv;
    if (ic < 1 || ic > curv.size() || curv(ic).ns < 1) {
        stop({ld_record({}), ld_record({"*** Problems with boundary", e}),
              ld_record({"No points on curve", ic})});
    }
    return curv(ic);
}

double first_x(const curve& c, int j) { return c.x(j, 1); }
double last_x(const curve& c, int j) { return c.x(j, c.ns); }

// The report sink of check_consistency: prints the records, or only counts.
struct Reporter {
    bool print;
    consistency_problems counts;

    void blind() {
        ++counts.blind;
        if (print) {
            say({});
            say({"blind neighbour"});
        }
    }
    void cmat_diag() {
        ++counts.cmat_diag;
        if (print) {
            say({});
            say({"cmat diagonal fault"});
        }
    }
    void cmat_extra() {
        ++counts.cmat_extra;
        if (print) {
            say({});
            say({"cmat extradiagonal fault"});
            say({"tolerance", check_tolerance});
        }
    }
    void neighs(const simplex* bs, const simplex* t) {
        ++counts.neighs;
        if (!print) return;
        say({});
        say({"neighs fault"});
        say({"Internal found, not pointing to 0"});
        say({"Boundary simplex:", bs->i});
        for (int m = 1; m <= 2; ++m) {
            const point* v = bs->opp(m).pnt;
            if (v != nullptr && v->ppp != nullptr) say({v->ppp->x(1), v->ppp->x(2)});
        }
        say({"Corresponding domain simplex:", t->i});
        say({"neigh", index_of(t->opp(1).spx), index_of(t->opp(2).spx), index_of(t->opp(3).spx)});
        for (int m = 1; m <= 3; ++m) {
            const point* v = t->opp(m).pnt;
            if (v != nullptr) say({v->x(1), v->x(2)});
        }
    }
};

bool valid_local(int m) { return m >= 1 && m <= 3; }

// Neighbour and cmat checks of one internal triangle.
void check_triangle(simplex* s, Reporter& r) {
    for (int k = 1; k <= 3; ++k) {
        const simplex* n = s->opp(k).spx;
        if (n == nullptr) continue;
        if (n->opp(1).spx != s && n->opp(2).spx != s && n->opp(3).spx != s) r.blind();
    }
    for (int k = 1; k <= 3; ++k) {
        const simplex* n = s->opp(k).spx;
        if (n == nullptr) continue;
        // A cmat entry outside 1..3 cannot name a local vertex: a fault of
        // its kind, not an index to follow.
        const int back = s->cmat(k, k);
        if (!valid_local(back) || n->opp(back).spx != s) r.cmat_diag();
        for (int j = 1; j <= 3; ++j) {
            if (j == k) continue;
            const int m = s->cmat(k, j);
            const point* a = s->opp(j).pnt;
            const point* b = valid_local(m) ? n->opp(m).pnt : nullptr;
            // Vertices are compared by position: two records at one place
            // agree. A record agrees with itself (the usual case, and no
            // hypot to pay) unless a coordinate is not finite, where the
            // distance would be NaN.
            const bool agree = a != nullptr && b != nullptr &&
                               (a == b ? std::isfinite(a->x(1)) && std::isfinite(a->x(2))
                                       : std::hypot(a->x(1) - b->x(1), a->x(2) - b->x(2)) <= check_tolerance);
            if (!agree) r.cmat_extra();
        }
    }
}

// Stops the run on a list that has not come back to its head after more
// records than were ever made: its links run in a circle that misses the head.
void guard_runaway(long long count, long long limit, const char* what) {
    if (count > limit) stop({ld_record({what, limit, ")"})});
}

consistency_problems run_consistency(grid_record& grid, bool print) {
    Reporter r{print, {}};
    if (print) {
        say({});
        say({"Grid data checking..."});
    }
    const long long limit = simplices_made();
    long long count = 0;
    for (simplex* s = grid.int_head->next; s != grid.int_head; s = s->next) {
        check_triangle(s, r);
        guard_runaway(++count, limit, "spx_loop/check_consistency failure (max_loop =");
    }
    for (int e = 1; e <= grid.n_edge; ++e) {
        simplex* head = grid.edge(e).int_head;
        count = 0;
        for (simplex* bs = head->next; bs != head; bs = bs->next) {
            // The external triangle across the segment is the one left
            // unnumbered; a segment without internal triangle is warned
            // about by the numbering already.
            const simplex* t = bs->int_spx();
            if (t != nullptr && index_of(t->opp(1).spx) != 0 &&
                index_of(t->opp(2).spx) != 0 && index_of(t->opp(3).spx) != 0) {
                r.neighs(bs, t);
            }
            guard_runaway(++count, limit, "id_spx_loop/check_consistency loop failure (max_loop =");
        }
    }
    if (print) say({});
    return r.counts;
}

// One pass of contability: counts head's simplices by status and gives the
// undefined ones the status `settled`. far_only: only status 0 is unknown.
status_counts count_list(simplex* head, int settled, bool far_only) {
    status_counts c;
    for (simplex* s = head->next; s != head; s = s->next) {
        ++c.records;
        switch (s->status) {
        case st_undefined:
            ++c.undefined;
            s->status = settled;
            break;
        case st_internal: ++c.internal; break;
        case st_external: ++c.external; break;
        case st_stitch: ++c.stitch; break;
        default:
            if (!far_only || s->status == st_far) ++c.unknown;
            break;
        }
    }
    return c;
}

void print_counts(const char* heading, const status_counts& c) {
    say({heading});
    say({"internal", c.internal});
    say({"undefined", c.undefined});
    say({"external", c.external});
    say({"stitch", c.stitch});
    say({"unknown", c.unknown});
    say({});
}

}  // namespace

void check_in_boundary(const grid_record& grid) {
    for (int e = 1; e <= grid.n_edge; ++e) {
        const edge_record& ee = grid.edge(e);
        const curve& ce = edge_curve(grid, e);
        if (ee.vbeg == ee.vend) {
            if (!same_place(first_x(ce, 1), first_x(ce, 2), last_x(ce, 1), last_x(ce, 2))) {
                stop({ld_record({}), ld_record({"*** Problems with self-closing boundary", e}),
                      ld_record({"Different begin & end vertex"})});
            }
            continue;
        }
        for (int f = 1; f <= grid.n_edge; ++f) {
            if (grid.edge(f).vend != ee.vbeg) continue;
            const curve& cf = edge_curve(grid, f);
            if (!same_place(first_x(ce, 1), first_x(ce, 2), last_x(cf, 1), last_x(cf, 2))) {
                stop({ld_record({}), ld_record({"*** Problems with boundary", e, "and boundary", f}),
                      ld_record({"Begin & end vertex not consistent"})});
            }
        }
        for (int f = 1; f <= grid.n_edge; ++f) {
            if (grid.edge(f).vbeg != ee.vend) continue;
            const curve& cf = edge_curve(grid, f);
            if (!same_place(first_x(cf, 1), first_x(cf, 2), last_x(ce, 1), last_x(ce, 2))) {
                stop({ld_record({}), ld_record({"*** Problems with boundary", e, "and boundary", f}),
                      ld_record({"End vertex & begin not consistent"})});
            }
        }
    }
    say({"Boundary data checked."});
}

void check_consistency(grid_record& grid) {
    // A grid that fails its own checks must never pass for a finished one.
    const consistency_problems found = run_consistency(grid, true);
    if (found.total() > 0) {
        stop({ld_record({"*** The grid fails", found.total(), "of its consistency checks: no mesh is written."})});
    }
}

consistency_problems count_consistency_problems(grid_record& grid) { return run_consistency(grid, false); }

void settle_auxiliary(grid_record& grid) { count_list(grid.axs_head, st_external, true); }

void contability(grid_record& grid, int level) {
    const status_counts in = count_list(grid.int_head, st_internal, false);
    if (level >= 2) print_counts("INTERNAL LIST flags", in);
    const status_counts ex = count_list(grid.ext_head, st_external, false);
    if (level >= 2) print_counts("EXTERNAL LIST flags", ex);
    const status_counts ax = count_list(grid.axs_head, st_external, true);
    if (level >= 2) print_counts("AUXILIARY LIST flags", ax);
    if (level >= 1) {
        say({"Grid details:"});
        say({"int_head", in.records});
        say({"ext_head", ex.records});
        say({"axs_head", ax.records});
        say({"stc_head", numberof_simplex(grid.stc_head)});
        say({"spx_head", numberof_simplex(grid.spx_head)});
    }
}

}  // namespace corvan
