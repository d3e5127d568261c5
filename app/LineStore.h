#pragma once

#include <cstddef>
#include <deque>
#include <string>

// The received lines the window lists, newest first, bounded so that a run of weeks keeps
// a steady memory use. Lines are Windows-1252 bytes made fit for display.
class LineStore {
public:
    static constexpr size_t kDefaultCap = 100000;

    explicit LineStore(size_t cap = kDefaultCap) : cap(cap == 0 ? 1 : cap) {}

    // Adds a line at the top, as ListText shows it; drops the oldest beyond the cap.
    void PushFront(const char* line, size_t length);

    size_t Size() const { return lines.size(); }
    size_t Cap() const { return cap; }
    // Line 0 is the newest.
    const std::string& Line(size_t index) const { return lines[index]; }

private:
    size_t cap;
    std::deque<std::string> lines;
};
