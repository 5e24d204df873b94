// Boundary edges that cross, touch or overlap, found before any grid is
// made. Every edge's curve is followed as a polyline (its knots, and where
// the curve bends between two knots, three more points per interval), and
// the polylines' segments are compared by a bucket grid, so the cost grows
// with the number of segments, not with its square.
//
// Edges may meet only where they share a boundary vertex (by number), as
// consecutive edges of a loop do; a closed edge meets itself at its vertex.
// Everywhere else two segments closer than the tolerance (a millionth of
// the boundary's extent, about the narrowest gap the Delaunay kernel
// resolves) are a fault: a crossing, a vertex lying on another edge, a
// touch, or an overlap (two edges along the same line). Two segments that
// leave a shared point in the same direction overlap too (an edge folding
// back, or two edges leaving a vertex along one line).
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// The first fault, in the order of the edge numbers.
struct boundary_crossing {
    bool found = false;
    int edge_a = 0;    // the lower edge number (edge_a = edge_b: an edge meets itself)
    int edge_b = 0;
    double x = 0.0;    // where they meet
    double y = 0.0;
};

// Looks for the fault on the curves of grid's edges (the curve table must be
// built and every edge's icurv valid, as check_in_boundary ensures).
boundary_crossing find_boundary_crossing(const grid_record& grid);

// Stops the run, naming both edges and the place, when find_boundary_crossing
// finds a fault.
void check_boundary_crossings(const grid_record& grid);

}  // namespace corvan
