// Line-drawing plot files of a grid: one block per drawn segment.
#pragma once

#include "grid/grid_types.hpp"
#include "io/text_io.hpp"

namespace corvan {

// Plot colours.
enum : int {
    colour_grid = 0,      // sides of the plotted simplices
    colour_boundary = 1,  // boundary segments
    colour_long_a = 4,    // first half of an over-long side (length plot)
    colour_long_b = 6,    // second half of an over-long side (length plot)
};

// A side longer than this in the metric is flagged by the length plot.
inline constexpr double kLongSide = 2.2;

// Writes the plot of the simplices of list a, leaving out the sides toward
// simplices of list b, then every boundary segment of g's edges in colour 1
// at its domain points. Statuses are changed only while plotting; list a and
// b must hold no negative status on entry. With length_option, each side is
// measured in the metric and a side longer than 2.2 is drawn as two halves,
// colour 4 up to its midpoint and colour 6 from it.
void g_plot(TextFile& out, const grid_record& g, simplex* a, simplex* b, bool length_option = false);

}  // namespace corvan
