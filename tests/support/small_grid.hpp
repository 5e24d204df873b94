// A hand-built grid for the tests of the checks, the numbering and the mesh
// files: the unit square as two internal triangles, one external triangle
// outside each side, a far triangle, and two boundary edges of two segments
// each, closed off by far segments.
//
//      P4 ---- P3        T1 = (P1, P2, P3), T2 = (P1, P3, P4)
//       | T2 /  |        E1..E4 outside sides P1P2, P2P3, P3P4, P4P1
//       |  / T1 |        edge 1: b1 b2 b3 on P1 P2 P3; edge 2: on P3 P4 P1
//      P1 ---- P2
//
// Records that the numbering must renumber or clear start with stale
// indices (external triangles 55, far segments 77).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "grid/grid_types.hpp"
#include "grid/list.hpp"

namespace corvan::test {

struct SmallGrid {
    grid_record g;
    point* P[5]{};          // domain corners 1..4
    point* A[5]{};          // apexes of the external triangles (axp_head)
    simplex* T[3]{};        // internal triangles 1..2
    simplex* E[5]{};        // external triangles 1..4
    simplex* F = nullptr;   // far triangle (axs_head)
    point* b[3][4]{};       // boundary points 1..3 of edge e
    simplex* seg[3][3]{};   // boundary segments 1..2 of edge e
};

// Local number of p among the first nv vertices of s; 0 when absent.
inline int local_of(const simplex* s, const point* p, int nv) {
    for (int k = 1; k <= nv; ++k)
        if (s->opp(k).pnt == p) return k;
    return 0;
}

// Makes s and n neighbours across s's facet opposite vertex k and n's
// opposite vertex m, filling both cmat rows from the shared vertices.
inline void link(simplex* s, int k, simplex* n, int m, int nv) {
    for (auto [a, ka, c] : {std::tuple{s, k, n}, std::tuple{n, m, s}}) {
        a->opp(ka).spx = c;
        for (int j = 1; j <= nv; ++j) a->cmat(ka, j) = j == ka ? (a == s ? m : k) : local_of(c, a->opp(j).pnt, nv);
    }
}

inline point* make_point(point* head, double x, double y) {
    point* p = new_point();
    p->x = Vec<double, 2>{{x, y}};
    pushbot_point(head, p);
    return p;
}

inline simplex* make_simplex(simplex* head, int status, point* a, point* b, point* c) {
    simplex* s = new_simplex();
    s->status = status;
    s->opp = {{{a, nullptr}, {b, nullptr}, {c, nullptr}}};
    pushbot_simplex(head, s);
    return s;
}

inline void build_small_grid(SmallGrid& s) {
    grid_record& g = s.g;
    g.new_heads();
    g.n_edge = 2;
    g.edge.assign(2);
    const double px[5] = {0, 0, 1, 1, 0}, py[5] = {0, 0, 0, 1, 1};
    const double ax[5] = {0, 0.5, 2, 0.5, -1}, ay[5] = {0, -1, 0.5, 2, 0.5};
    for (int k = 1; k <= 4; ++k) {
        s.P[k] = make_point(g.pnt_head, px[k], py[k]);
        s.P[k]->h = 0.25 * k;
        s.P[k]->edge = (k + 1) / 2;
        if (k > 1) s.P[k]->ref = s.P[k - 1];
        s.A[k] = make_point(g.axp_head, ax[k], ay[k]);
    }
    s.P[4]->parent = 1;
    s.P[2]->mtr(1, 1) = 4.0;
    s.P[1]->ppp = s.A[1];
    s.T[1] = make_simplex(g.int_head, st_internal, s.P[1], s.P[2], s.P[3]);
    s.T[2] = make_simplex(g.int_head, st_internal, s.P[1], s.P[3], s.P[4]);
    for (int k = 1; k <= 4; ++k) {
        s.E[k] = make_simplex(g.ext_head, st_external, s.P[k % 4 + 1], s.P[k], s.A[k]);
        s.E[k]->i = 55;
        s.P[k]->spx = s.T[k <= 2 ? 1 : 2];
    }
    s.F = make_simplex(g.axs_head, st_far, s.A[1], s.A[2], s.A[3]);
    link(s.T[1], 1, s.E[2], 3, 3);
    link(s.T[1], 2, s.T[2], 3, 3);
    link(s.T[1], 3, s.E[1], 3, 3);
    link(s.T[2], 1, s.E[3], 3, 3);
    link(s.T[2], 2, s.E[4], 3, 3);
    s.T[1]->fct(1, 1) = -1.0;

    const int corner[3][4] = {{}, {0, 1, 2, 3}, {0, 3, 4, 1}};
    for (int e = 1; e <= 2; ++e) {
        edge_record& ed = g.edge(e);
        ed.new_heads();
        ed.icurv = ed.vbeg = e;
        ed.vend = 3 - e;
        for (int j = 1; j <= 3; ++j) {
            point* p = s.b[e][j] = make_point(ed.pnt_head, 0.5 * (j - 1), 0.0);
            p->edge = j == 2 ? e : -e;
            p->ppp = s.P[corner[e][j]];
            if (j > 1) p->ref = s.b[e][j - 1];
        }
        point* lo = make_point(ed.axp_head, -1.0, 0.0);
        point* hi = make_point(ed.axp_head, 2.0, 0.0);
        for (int j = 1; j <= 2; ++j) {
            s.seg[e][j] = make_simplex(ed.int_head, st_internal, s.b[e][j], s.b[e][j + 1], nullptr);
            s.seg[e][j]->set_sides(s.T[e], s.E[2 * (e - 1) + j]);
            s.b[e][j]->spx = s.seg[e][j];
        }
        s.b[e][3]->spx = s.seg[e][2];
        simplex* before = make_simplex(ed.axs_head, st_far, lo, s.b[e][1], nullptr);
        simplex* after = make_simplex(ed.axs_head, st_far, s.b[e][3], hi, nullptr);
        link(s.seg[e][1], 1, s.seg[e][2], 2, 2);
        link(s.seg[e][1], 2, before, 1, 2);
        link(s.seg[e][2], 1, after, 2, 2);
        before->i = after->i = 77;
    }
}

// Standard output written by f.
template <class F>
std::string output_of(F f) {
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}

}  // namespace corvan::test
