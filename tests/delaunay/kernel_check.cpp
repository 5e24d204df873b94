#include "delaunay/kernel_check.hpp"

#include <unordered_set>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "grid/list.hpp"

namespace corvan::test {

namespace {

// The kernel's work lists are made once per test process.
void ensure_setup() {
    static bool done = false;
    if (!done) {
        delaunay_setup();
        done = true;
    }
}

}  // namespace

GridViolations check_kernel_grid(int nd, simplex* live_head, const std::vector<point*>& pts, double tol) {
    GridViolations v;
    std::unordered_set<const simplex*> live;
    for (simplex* s = live_head->next; s != live_head; s = s->next) live.insert(s);
    for (simplex* s = live_head->next; s != live_head; s = s->next) {
        ++v.live;
        if (nd == 2 ? !(s->det > 0.0) : !(s->det < 0.0)) ++v.bad_det;
        for (int k = 1; k <= nd + 1; ++k) {
            const simplex* n = s->opp(k).spx;
            if (n == nullptr) {
                ++v.bad_link;
                continue;
            }
            const int m = s->cmat(k, k);
            bool ok = m >= 1 && m <= nd + 1 && n->opp(m).spx == s;
            for (int j = 1; j <= nd + 1 && ok; ++j) {
                if (j == k) continue;
                const int c = s->cmat(k, j);
                ok = c >= 1 && c <= nd + 1 && c != m && n->opp(c).pnt == s->opp(j).pnt;
            }
            if (!ok) ++v.bad_link;
            // Local Delaunay test across every facet shared with a live simplex.
            if (ok && live.count(n) != 0) {
                if (delaunay_measure(nd, n->opp(m).pnt, s) < 1.0 - tol) ++v.not_delaunay;
            }
        }
    }
    for (const point* p : pts) {
        const simplex* s = p->spx;
        bool ok = s != nullptr && live.count(s) != 0;
        if (ok) {
            ok = false;
            for (int k = 1; k <= nd + 1; ++k) ok = ok || s->opp(k).pnt == p;
        }
        if (!ok) ++v.bad_spx;
    }
    return v;
}

KernelGrid make_kernel_grid(int nd, double ax, double ay, double bx, double by) {
    ensure_setup();
    KernelGrid g;
    g.nd = nd;
    g.pnt_head = newhead_point();
    g.axs_head = newhead_simplex();
    g.live = newhead_simplex();
    Vec<double, 2> a;
    Vec<double, 2> b;
    a(1) = ax;
    a(2) = ay;
    b(1) = bx;
    b(2) = by;
    set_delaunay(nd, a, b, g.pnt_head, g.axs_head, g.live);
    for (point* p = g.pnt_head->next; p != g.pnt_head; p = p->next) g.points.push_back(p);
    return g;
}

point* make_point(double x, double y) {
    point* p = new_point();
    p->x(1) = x;
    p->x(2) = y;
    return p;
}

}  // namespace corvan::test
