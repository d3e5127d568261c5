#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "tools/common/LineReader.h"

// One line to play back: the bytes as recorded, tag block off and line end kept, and the time
// the line arrived when the recording has it.
struct ReplayLine {
    std::string_view bytes;
    bool timed = false;
    int64_t ms = 0;  // UNIX milliseconds, when timed
};

// Reads a recording (or any NMEA log) line by line, refusing what cannot be played as it was
// recorded: a damaged tag block, a line the monitor would cut (over 1,024 bytes with its line
// end), a time that runs backwards.
class RecordingReader {
public:
    explicit RecordingReader(std::FILE* in) : reader(in) {}

    // False at the end, or on bad input with Error() saying why and on which line.
    bool Next(ReplayLine& line);
    const std::string& Error() const { return error; }

private:
    bool Refuse(std::string why);

    LineReader reader;
    uint64_t number = 0;
    uint64_t lastTimed = 0;  // the number of the last timed line, 0 before one
    int64_t lastMs = 0;
    std::string error;
};
