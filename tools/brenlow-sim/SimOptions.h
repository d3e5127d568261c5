#pragma once

#include <cstdint>
#include <string>

#include "tools/brenlow-sim/TrafficGenerator.h"

struct SimOptions {
    TrafficOptions traffic;
    bool pty = false;
    std::string link;      // symlink to the pseudo-terminal's device
    std::string log;       // truth log, JSON lines
    double seconds = 0.0;  // 0 = no limit
    uint64_t count = 0;    // 0 = no limit
    std::string replay;    // a recording to play instead of simulated traffic
    double speed = 1.0;    // of the replay's recorded times
    bool loop = false;     // play the recording again and again
    bool help = false;
};

// False with `error` set on an unknown option or a value out of range.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& error);

const char* SimHelpText();
