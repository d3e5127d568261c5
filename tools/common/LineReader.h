#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

// Splits a stream into LF-terminated lines without allocating per line. A line longer than
// the buffer is cut: its head is handed out once, the rest up to the next LF is skipped
// (no sentence is that long).
class LineReader {
public:
    explicit LineReader(std::FILE* in);

    // The next line without its LF; false at the end of the stream.
    bool Next(std::string_view& line);
    // Whether that line ended in an LF (not a cut line, nor a last one without it).
    bool EndedInLf() const { return endedInLf; }
    bool Failed() const { return error != 0; }
    // errno of the failed read.
    int Error() const { return error; }

private:
    bool Fill();

    static constexpr size_t kCapacity = 1 << 20;
    std::FILE* in;
    std::unique_ptr<char[]> buffer;
    size_t begin = 0;
    size_t end = 0;
    bool eof = false;
    int error = 0;
    bool skipping = false;
    bool endedInLf = false;
};
