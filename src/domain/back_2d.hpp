// The background grid: the target spacing of the domain, carried by a copy
// of the boundary grid into which the background points are inserted, and
// its interpolation at any point of the domain.
#pragma once

#include "grid/grid_types.hpp"
#include "io/text_io.hpp"

namespace corvan {

// Reads the boundary file (from its first record) a second time into the
// background record: edge count, edge data and fresh list heads.
void load_back_read(RecordReader& in, grid_record& back);

// Gives the grid's boundary points their spacing, copies grid into back and
// inserts the background points read from the domain file (positioned at
// its third record).
void build_back(RecordReader& dom, grid_record& grid, grid_record& back);

// Locates pnt (x set, ref->ppp a background point with a valid spx) in the
// background triangles of head (back.int_head). On success flag = 0, spx is
// the containing triangle and pnt->h, pnt->ppp are set; on failure flag = 1
// and pnt is unchanged.
void eval_back(point* pnt, simplex* head, simplex*& spx, int& flag);

}  // namespace corvan
