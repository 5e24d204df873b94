#include "mesh/arrays.hpp"

#include <algorithm>
#include <utility>

#include "grid/convert.hpp"
#include "io/text_io.hpp"

namespace corvan {

ArraysState arrays;

void p_vect_domain(point* head) {
    for (point* p = head->next; p != head; p = p->next) {
        arrays.hh(p->i) = p->h;
        arrays.rr(1, p->i) = p->x(1);
        arrays.rr(2, p->i) = p->x(2);
    }
}

void s_vect_domain(simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) {
        const int e = s->i;
        for (int m = 1; m <= 3; ++m) {
            if (s->opp(m).pnt != nullptr) {
                arrays.jj(m, e) = s->opp(m).pnt->i;
            } else {
                say({"WARNING: point not associated (s_vect_domain)"});
                arrays.jj(m, e) = 0;
            }
            arrays.neigh(m, e) = index_of(s->opp(m).spx);
        }
    }
}

void p_vect_boundary(point* head, int& counter) {
    for (point* p = head->next; p != head; p = p->next) {
        const int n = ++counter;
        arrays.idir(n) = p->edge;
        arrays.jjdir(n) = index_of(p->ppp);
        arrays.rr_b(1, n) = p->x(1);
    }
}

void s_vect_boundary(simplex* head, int edge_index, int& counter) {
    for (simplex* b = head->next; b != head; b = b->next) {
        const int k = ++counter;
        arrays.iflux(k) = edge_index;
        if (b->int_spx() != nullptr) {
            arrays.neighs(k) = b->int_spx()->i;
        } else {
            arrays.neighs(k) = 0;
            say({"Boundary simplex without neighs() found"});
        }
        // Beyond an edge's first or last node lies no segment of the edge,
        // only the grid's auxiliary segments, whose numbers are stale:
        // clearing them cuts the boundary connectivity there.
        for (int m = 1; m <= 2; ++m) {
            const point* v = b->opp(m).pnt;
            simplex* beyond = b->opp(3 - m).spx;
            if (v != nullptr && v->i >= 1 && v->i <= arrays.np_b && arrays.idir(v->i) < 0 && beyond != nullptr) {
                beyond->i = 0;
            }
        }
        for (int m = 1; m <= 2; ++m) {
            const point* v = b->opp(m).pnt;
            if (v != nullptr) {
                arrays.jjs_b(m, k) = v->i;
                arrays.jjs(m, k) = index_of(v->ppp);
                arrays.neighs_b(m, k) = index_of(b->opp(m).spx);
            } else {
                arrays.jjs_b(m, k) = 0;
                arrays.jjs(m, k) = 0;
                arrays.neighs_b(m, k) = 0;
            }
        }
    }
}

void build_arrays(grid_record& grid) {
    ArraysState& a = arrays;
    a.array = &grid;
    a.np_b = a.ns_b = a.np_d = a.ns_d = 0;

    set_p2i(a.np_d, grid.pnt_head);
    set_s2i(a.ns_d, grid.int_head);
    clr_s2i(grid.ext_head);
    for (int i = 1; i <= grid.n_edge; ++i) set_p2i(a.np_b, grid.edge(i).pnt_head);
    for (int i = 1; i <= grid.n_edge; ++i) set_s2i(a.ns_b, grid.edge(i).int_head);

    a.jj.assign(3, a.ns_d, 0);
    a.neigh.assign(3, a.ns_d, 0);
    a.rr.assign(2, a.np_d, 0.0);
    a.hh.assign(a.np_d, 0.0);
    a.jjs_b.assign(2, a.ns_b, 0);
    a.jjs.assign(2, a.ns_b, 0);
    a.neighs_b.assign(2, a.ns_b, 0);
    a.neighs.assign(a.ns_b, 0);
    a.iflux.assign(a.ns_b, 0);
    a.idir.assign(a.np_b, 0);
    a.jjdir.assign(a.np_b, 0);
    a.rr_b.assign(1, a.np_b, 0.0);

    p_vect_domain(grid.pnt_head);
    s_vect_domain(grid.int_head);
    int counter = 0;
    for (int i = 1; i <= grid.n_edge; ++i) p_vect_boundary(grid.edge(i).pnt_head, counter);
    counter = 0;
    for (int i = 1; i <= grid.n_edge; ++i) s_vect_boundary(grid.edge(i).int_head, i, counter);
}

}  // namespace corvan
