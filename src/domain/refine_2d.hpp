// Splitting of a domain triangle's side.
#pragma once

#include "grid/grid_types.hpp"

namespace corvan {

// Makes the midpoint of the side of s opposite its vertex k (metric the mean
// of the side's ends, parent s->i, ref vertex 1 of s) and pushes it on the
// top of grid.add_head.
void halve_dom(grid_record& grid, int k, simplex* s);

}  // namespace corvan
