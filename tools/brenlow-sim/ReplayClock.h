#pragma once

#include <chrono>

#include "tools/brenlow-sim/RecordingReader.h"

// When each line of a replay is due, as time since the replay began. A timed line keeps its
// recorded distance from the first timed line of its round, divided by the speed; an untimed
// one follows the line before by 1/rate (at once with rate 0). No line is due before the one
// before it.
class ReplayClock {
public:
    using Duration = std::chrono::steady_clock::duration;

    ReplayClock(double speed, double rate) : speed(speed), rate(rate) {}

    Duration Due(const ReplayLine& line);
    // The next line starts the recording again, one untimed step after the last.
    void NewRound() { anchored = false; }

private:
    double speed;
    double rate;
    bool started = false;
    bool anchored = false;  // a timed line of this round has set where its times start
    int64_t anchorMs = 0;
    Duration anchorAt{};
    Duration last{};
};
