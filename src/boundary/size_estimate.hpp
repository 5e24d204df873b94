// The size of a grid before it is made: boundary points from the metric
// length of every edge (the integral of 1/h along its curve) and triangles
// from the background grid (the integral of 1/h^2 over its triangles, with
// h linear on each), so that a problem whose spacing asks for more than the
// run is allowed to make stops at once instead of after hours.
#pragma once

#include <limits>

#include "grid/grid_types.hpp"

namespace corvan {

// An estimate, and where the spacing is smallest.
struct size_estimate {
    double boundary_points = 0.0;  // points of all edges together
    double triangles = 0.0;        // 0 until the background grid is counted
    double finest_h = std::numeric_limits<double>::infinity();  // the smallest spacing given
    int finest_edge = 0;           // the edge it was given on (0: a background point)
    int finest_data = 0;           // its spacing data point on that edge
    double finest_x = 0.0;         // the background point's place (finest_edge = 0)
    double finest_y = 0.0;
};

// Boundary points of every edge of g (the curve table built), with the
// smallest spacing of the edges' data. Stops, as metric_r_1d does, on an
// edge whose data give no finite metric length or too many points.
size_estimate estimate_boundary(const grid_record& g);

// Adds the triangles of the background grid back (its internal triangles,
// spacing at their corners) and its background points to the finest spacing.
void estimate_triangles(const grid_record& back, size_estimate& est);

// Prints the estimate when report is set; stops the run, giving the
// estimate and the place of the smallest spacing, when it exceeds
// max_triangles (the boundary points alone count as a lower bound on the
// triangles, before the background grid exists).
void check_size(const size_estimate& est, double max_triangles, bool report);

}  // namespace corvan
