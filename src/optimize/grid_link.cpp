#include "optimize/grid_link.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "delaunay/delaunay.hpp"
#include "grid/list.hpp"
#include "io/text_io.hpp"

namespace corvan {

namespace {

bool side_less(const GridLink::BoundarySide& x, const GridLink::BoundarySide& y) {
    return x.a != y.a ? x.a < y.a : x.b < y.b;
}

GridLink::BoundarySide* find_side(GridLink& link, int a, int b) {
    GridLink::BoundarySide key;
    key.a = std::min(a, b);
    key.b = std::max(a, b);
    auto it = std::lower_bound(link.sides.begin(), link.sides.end(), key, side_less);
    if (it == link.sides.end() || it->a != key.a || it->b != key.b) return nullptr;
    return &*it;
}

// Local number (1..3) of point p in simplex s; 0 when it is no vertex.
int vertex_in(const simplex* s, const point* p) {
    for (int k = 1; k <= 3; ++k)
        if (s->opp(k).pnt == p) return k;
    return 0;
}

// Row k of s's connectivity from its neighbour across facet k.
void set_cmat_row(simplex* s, int k) {
    const simplex* n = s->opp(k).spx;
    int sum = 0;
    for (int j = 1; j <= 3; ++j) {
        if (j == k) continue;
        const int local = vertex_in(n, s->opp(j).pnt);
        s->cmat(k, j) = static_cast<std::int8_t>(local);
        sum += local;
    }
    s->cmat(k, k) = static_cast<std::int8_t>(6 - sum);
}

}  // namespace

TriMesh mesh_from_grid(grid_record& grid, GridLink& link) {
    TriMesh m;
    link = GridLink();
    int n = 0;
    for (point* p = grid.pnt_head->next; p != grid.pnt_head; p = p->next) {
        p->i = ++n;
        link.points.push_back(p);
        const int id = m.add_node(p->x, p->h, p->edge != 0);
        m.node(id).corner = p->edge < 0;
    }
    for (simplex* s = grid.int_head->next; s != grid.int_head; s = s->next) {
        link.triangles.push_back(s);
        m.add_tri(s->opp(1).pnt->i, s->opp(2).pnt->i, s->opp(3).pnt->i);
        for (int k = 1; k <= 3; ++k) {
            simplex* o = s->opp(k).spx;
            if (o != nullptr && o->status == st_internal) continue;
            GridLink::BoundarySide side;
            const int a = s->opp(next3(k)).pnt->i, b = s->opp(prev3(k)).pnt->i;
            side.a = std::min(a, b);
            side.b = std::max(a, b);
            side.outside = o;
            link.sides.push_back(side);
        }
    }
    std::sort(link.sides.begin(), link.sides.end(), side_less);
    for (int e = 1; e <= grid.n_edge; ++e) {
        simplex* head = grid.edge(e).int_head;
        for (simplex* b = head->next; b != head; b = b->next) {
            const point* p = b->opp(1).pnt->ppp;
            const point* q = b->opp(2).pnt->ppp;
            if (p == nullptr || q == nullptr) continue;
            if (GridLink::BoundarySide* side = find_side(link, p->i, q->i)) side->segment = b;
        }
    }
    m.link();
    return m;
}

bool isotropic_metric(const grid_record& grid) {
    for (const point* p = grid.pnt_head->next; p != grid.pnt_head; p = p->next) {
        const double a = p->mtr(1, 1), b = p->mtr(2, 2), c = p->mtr(1, 2);
        if (std::fabs(a - b) > 1e-6 * std::fabs(a) || std::fabs(c) > 1e-6 * std::fabs(a)) return false;
    }
    return true;
}

void grid_from_mesh(const TriMesh& m, grid_record& grid, GridLink& link) {
    // Points: the old ones moved or retired, the new ones appended.
    for (int id = 1; id <= m.node.size(); ++id) {
        const OptNode& nd = m.node(id);
        if (id <= static_cast<int>(link.points.size())) {
            point* p = link.points[static_cast<std::size_t>(id - 1)];
            if (!nd.alive) {
                movetop_point(grid.rej_head, p);
                continue;
            }
            p->x = nd.x;
            continue;
        }
        if (!nd.alive) {
            link.points.push_back(nullptr);  // keeps node n at points[n - 1]
            continue;
        }
        point* p = new_point();
        p->x = nd.x;
        p->h = nd.h;
        p->mtr = Mat<double, 2, 2>::identity();
        p->mtr(1, 1) = p->mtr(2, 2) = 1.0 / (nd.h * nd.h);
        pushbot_point(grid.pnt_head, p);
        link.points.push_back(p);
    }
    // Triangles: one record each, in index order.
    std::vector<simplex*> rec(static_cast<std::size_t>(m.tri.size()) + 1, nullptr);
    std::size_t used = 0;
    for (int t = 1; t <= m.tri.size(); ++t) {
        if (!m.tri(t).alive) continue;
        simplex* s;
        if (used < link.triangles.size()) {
            s = link.triangles[used++];
        } else {
            s = new_simplex();
            pushbot_simplex(grid.int_head, s);
        }
        rec[static_cast<std::size_t>(t)] = s;
    }
    for (; used < link.triangles.size(); ++used) {
        simplex* s = link.triangles[used];
        s->status = st_far;
        movetop_simplex(kernel.gar_head, s);
    }
    for (int t = 1; t <= m.tri.size(); ++t) {
        if (!m.tri(t).alive) continue;
        simplex* s = rec[static_cast<std::size_t>(t)];
        s->status = st_internal;
        for (int k = 1; k <= 3; ++k) {
            s->opp(k).pnt = link.points[static_cast<std::size_t>(m.tri(t).v(k) - 1)];
            s->opp(k).pnt->spx = s;
        }
    }
    for (int t = 1; t <= m.tri.size(); ++t) {
        if (!m.tri(t).alive) continue;
        simplex* s = rec[static_cast<std::size_t>(t)];
        for (int k = 1; k <= 3; ++k) {
            const int u = m.tri(t).nb(k);
            if (u != 0) {
                s->opp(k).spx = rec[static_cast<std::size_t>(u)];
                continue;
            }
            GridLink::BoundarySide* side = find_side(link, m.tri(t).v(next3(k)), m.tri(t).v(prev3(k)));
            if (side == nullptr) stop({" The optimised grid has a boundary side that the grid did not have (optimize)"});
            s->opp(k).spx = side->outside;
            if (side->segment != nullptr) side->segment->set_sides(s, side->segment->ext_spx());
            if (simplex* o = side->outside) {
                int ko = 0;
                for (int j = 1; j <= 3; ++j)
                    if (vertex_in(s, o->opp(j).pnt) == 0) ko = j;
                o->opp(ko).spx = s;
                set_cmat_row(o, ko);
            }
        }
    }
    for (int t = 1; t <= m.tri.size(); ++t) {
        if (!m.tri(t).alive) continue;
        simplex* s = rec[static_cast<std::size_t>(t)];
        for (int k = 1; k <= 3; ++k)
            if (s->opp(k).spx != nullptr) set_cmat_row(s, k);
        simplex_facets(2, s);
    }
}

}  // namespace corvan
