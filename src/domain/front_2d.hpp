// Frontal refinement of the domain grid, with the Steiner points before the
// front and the corner splits after it.
#pragma once

#include "grid/grid_types.hpp"
#include "io/text_io.hpp"

namespace corvan {

// Refines grid by at most nstep front steps; choice must be 0; dom is the
// open domain file positioned after the background points (Steiner points).
void front_grid(grid_record& grid, grid_record& back, int nstep, int choice, RecordReader& dom);

}  // namespace corvan
