// The boundary grid: points along every boundary curve at equal steps of
// metric length, their twins in the domain grid, one 1-D Delaunay grid per
// edge over its curve parameter, and the domain grid made to conform to the
// boundary by halving boundary segments in both grids at once.
//
// Orientation: the domain lies to the right of every edge in the direction of
// increasing curve parameter.
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// Largest number of points one edge may receive; an edge asking for more has
// spacing data that cannot be meant (a spacing far below the curve's size).
inline constexpr int kMaxEdgePoints = 10000000;

// A boundary segment whose curve-parameter length (the parameter runs over
// [0, 1] on every curve) falls below this cannot be halved meaningfully any
// more. A valid boundary is recovered long before: every pass halves each
// unmatched segment, and halving stops once segments are about as short as
// the distance between non-adjacent boundary parts. Reaching this bound
// would take parts closer than about 1e-9 of a curve's length, far finer
// than the Delaunay kernel resolves (it flags triangles whose determinant
// is below 1e-12); only edges that cross or touch get there.
inline constexpr double kMinStitchParam = 1e-9;

// Module state.
struct BoundaryState {
    // L(1..n) of the edge being treated: first the spacing h at each knot of
    // its curve, then the metric length from the start of the curve to the
    // knot. Reallocated for every edge.
    Array1<double> len;
};
extern BoundaryState boundary;

// Fills L(1..n) with the metric length from the start of the curve of edge e
// to each of its n knots and returns the knots s(1..n) (a view of the curve's
// own array). Stops the program when a data interval contains no knot
// ("build_h error for si = "), and when the edge's data cannot give a finite
// metric length: a curve number outside the curve table, fewer than two data
// points, an unknown spacing law, a spacing that is not positive and finite,
// or more than kMaxEdgePoints points.
const Array1<double>& metric_r_1d(int e, const grid_record& g, Array1<double>& L);

// Appends at the bottom of the list the points of one edge at equal metric
// steps of at most 1, with x(1) the curve parameter in [0, 1], increasing
// from exactly 0 to exactly 1 (two points when the length is below 1).
// s(1..n) are the knots and L(1..n) the metric lengths of metric_r_1d.
void points_1d(point* head, const Array1<double>& s, const Array1<double>& L);

// Places the points of every edge in the edge's add_head, their twins in the
// grid's add_head, and makes the vertex points (g.vert). Writes the warning
// record once and one " Segment " record per edge.
void bou_r_points(grid_record& g);

// Starts every edge grid on the parameter segment -0.25 .. 1.25 and the
// domain grid on the bounding box of the points waiting in g.add_head.
void set_grid(grid_record& g);

// For every edge: inserts the points of its add_head into its grid (moving
// them to pnt_head), then splits its segments into internal ones (between the
// edge's first and last point) and the two external end pieces.
void add_points_1d(grid_record& g);

// Builds the edge grids and the domain grid and halves unmatched boundary
// segments until every one is a domain edge; ends with the domain triangles
// split into g.int_head and g.ext_head. Stops the program when a segment
// would have to be halved below kMinStitchParam (edges that cross or touch).
void add_points_12d(grid_record& g);

// Halves every segment waiting in the edges' stc_head; count = number halved
// (0: the boundary conforms). Stops the program, naming the edge, when a
// segment is already shorter than kMinStitchParam in curve parameter.
void stitch_boundary(grid_record& g, int& count);

// Makes the midpoint of boundary segment sg of edge e (on curve ic) and its
// twin in the domain grid, and queues them for insertion on top of the edge's
// and the grid's add_head. Both get parent = the index of sg's internal
// triangle (0 when it has none) and walk from sg's first vertex (its twin).
void halve_bou(grid_record& g, int e, int ic, simplex* sg);

// The whole boundary grid: bou_r_points, set_grid, add_points_12d. Requires
// the curve table and the kernel's work lists (delaunay_setup).
void boundary_grid(grid_record& g);

}  // namespace corvan
