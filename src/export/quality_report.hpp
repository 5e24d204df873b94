// The quality report of a run: a short table on standard output and the
// same numbers as JSON for scripts.
#pragma once

#include <string>
#include <vector>

#include "export/grid_measures.hpp"

namespace corvan {

// Wall-clock seconds spent in one stage of the run.
struct StageTime {
    std::string stage;
    double seconds = 0.0;
};

// Prints the table: counts, angles, radius ratio, the histogram of smallest
// angles, side length over target spacing, the time of each stage and their
// total, and the name of the JSON file.
void print_quality_report(const std::string& name, const GridQuality& q, const std::vector<StageTime>& times,
                          const std::string& json_path);

// The same numbers as one JSON object: reals with 17 significant digits, a
// statistic without values as null, stage times in run order.
void write_quality_json(const std::string& path, const std::string& name, const GridQuality& q,
                        const std::vector<StageTime>& times);

}  // namespace corvan
