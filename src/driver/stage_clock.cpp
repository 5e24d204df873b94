#include "driver/stage_clock.hpp"

#include <utility>

#include "io/text_io.hpp"

namespace corvan {

StageClock stage_clock;

void StageClock::lap(std::string stage) {
    const auto now = std::chrono::steady_clock::now();
    times_.push_back({std::move(stage), std::chrono::duration<double>(now - last_).count()});
    last_ = now;
    flush_output();  // the stage's messages reach the user as it ends
}

}  // namespace corvan
