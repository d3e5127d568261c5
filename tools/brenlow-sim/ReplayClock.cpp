#include "tools/brenlow-sim/ReplayClock.h"

#include <algorithm>

namespace {

// A gap of decades is as good as forever, and keeps the sums inside the clock's range.
constexpr double kLongestWait = 1e9;

ReplayClock::Duration Seconds(double seconds) {
    return std::chrono::duration_cast<ReplayClock::Duration>(
        std::chrono::duration<double>(std::min(seconds, kLongestWait)));
}

}  // namespace

ReplayClock::Duration ReplayClock::Due(const ReplayLine& line) {
    Duration due = last + (started && rate > 0 ? Seconds(1 / rate) : Duration{});
    started = true;
    if (line.timed && anchored) {
        due = std::max(last, anchorAt + Seconds((line.ms - anchorMs) / 1000.0 / speed));
    } else if (line.timed) {
        anchored = true;
        anchorMs = line.ms;
        anchorAt = due;
    }
    last = due;
    return due;
}
