#pragma once

#include <cstdint>
#include <string_view>

#include "platform/AppendFile.h"

// The recording `--record` makes: every line as the port gave it, damaged or not, behind a tag
// block with the time it was read. Each line goes to the file in one write of its own, so a
// killed program loses at most the line being written.
class LineRecorder {
public:
    LineRecorder() = default;
    ~LineRecorder() { platform::AppendFileClose(file); }
    LineRecorder(const LineRecorder&) = delete;
    LineRecorder& operator=(const LineRecorder&) = delete;

    // Nothing to do without a path. False with the reason on standard error: an existing file
    // unless `overwrite`, a folder that is not there, no permission.
    bool Open(const char* path, bool overwrite);
    bool IsOpen() const { return file != nullptr; }
    // False with the reason on standard error (a full disk); the file then ends in a whole line.
    bool Write(std::string_view line, int64_t unixMs);

private:
    platform::AppendFile* file = nullptr;
    const char* path = nullptr;
};
