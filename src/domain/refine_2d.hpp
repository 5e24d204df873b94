// Splitting of a domain triangle's side.
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// Makes the midpoint of the side of s opposite its vertex k (metric and
// spacing the mean of the side's ends, parent s->i, ref vertex 1 of s) and
// pushes it on the top of grid.add_head. The spacing is only reported (the
// exports and the quality report); without it a corner node would claim a
// target spacing of 0.
void halve_dom(grid_record& grid, int k, simplex* s);

}  // namespace corvan
