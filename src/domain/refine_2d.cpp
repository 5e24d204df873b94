#include "domain/refine_2d.hpp"

#include "grid/list.hpp"

namespace corvan {

void halve_dom(grid_record& grid, int k, simplex* s) {
    point* p = new_point();
    p->edge = 0;
    p->parent = s->i;
    p->ref = s->opp(1).pnt;
    p->mtr = Mat<double, 2, 2>();
    for (int j = 1; j <= 3; ++j) {
        if (j == k) continue;
        const point* v = s->opp(j).pnt;
        for (int c = 1; c <= 2; ++c) p->x(c) += v->x(c);
        p->h += v->h;
        for (int c = 1; c <= 2; ++c)
            for (int r = 1; r <= 2; ++r) p->mtr(r, c) += v->mtr(r, c);
    }
    for (int c = 1; c <= 2; ++c) p->x(c) *= 0.5;
    p->h *= 0.5;
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 2; ++r) p->mtr(r, c) *= 0.5;
    pushtop_point(grid.add_head, p);
}

}  // namespace corvan
