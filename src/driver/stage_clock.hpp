// Wall-clock time of each stage of a run, for the quality report only: the
// mesh, plot and export files never see it, so runs stay reproducible.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "export/quality_report.hpp"

namespace corvan {

class StageClock {
public:
    StageClock() : last_(std::chrono::steady_clock::now()) {}

    // Ends the stage that ran since the previous lap (or since the clock
    // started), records it under this name and flushes standard output.
    void lap(std::string stage);
    // The stages in the order they ran.
    const std::vector<StageTime>& times() const { return times_; }

private:
    std::chrono::steady_clock::time_point last_;
    std::vector<StageTime> times_;
};

// The clock of the run, started with the program.
extern StageClock stage_clock;

}  // namespace corvan
