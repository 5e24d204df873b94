// Laplacian smoothing of the finished domain grid over the node and element
// arrays, boundary nodes held fixed.
#pragma once

namespace corvan {

// Jacobi sweeps over the arrays last built; writes the new coordinates back
// into the grid's points.
void smooth();

}  // namespace corvan
