#pragma once

#include <chrono>
#include <string>

#include "platform/PseudoTerminal.h"

enum class Sent { Ok, Ended, Failed };

// Where the sentences go: standard output or the pseudo-terminal.
class SimOutput {
public:
    explicit SimOutput(platform::PseudoTerminal* pty) : pty(pty) {}

    // Ended: a stop was asked for, or the deadline passed while nobody read. Failed: errno
    // says why.
    Sent Write(const std::string& bytes, std::chrono::steady_clock::time_point deadline,
               bool flush);

private:
    platform::PseudoTerminal* pty;
};
