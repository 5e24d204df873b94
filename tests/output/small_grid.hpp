// A small hand-built grid for the tests of the checks, the numbering and the
// mesh files: the unit square split into two internal triangles, one
// external triangle outside each side, a far triangle, and two boundary
// edges of two segments each (edge 1 along y = 0 then x = 1, edge 2 along
// y = 1 then x = 0), each closed off by far segments.
//
//      P4 ---- P3        T1 = (P1, P2, P3), T2 = (P1, P3, P4)
//       |    / |         E1..E4 outside sides P1P2, P2P3, P3P4, P4P1
//       | T2/  |         edge 1: b1 b2 b3 -> P1 P2 P3
//       |  / T1|         edge 2: b1 b2 b3 -> P3 P4 P1
//      P1 ---- P2
//
// Records that build_arrays should renumber or clear start with stale
// indices (external triangles 55, far segments 77).
#pragma once

#include "grid/grid_types.hpp"
#include "grid/list.hpp"

namespace corvan::test {

struct SmallGrid {
    grid_record g;
    point* P[5]{};        // domain corners 1..4
    point* A[5]{};        // apexes of the external triangles, in axp_head
    simplex* T[3]{};      // internal triangles 1..2
    simplex* E[5]{};      // external triangles 1..4
    simplex* F = nullptr;  // a far triangle in axs_head
    point* b[3][4]{};     // boundary points of edge e, 1..3
    point* ax[3][3]{};    // auxiliary points of edge e: [1] below 0, [2] above 1
    simplex* seg[3][3]{};  // boundary segments of edge e, 1..2
    simplex* far[3][3]{};  // far segments of edge e: [1] before b1, [2] after b3
};

// Local number of p among the first nv vertices of s; 0 when absent.
inline int local_of(const simplex* s, const point* p, int nv) {
    for (int k = 1; k <= nv; ++k)
        if (s->opp(k).pnt == p) return k;
    return 0;
}

// Makes n the neighbour of s across the facet opposite vertex k and fills
// row k of s's cmat from the vertices the two share.
inline void link(simplex* s, int k, simplex* n, int nv) {
    s->opp(k).spx = n;
    for (int j = 1; j <= nv; ++j) {
        if (j != k) {
            s->cmat(k, j) = local_of(n, s->opp(j).pnt, nv);
            continue;
        }
        for (int m = 1; m <= nv; ++m)
            if (local_of(s, n->opp(m).pnt, nv) == 0) s->cmat(k, k) = m;
    }
}

inline void both(simplex* s, int k, simplex* n, int m, int nv) {
    link(s, k, n, nv);
    link(n, m, s, nv);
}

inline point* make_point(point* head, double x, double y) {
    point* p = new_point();
    p->x(1) = x;
    p->x(2) = y;
    pushbot_point(head, p);
    return p;
}

inline simplex* make_simplex(simplex* head, int status, point* a, point* b, point* c) {
    simplex* s = new_simplex();
    s->status = status;
    s->opp(1).pnt = a;
    s->opp(2).pnt = b;
    s->opp(3).pnt = c;
    pushbot_simplex(head, s);
    return s;
}

inline void build_small_grid(SmallGrid& s) {
    grid_record& g = s.g;
    g.new_heads();
    g.n_vert = 2;
    g.n_edge = 2;
    g.edge.assign(2);
    g.vert.assign(2, nullptr);

    const double px[5] = {0, 0, 1, 1, 0}, py[5] = {0, 0, 0, 1, 1};
    for (int k = 1; k <= 4; ++k) {
        s.P[k] = make_point(g.pnt_head, px[k], py[k]);
        s.P[k]->h = 0.25 * k;
    }
    const double ax_[5] = {0, 0.5, 2, 0.5, -1}, ay_[5] = {0, -1, 0.5, 2, 0.5};
    for (int k = 1; k <= 4; ++k) s.A[k] = make_point(g.axp_head, ax_[k], ay_[k]);
    s.P[1]->edge = 1;
    s.P[2]->edge = 1;
    s.P[3]->edge = 2;
    s.P[4]->edge = 2;
    s.P[4]->parent = 1;
    s.P[2]->mtr(1, 1) = 4.0;
    s.P[2]->mtr(2, 1) = s.P[2]->mtr(1, 2) = 0.5;
    for (int k = 2; k <= 4; ++k) s.P[k]->ref = s.P[k - 1];
    s.P[1]->ppp = s.A[1];
    g.vert(1) = s.P[1];
    g.vert(2) = s.P[3];

    s.T[1] = make_simplex(g.int_head, st_internal, s.P[1], s.P[2], s.P[3]);
    s.T[2] = make_simplex(g.int_head, st_internal, s.P[1], s.P[3], s.P[4]);
    s.E[1] = make_simplex(g.ext_head, st_external, s.P[2], s.P[1], s.A[1]);
    s.E[2] = make_simplex(g.ext_head, st_external, s.P[3], s.P[2], s.A[2]);
    s.E[3] = make_simplex(g.ext_head, st_external, s.P[4], s.P[3], s.A[3]);
    s.E[4] = make_simplex(g.ext_head, st_external, s.P[1], s.P[4], s.A[4]);
    s.F = make_simplex(g.axs_head, st_far, s.A[1], s.A[2], s.A[3]);
    both(s.T[1], 1, s.E[2], 3, 3);
    both(s.T[1], 2, s.T[2], 3, 3);
    both(s.T[1], 3, s.E[1], 3, 3);
    both(s.T[2], 1, s.E[3], 3, 3);
    both(s.T[2], 2, s.E[4], 3, 3);
    for (int k = 1; k <= 4; ++k) s.E[k]->i = 55;
    s.T[1]->det = 1.0;
    s.T[1]->fct(1, 1) = -1.0;
    s.T[1]->fct(3, 3) = 0.5;
    s.P[1]->spx = s.T[1];
    s.P[2]->spx = s.T[1];
    s.P[3]->spx = s.T[2];
    s.P[4]->spx = s.T[2];

    // Edge e runs through the domain corners first[e], second[e], third[e].
    const int c1[3] = {0, 1, 3}, c2[3] = {0, 2, 4}, c3[3] = {0, 3, 1};
    for (int e = 1; e <= 2; ++e) {
        edge_record& ed = g.edge(e);
        ed.new_heads();
        ed.icurv = e;
        ed.vbeg = e;
        ed.vend = 3 - e;
        const int corner[4] = {0, c1[e], c2[e], c3[e]};
        for (int j = 1; j <= 3; ++j) {
            point* p = make_point(ed.pnt_head, 0.5 * (j - 1), 0.0);
            p->edge = (j == 2) ? e : -e;
            p->ppp = s.P[corner[j]];
            if (j > 1) p->ref = s.b[e][j - 1];
            s.b[e][j] = p;
        }
        s.ax[e][1] = make_point(ed.axp_head, -1.0, 0.0);
        s.ax[e][2] = make_point(ed.axp_head, 2.0, 0.0);
        for (int j = 1; j <= 2; ++j) {
            s.seg[e][j] = make_simplex(ed.int_head, st_internal, s.b[e][j], s.b[e][j + 1], nullptr);
        }
        s.far[e][1] = make_simplex(ed.axs_head, st_far, s.ax[e][1], s.b[e][1], nullptr);
        s.far[e][2] = make_simplex(ed.axs_head, st_far, s.b[e][3], s.ax[e][2], nullptr);
        both(s.seg[e][1], 1, s.seg[e][2], 2, 2);
        both(s.seg[e][1], 2, s.far[e][1], 1, 2);
        both(s.seg[e][2], 1, s.far[e][2], 2, 2);
        for (int j = 1; j <= 2; ++j) s.far[e][j]->i = 77;
        for (int j = 1; j <= 3; ++j) s.b[e][j]->spx = s.seg[e][j == 3 ? 2 : 1];
    }
    s.seg[1][1]->int_spx = s.T[1];
    s.seg[1][1]->ext_spx = s.E[1];
    s.seg[1][2]->int_spx = s.T[1];
    s.seg[1][2]->ext_spx = s.E[2];
    s.seg[2][1]->int_spx = s.T[2];
    s.seg[2][1]->ext_spx = s.E[3];
    s.seg[2][2]->int_spx = s.T[2];
    s.seg[2][2]->ext_spx = s.E[4];
}

}  // namespace corvan::test
