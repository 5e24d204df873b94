// Between the grid's linked records and the optimiser's arrays: the internal
// triangles and domain points of a grid become a TriMesh, and the optimised
// TriMesh is written back into the same records, so that the checks, the
// numbering, the mesh files and the plots all see the optimised grid.
#pragma once

#include <vector>

#include "grid/grid_types.hpp"
#include "optimize/tri_mesh.hpp"

namespace corvan {

// What the write-back needs to find the records again.
struct GridLink {
    std::vector<point*> points;       // node n: points[n - 1] (domain points in list order)
    std::vector<simplex*> triangles;  // the internal records in list order
    struct BoundarySide {
        int a = 0, b = 0;             // its nodes, a < b
        simplex* outside = nullptr;   // the external triangle across it
        simplex* segment = nullptr;   // the boundary segment lying on it
    };
    std::vector<BoundarySide> sides;  // sorted by (a, b)
};

// The internal triangles of grid (int_head) and the points of pnt_head as
// a linked TriMesh; boundary points are fixed, edge end points corners.
TriMesh mesh_from_grid(grid_record& grid, GridLink& link);

// True when every domain point's metric is isotropic (a multiple of the
// identity): the optimiser measures shape with Euclidean angles.
bool isotropic_metric(const grid_record& grid);

// Writes m back into grid: moved points, new points at the bottom of
// pnt_head, removed ones to rej_head; one internal record per live
// triangle in index order (the old records reused in list order, spare ones
// to the kernel's garbage list), with neighbours, connectivity, facets, the
// external triangles and boundary segments across the boundary linked back.
void grid_from_mesh(const TriMesh& m, grid_record& grid, GridLink& link);

}  // namespace corvan
