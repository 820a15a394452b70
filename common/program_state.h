// Program-wide values every window reads. One instance is owned by the main
// window and passed by reference, so tests can build fresh ones.
#pragma once

#include <cstdint>
#include <string>

namespace quorel {

struct ProgramState {
    // Where the axes stand, as fractions of the plot (0.5 from start-up on).
    double OrgFracX = 0.0;
    double OrgFracY = 0.0;
    // Step pause length in seconds (5 from start-up on).
    std::int16_t PauseSeconds = 0;
    // Line break used in messages: carriage return + line feed.
    std::string NewLine;
    // Plot size in graph units and the plot position of the axes.
    std::int32_t GraphW = 0;
    std::int32_t GraphH = 0;
    double OrgX = 0.0;
    double OrgY = 0.0;
    // World x to plot x offset; set by Clear only.
    double OffX = 0.0;
};

}  // namespace quorel
