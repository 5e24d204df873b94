// Invariant checks of a kernel grid, in a countable form for the tests.
#pragma once

#include <vector>

#include "grid/grid_types.hpp"

namespace corvan::test {

// Violations found in one grid; all zero for a sound grid.
struct GridViolations {
    int live = 0;          // live simplices seen (not a violation)
    int bad_det = 0;       // det <= 0 (nd = 2) or >= 0 (nd = 1, vertices in increasing order)
    int bad_link = 0;      // neighbour back-pointer or vertex correspondence through cmat broken
    int bad_spx = 0;       // a point whose spx is not a live simplex having it as vertex
    int not_delaunay = 0;  // a neighbour's far vertex strictly inside a circumcircle
    int total() const { return bad_det + bad_link + bad_spx + not_delaunay; }
};

// Checks every simplex of the live list and every point given. The in-circle
// test allows a relative margin tol (measure >= 1 - tol passes).
GridViolations check_kernel_grid(int nd, simplex* live_head, const std::vector<point*>& pts, double tol = 1e-9);

// A fresh kernel grid over the box a..b: its bounding points, far simplices
// and live list.
struct KernelGrid {
    int nd = 2;
    point* pnt_head = nullptr;
    simplex* axs_head = nullptr;
    simplex* live = nullptr;
    std::vector<point*> points;  // bounding corners first, then inserted points
};
KernelGrid make_kernel_grid(int nd, double ax, double ay, double bx, double by);

// A new unconnected point at (x, y).
point* make_point(double x, double y = 0.0);

}  // namespace corvan::test
