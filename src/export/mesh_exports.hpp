// The numbered grid in the formats other tools read: Gmsh MSH 4.1 (finite
// element codes, meshio), VTK XML unstructured grid (ParaView, VisIt,
// meshio) and an SVG picture. The writers read the arrays as the save stage
// left them (mesh/arrays.hpp): node p, triangle e and boundary segment k
// keep the numbers of the node and element files. Reals are written with 17
// significant digits, so coordinates read back exactly. A file that cannot be
// written stops the run (TextFile).
#pragma once

#include <string>

#include "grid/one_based.hpp"
#include "mesh/arrays.hpp"
#include "quality/measures.hpp"

namespace corvan {

// MSH 4.1 ASCII: nodes 1..np_d; triangles 1..ns_d on surface 1; boundary
// segment k as line element ns_d + k on curve entity iflux(k), one curve per
// boundary edge 1..n_edge. Physical groups: "edge1".."edgeN" (dimension 1,
// tags 1..N) and "domain" (dimension 2, tag N + 1).
void write_msh(const std::string& path, const ArraysState& a, int n_edge);

// VTK XML UnstructuredGrid, inline ASCII: the nodes, the triangles (cells
// 0..ns_d - 1), cell data min_angle (degrees) and radius_ratio (2r/R), point
// data spacing (the target spacing at the node) and edge (its boundary edge,
// 0 inside; node_edges of export/grid_measures.hpp).
void write_vtu(const std::string& path, const ArraysState& a, const Array1<TriangleShape>& shapes);

// Smallest angle, degrees, below which the picture fills a triangle in a
// warning colour.
constexpr double kWarnAngle = 20.0;

// An SVG picture about 1000 px across: interior sides thin grey (one
// "M x y L x y" per side in one path), boundary segments dark and thicker
// (one path per boundary edge, in the same form), triangles whose smallest
// angle is below kWarnAngle filled, and a caption with the counts.
void write_svg(const std::string& path, const std::string& name, const ArraysState& a,
               const Array1<TriangleShape>& shapes);

}  // namespace corvan
