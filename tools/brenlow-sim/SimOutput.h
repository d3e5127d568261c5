#pragma once

#include <chrono>
#include <string_view>

#include "platform/PseudoTerminal.h"

enum class Sent { Ok, Ended, Failed };

// Where the sentences go: standard output or the pseudo-terminal.
class SimOutput {
public:
    explicit SimOutput(platform::PseudoTerminal* pty) : pty(pty) {}

    // Ended: a stop was asked for, or the deadline passed while nobody read. Failed: errno
    // says why.
    Sent Write(std::string_view bytes, std::chrono::steady_clock::time_point deadline, bool flush);
    // With `paced`, waits until `due` first; then writes with `end` as the deadline. Ended also
    // when a stop came or `end` passed before the write.
    Sent WriteAt(std::string_view bytes, std::chrono::steady_clock::time_point due,
                 std::chrono::steady_clock::time_point end, bool paced);

private:
    platform::PseudoTerminal* pty;
};
