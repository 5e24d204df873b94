// The stages of a run after the problem input: grid build, grid save and
// grid plot, each on the program-wide records grid and back.
#pragma once

#include <string>

#include "driver/options.hpp"
#include "grid/grid_types.hpp"

namespace corvan {

// The two program-wide grid records: the grid being built (its edges carry
// the boundary grids, its own lists the domain grid) and the background grid.
extern grid_record grid;
extern grid_record back;

// The directory every build and plot file name starts with.
inline const std::string kDirectory = "./";

// Loads the curves, builds the boundary grid, the background grid and, when
// the domain file's step limit is positive, refines, numbers and optionally
// smooths the domain grid; ends with the consistency checks and counts.
// File names: directory(1:ld) + "/geometry." (or "/boundary.", "/domain.")
// + the problem stem. The options add stages beyond the default build.
void build_grid(const std::string& directory, const std::string& name, const Options& options);

// Writes the element and node files in the current directory, from the
// arrays build_grid left (nothing changes the grid in between: numbering it
// again would give the same arrays); numbers the grid first when it has no
// arrays yet.
void save_grid(const std::string& directory, const std::string& name);

// Writes the plot files: always the grid plot; metric_switch 0 / 1 / 2 adds
// the metric / ellipse / length plot (negative: none); back_switch 1 adds the
// background plot (and its metric or ellipse plot with metric_switch 0 / 1);
// ext_switch 1 adds the external plot.
void plot_grid(const std::string& directory, const std::string& name, int metric_switch, int back_switch,
               int ext_switch);

}  // namespace corvan
