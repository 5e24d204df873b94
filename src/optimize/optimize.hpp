// The optimisation stage: turns a finished grid into one fit for a solver.
// Delaunay flips among internal triangles, optimisation-based smoothing of
// the free nodes, repair of the triangles still poorly shaped (collapse of
// a short interior side, a node at the circumcentre), and guarded sweeps for
// the radius ratio. Boundary nodes and segments are left exactly as they are.
#pragma once

#include "grid/grid_types.hpp"
#include "optimize/tri_mesh.hpp"

namespace corvan {

struct OptimizeCounts {
    int flips = 0;
    int moves = 0;
    int insertions = 0;
    int collapses = 0;
    double min_angle_before = 0.0;  // smallest angle of the grid, degrees
    double min_angle_after = 0.0;
};

// The passes on a TriMesh; returns what they did.
OptimizeCounts optimize_mesh(TriMesh& m);

// The stage on the grid's records: optimises the internal grid, writes it
// back and prints the counts and the smallest angle before and after. A grid
// with anisotropic spacing is left unchanged (with a line saying so).
void optimize_grid(grid_record& grid);

}  // namespace corvan
