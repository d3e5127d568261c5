#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "ais/SentenceOutcome.h"

// What an open port brings in: totals since the start, and per second over the last seconds,
// from which it says in plain words what the port hears.
class Reception {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int kWindowSeconds = 10;

    enum class Hearing { Listening, Silent, NoLines, NoAis, Receiving };

    // Called on every tick with the port's state: an opening starts the judgement afresh.
    void PortState(bool open, Clock::time_point now);
    void Bytes(uint64_t count, Clock::time_point now);
    void Line(SentenceOutcome outcome, Clock::time_point now);

    Hearing Judge(Clock::time_point now) const;
    // The judgement in plain words, with the counts while AIS arrives.
    std::string Text(Clock::time_point now) const;
    static const char* HearingName(Hearing hearing);

    uint64_t bytes = 0;
    uint64_t lines = 0;
    std::array<uint64_t, kSentenceOutcomeCount> outcomes{};

private:
    struct Second {
        int64_t index = -1;
        uint64_t bytes = 0;
        uint64_t nmea = 0;
        uint64_t ais = 0;
    };
    struct Window {
        uint64_t bytes = 0;
        uint64_t nmea = 0;
        uint64_t ais = 0;
        int64_t secondsOpen = 0;
    };

    Second& At(Clock::time_point now);
    Window Recent(Clock::time_point now) const;
    std::string Counts() const;

    std::array<Second, kWindowSeconds> seconds{};
    bool open = false;
    Clock::time_point openedAt{};
};
