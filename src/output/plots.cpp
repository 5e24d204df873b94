#include "output/plots.hpp"

#include <cstdlib>

#include "delaunay/eucl_delaunay.hpp"

namespace corvan {

namespace {

const Format& point_format() {
    static const Format f("(2e15.7,i8)");
    return f;
}

void block_head(TextFile& out, int colour) {
    out.line("");
    out.ld({"% linecolor = ", colour, " markertype = ", 0});
}

void block(TextFile& out, int colour, const point* p, const point* q) {
    block_head(out, colour);
    out.fmt(point_format(), {p->x(1), p->x(2), p->i});
    out.fmt(point_format(), {q->x(1), q->x(2), q->i});
}

void negate_all(simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) s->status = -s->status;
}

void restore_all(simplex* head) {
    for (simplex* s = head->next; s != head; s = s->next) s->status = std::abs(s->status);
}

}  // namespace

void g_plot(TextFile& out, const grid_record& g, simplex* a, simplex* b, bool length_option) {
    out.ld({"$ DATA = CURVE2D"});
    out.ld({"% equalscale = TRUE"});
    out.ld({"% boundary = TRUE"});

    negate_all(b);
    for (simplex* s = a->next; s != a; s = s->next) {
        if (s->status <= 0) continue;
        s->status = -s->status;  // visited: its shared sides are drawn only once
        for (int k = 1; k <= 3; ++k) {
            const simplex* n = s->opp(k).spx;
            if (n == nullptr || n->status <= 0) continue;
            if (!length_option) {
                const point* ends[2];
                int m = 0;
                for (int j = 1; j <= 3; ++j)
                    if (j != k) ends[m++] = s->opp(j).pnt;
                block(out, colour_grid, ends[0], ends[1]);
                continue;
            }
            const int i1 = k % 3 + 1;
            const int i2 = i1 % 3 + 1;
            const point* p = s->opp(i1).pnt;
            const point* q = s->opp(i2).pnt;
            if (segment_r_length(2, p, q) <= kLongSide) {
                block(out, colour_grid, p, q);
                continue;
            }
            // An over-long side: two halves in the two warning colours,
            // meeting at its midpoint (written with index 0).
            const double mx = 0.5 * (p->x(1) + q->x(1));
            const double my = 0.5 * (p->x(2) + q->x(2));
            block_head(out, colour_long_a);
            out.fmt(point_format(), {p->x(1), p->x(2), p->i});
            out.fmt(point_format(), {mx, my, 0});
            block_head(out, colour_long_b);
            out.fmt(point_format(), {mx, my, 0});
            out.fmt(point_format(), {q->x(1), q->x(2), q->i});
        }
    }
    restore_all(a);
    restore_all(b);

    for (int e = 1; e <= g.n_edge; ++e) {
        const simplex* head = g.edge(e).int_head;
        if (head == nullptr) continue;
        for (const simplex* bs = head->next; bs != head; bs = bs->next) {
            block(out, colour_boundary, bs->opp(1).pnt->ppp, bs->opp(2).pnt->ppp);
        }
    }
}

}  // namespace corvan
