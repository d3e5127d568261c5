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
    bool help = false;
};

// False with `error` set on an unknown option or a value out of range.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& error);

const char* SimHelpText();
