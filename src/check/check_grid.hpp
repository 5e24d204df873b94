// Grid checks: the joins of the boundary edges before any grid is made, the
// neighbour and connectivity invariants of the finished grid, and the status
// counts of the simplex lists. The reports are list-directed records on
// standard output; the count forms below print nothing and serve tests.
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// Tolerance of every coordinate comparison of the checks.
inline constexpr double check_tolerance = 1e-12;

// Stops the run (after its report) at the first pair of edges whose curves
// do not meet at their shared boundary vertex, or at a closed edge whose
// curve does not return to its first point; otherwise writes
// "Boundary data checked.". An edge's curve is curv(edge.icurv); an icurv
// outside the curve table, or a curve without points, stops the run too.
void check_in_boundary(const grid_record& grid);

// Problem counts of check_consistency, by kind.
struct consistency_problems {
    int blind = 0;       // a neighbour does not list the triangle among its neighbours
    int cmat_diag = 0;   // the neighbour's link back through cmat(k,k) is not the triangle
    int cmat_extra = 0;  // vertex j and its cmat(k,j) image in neighbour k are apart
    int neighs = 0;      // a segment's internal triangle has no unnumbered (external) neighbour
    int total() const { return blind + cmat_diag + cmat_extra + neighs; }
};

// Checks every triangle of grid.int_head against its neighbours and the
// internal triangle of every boundary segment (the grid must be numbered,
// as build_arrays does); reports each problem, and after the report stops
// the run when there was any. Stops at once on a list that does not come
// back to its head within the number of simplex records ever made.
void check_consistency(grid_record& grid);
// The same checks, silent; returns the problem counts.
consistency_problems count_consistency_problems(grid_record& grid);

// Counts of one simplex list by status.
struct status_counts {
    int internal = 0;   // status 2
    int undefined = 0;  // status 1 (before the repair)
    int external = 0;   // status 3
    int stitch = 0;     // status 4
    int unknown = 0;    // others (auxiliary list: status 0 only)
    int records = 0;    // records in the list, whatever their status
};

// Counts the three lists int_head, ext_head, axs_head by status, turning
// undefined simplices internal (int_head) or external (the other two).
// level 0 prints nothing; level 1 prints the list sizes ("Grid details:");
// level 2 prints the three status blocks first.
void contability(grid_record& grid, int level);
// What contability(grid, 0) leaves behind when the internal and external
// lists are about to be merged and classified again (which resets their
// statuses): the auxiliary list's undefined simplices become external.
void settle_auxiliary(grid_record& grid);

}  // namespace corvan
