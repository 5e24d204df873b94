// Kernel grids for the tests, and a count of the invariants they break.
#pragma once

#include <unordered_set>
#include <vector>

#include "delaunay/delaunay.hpp"
#include "delaunay/eucl_delaunay.hpp"
#include "grid/list.hpp"

namespace corvan::test {

// A new unconnected point at (x, y).
inline point* make_point(double x, double y = 0.0) {
    point* p = new_point();
    p->x(1) = x;
    p->x(2) = y;
    return p;
}

// A fresh kernel grid over the box (ax, ay)..(bx, by). points holds the
// bounding corners, then every point given to insert_all.
struct KernelGrid {
    int nd;
    point* pnt_head = newhead_point();
    simplex* axs_head = newhead_simplex();
    simplex* live = newhead_simplex();
    std::vector<point*> points;

    KernelGrid(int dim, double ax, double ay, double bx, double by) : nd(dim) {
        static const bool work_lists_made = (delaunay_setup(), true);  // once per test process
        (void)work_lists_made;
        set_delaunay(nd, Vec<double, 2>{{ax, ay}}, Vec<double, 2>{{bx, by}}, pnt_head, axs_head, live);
        for (point* p = pnt_head->next; p != pnt_head; p = p->next) points.push_back(p);
    }
    // Inserts the points in order, each walking from the one before it when
    // walk is set, else found by a scan of the live list.
    void insert_all(const std::vector<point*>& pts, bool walk = false) {
        point* prev = nullptr;
        for (point* p : pts) {
            p->ref = walk ? prev : nullptr;
            insert_point(nd, live, p);
            points.push_back(p);
            prev = p;
        }
    }
};

// The edge A(0,0)-B(1,0) between C(0.5,1) above and D(0.5,-1) below:
// points[3..6] are A, B, C, D.
inline KernelGrid diamond() {
    KernelGrid g(2, 0.0, -1.0, 1.0, 1.0);
    g.insert_all({make_point(0.0, 0.0), make_point(1.0, 0.0), make_point(0.5, 1.0), make_point(0.5, -1.0)});
    return g;
}

inline bool has_vertex(const simplex* s, const point* p) {
    return s->opp(1).pnt == p || s->opp(2).pnt == p || s->opp(3).pnt == p;
}

// The live triangle with vertices a, b, c in any order; null when none.
inline simplex* find_triangle(simplex* head, const point* a, const point* b, const point* c) {
    for (simplex* s = head->next; s != head; s = s->next) {
        if (has_vertex(s, a) && has_vertex(s, b) && has_vertex(s, c)) return s;
    }
    return nullptr;
}

// Violations found in one grid; all zero for a sound grid.
struct GridViolations {
    int live = 0;          // live simplices seen (not a violation)
    int bad_det = 0;       // det <= 0 (nd = 2) or >= 0 (nd = 1, vertices in increasing order)
    int bad_link = 0;      // neighbour back-pointer or vertex correspondence through cmat broken
    int bad_spx = 0;       // a point whose spx is not a live simplex having it as vertex
    int not_delaunay = 0;  // a live neighbour's far vertex inside a circumcircle (measure < 1 - tol)
};

inline GridViolations check_kernel_grid(int nd, simplex* head, const std::vector<point*>& pts, double tol = 1e-9) {
    GridViolations v;
    std::unordered_set<const simplex*> live;
    for (simplex* s = head->next; s != head; s = s->next) live.insert(s);
    for (simplex* s = head->next; s != head; s = s->next) {
        ++v.live;
        if (const double det = simplex_det(nd, s); nd == 2 ? !(det > 0.0) : !(det < 0.0)) ++v.bad_det;
        for (int k = 1; k <= nd + 1; ++k) {
            const simplex* n = s->opp(k).spx;
            const int m = s->cmat(k, k);
            bool ok = n != nullptr && m >= 1 && m <= nd + 1 && n->opp(m).spx == s;
            for (int j = 1; j <= nd + 1 && ok; ++j) {
                const int c = s->cmat(k, j);
                ok = j == k || (c >= 1 && c <= nd + 1 && c != m && n->opp(c).pnt == s->opp(j).pnt);
            }
            if (!ok) ++v.bad_link;
            if (ok && live.count(n) != 0 && delaunay_measure(nd, n->opp(m).pnt, s) < 1.0 - tol) ++v.not_delaunay;
        }
    }
    for (const point* p : pts) {
        const simplex* s = p->spx;
        bool ok = false;
        for (int k = 1; k <= nd + 1 && s != nullptr && live.count(s) != 0; ++k) ok = ok || s->opp(k).pnt == p;
        if (!ok) ++v.bad_spx;
    }
    return v;
}

}  // namespace corvan::test
