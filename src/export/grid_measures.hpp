// The quality of the numbered grid as a whole: the shape of every triangle
// and the summary the quality report prints, all from the measures of
// quality/measures.hpp so that every number a user sees means the same.
#pragma once

#include <array>

#include "grid/one_based.hpp"
#include "mesh/arrays.hpp"
#include "quality/measures.hpp"

namespace corvan {

// The shape of domain element e at e, for e = 1..a.ns_d.
Array1<TriangleShape> triangle_shapes(const ArraysState& a);

// The boundary edge of each domain node p at p (1..a.np_d): the smallest
// edge index among the boundary segments that end at p, 0 for an interior node.
Array1<int> node_edges(const ArraysState& a);

// Smallest angles are counted in bins of this width, degrees; the last bin
// also holds 60 (an equilateral triangle).
constexpr int kAngleBinWidth = 10;
constexpr int kAngleBins = 60 / kAngleBinWidth;

// The summary of a grid. A statistic over no value (a grid without
// triangles) is NaN.
struct GridQuality {
    int nodes = 0;              // domain nodes
    int triangles = 0;          // domain elements
    int boundary_segments = 0;  // boundary elements
    // Smallest angle of each triangle, degrees. The percentile and the median
    // are the values at positions n / 100 and n / 2 (from 0) of the n values
    // in ascending order.
    double min_angle_min = 0.0, min_angle_p1 = 0.0, min_angle_median = 0.0;
    std::array<int, kAngleBins> min_angle_bins{};  // triangles per bin, from 0 degrees up
    double max_angle_max = 0.0;                    // largest angle of any triangle, degrees
    double radius_ratio_min = 0.0, radius_ratio_mean = 0.0;  // 2r/R
    // Length of each grid side (counted once) over the mean target spacing
    // of its ends; the standard deviation is the population one.
    int sides = 0;
    double length_mean = 0.0, length_std = 0.0, length_min = 0.0, length_max = 0.0;
};

GridQuality grid_quality(const ArraysState& a, const Array1<TriangleShape>& shapes);

}  // namespace corvan
