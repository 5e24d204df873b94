// The local operators of the optimiser. Each keeps the grid valid (every
// live triangle counter-clockwise with area above the validity share),
// never moves a fixed node and never flips or collapses a boundary segment;
// an operator that cannot keep this refuses and changes nothing.
#pragma once

#include <vector>

#include "optimize/tri_mesh.hpp"

namespace corvan {

// Scratch lists reused by every call, so the passes allocate nothing per node.
struct OpScratch {
    std::vector<int> star, star2, stack;
    std::vector<int> touched;  // the triangles restore_delaunay flipped
    std::vector<Vec<double, 2>> ring;  // the far side of each star triangle: 2 nodes each
};

// Flips the side opposite vertex k of t: refused on a boundary segment and
// when the quadrilateral of t and its neighbour is not strictly convex.
bool flip_side(TriMesh& m, int t, int k);

// Lawson's flips from the seed triangles until every inner side among the
// triangles reached is locally Delaunay (its opposite node outside the
// circumcircle). Returns the number of flips.
int restore_delaunay(TriMesh& m, const std::vector<int>& seeds, OpScratch& s);

// What a node move aims at.
enum class MoveGoal {
    worst_angle,   // raise the smallest angle of the star
    radius_ratio,  // raise the mean radius ratio of the star, no angle below the guard
};

// Smallest-angle sine and mean radius ratio of the star of p (s.star set
// by m.star) with p at x; sin_min is -1 when a triangle would not be valid.
struct StarShape {
    double sin_min = -1.0;
    double mean_rr = 0.0;
};
StarShape star_shape(const TriMesh& m, int p, const Vec<double, 2>& x, OpScratch& s);

// Optimisation-based smoothing of free node p: a compass search from the
// node (and from its neighbours' centroid) maximising the goal; the move is
// made only when the goal improves (for radius_ratio: with no angle of the
// star below guard_sin's angle, or its current worst, whichever is smaller).
bool improve_node(TriMesh& m, int p, MoveGoal goal, double guard_sin, OpScratch& s);

// Collapses the side opposite vertex k of t: its free end (either, when both
// are free, whichever leaves the better star) joins the other end. Refused on
// a boundary segment, when neither end is free, when the two ends share
// neighbours other than the side's two opposite nodes, and when the smallest
// angle around the joined node would not beat the worst angle of the two
// stars before. Returns the surviving node, 0 when refused.
int collapse_side(TriMesh& m, int t, int k, OpScratch& s);

// Walks from triangle t toward x: the triangle containing x, or 0 when the
// walk leaves the grid through the boundary.
int locate(const TriMesh& m, int t, const Vec<double, 2>& x);

// Inserts a node at x, inside triangle t or on one of its inner sides, with
// the spacing interpolated from t's nodes, and restores the Delaunay property
// around it. Refused (0) when x lies on a boundary segment or too close to a
// side for the new triangles to be valid. Returns the new node.
int insert_node(TriMesh& m, int t, const Vec<double, 2>& x, OpScratch& s);

}  // namespace corvan
