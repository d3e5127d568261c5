#include "app/Reception.h"

namespace {

using Hearing = Reception::Hearing;

int64_t SecondOf(Reception::Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
}

struct WindowCounts {
    uint64_t bytes, nmea, ais;
};

// First row that applies wins. A row waits until the port has been open for its seconds,
// so that a receiver is not judged on its first partial line.
struct HearingRow {
    Hearing hearing;
    const char* name;
    int64_t secondsOpen;
    bool (*applies)(const WindowCounts&);
    const char* text;  // null: the counts
};

constexpr HearingRow kHearingRows[] = {
    {Hearing::Receiving, "receiving", 0, [](const WindowCounts& w) { return w.ais > 0; }, nullptr},
    {Hearing::Silent, "silent", 10, [](const WindowCounts& w) { return w.bytes == 0; },
     "open, nothing received for 10 s: is the receiver on, and is this its port?"},
    {Hearing::NoLines, "no NMEA", 10, [](const WindowCounts& w) { return w.nmea == 0; },
     "open, bytes but no NMEA lines: is the baud rate right? AIS receivers usually send at "
     "38400, GPS and some VHF radios at 4800"},
    {Hearing::NoAis, "no AIS", 10, [](const WindowCounts&) { return true; },
     "open, NMEA but no AIS sentences: is this the GPS port?"},
    {Hearing::Listening, "listening", 0, [](const WindowCounts&) { return true; },
     "open, listening"},
};

const HearingRow& RowOf(Hearing hearing) {
    for (const HearingRow& row : kHearingRows) {
        if (row.hearing == hearing) {
            return row;
        }
    }
    return kHearingRows[std::size(kHearingRows) - 1];
}

// 1234567 as "1,234,567".
std::string Grouped(uint64_t value) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return text;
}

}  // namespace

void Reception::PortState(bool nowOpen, Clock::time_point now) {
    if (nowOpen && !open) {
        openedAt = now;
        seconds = {};
    }
    open = nowOpen;
}

Reception::Second& Reception::At(Clock::time_point now) {
    const int64_t index = SecondOf(now);
    Second& second = seconds[static_cast<size_t>(index % kWindowSeconds)];
    if (second.index != index) {
        second = Second{index};
    }
    return second;
}

void Reception::Bytes(uint64_t count, Clock::time_point now) {
    if (count > 0) {
        bytes += count;
        At(now).bytes += count;
    }
}

void Reception::Line(SentenceOutcome outcome, Clock::time_point now) {
    ++lines;
    ++outcomes[static_cast<size_t>(outcome)];
    Second& second = At(now);
    if (outcome != SentenceOutcome::NotNmea) {
        ++second.nmea;
    }
    if (outcome != SentenceOutcome::NotNmea && outcome != SentenceOutcome::OtherNmea) {
        ++second.ais;
    }
}

Reception::Window Reception::Recent(Clock::time_point now) const {
    Window window;
    const int64_t current = SecondOf(now);
    for (const Second& second : seconds) {
        if (second.index >= 0 && current - second.index < kWindowSeconds) {
            window.bytes += second.bytes;
            window.nmea += second.nmea;
            window.ais += second.ais;
        }
    }
    window.secondsOpen = std::chrono::duration_cast<std::chrono::seconds>(now - openedAt).count();
    return window;
}

Reception::Hearing Reception::Judge(Clock::time_point now) const {
    const Window window = Recent(now);
    const WindowCounts counts{window.bytes, window.nmea, window.ais};
    for (const HearingRow& row : kHearingRows) {
        if (window.secondsOpen >= row.secondsOpen && row.applies(counts)) {
            return row.hearing;
        }
    }
    return Hearing::Listening;
}

const char* Reception::HearingName(Hearing hearing) {
    return RowOf(hearing).name;
}

std::string Reception::Counts() const {
    uint64_t refused = 0;
    std::string reasons;
    for (int i = 0; i < kSentenceOutcomeCount; ++i) {
        const auto outcome = static_cast<SentenceOutcome>(i);
        if (IsRefusal(outcome) && outcomes[static_cast<size_t>(i)] > 0) {
            refused += outcomes[static_cast<size_t>(i)];
            reasons += (reasons.empty() ? " (" : ", ") + std::string(OutcomeName(outcome)) + " " +
                       Grouped(outcomes[static_cast<size_t>(i)]);
        }
    }
    return "receiving: " + Grouped(lines) + " lines, " +
           Grouped(outcomes[static_cast<size_t>(SentenceOutcome::Decoded)]) +
           " AIS messages decoded, " + Grouped(refused) + " refused" +
           (reasons.empty() ? "" : reasons + ")");
}

std::string Reception::Text(Clock::time_point now) const {
    const HearingRow& row = RowOf(Judge(now));
    return row.text != nullptr ? row.text : Counts();
}
