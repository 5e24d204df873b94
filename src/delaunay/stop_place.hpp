// Where a kernel stop happened, for the line that follows its message: the
// point being inserted and the simplex the kernel was working on, with the
// boundary edge when the point lies on one.
#pragma once

#include <string>

#include "grid/grid_types.hpp"

namespace corvan {

// "the point (x, y) of edge e" (nd = 2; "of edge e" only for a boundary
// point), or "the point at curve parameter q of edge e" (nd = 1, a point of
// an edge's one-dimensional grid).
std::string point_place(int nd, const point* p);
// "the triangle (x1, y1), (x2, y2), (x3, y3)" (nd = 2), or "the segment
// from curve parameter q1 to q2" (nd = 1).
std::string simplex_place(int nd, const simplex* s);
// For a flat simplex: "; two of its corners coincide at (x, y), where
// boundary edges touch or overlap" when they do, else "".
std::string coincidence_note(int nd, const simplex* s);

}  // namespace corvan
