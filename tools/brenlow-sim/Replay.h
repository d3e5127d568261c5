#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "tools/brenlow-sim/SimOptions.h"
#include "tools/brenlow-sim/SimOutput.h"

// A recording played back byte for byte, paced by its times. It is read twice, checked whole
// before anything is sent, so bad input sends nothing.
class Replay {
public:
    Replay() = default;
    ~Replay();
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    // False with `error` saying why: a file that cannot be read, that is no regular file, or
    // that holds a line that cannot be played as recorded.
    bool Open(const std::string& path, std::string& error);
    // Plays it (again and again with --loop) until its end, the time or a signal. Failed: a
    // write error (errno), or the file changed since Open (`error` says how).
    Sent Play(const SimOptions& options, SimOutput& output,
              std::chrono::steady_clock::time_point end, std::string& error);

private:
    std::FILE* file = nullptr;
    bool empty = true;
};
