// What a run writes after the mesh and plot files, on request: the exports
// of --export and the quality report of --report, both for the grid the
// node and element files describe.
#pragma once

#include <string>

#include "driver/options.hpp"

namespace corvan {

// Writes <stem>.msh, <stem>.vtu and <stem>.svg as options.exports asks, in
// the current directory; with options.report, then prints the quality table
// and writes report.<stem>.json. Needs the arrays as save_grid left them.
void export_grid(const std::string& name, const Options& options);

}  // namespace corvan
