#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/soak/RecordingSource.h"
#include "tests/soak/TrafficWriter.h"

// Follows every message from the simulator to the decoder. Lines arrive in the order they
// were written, so each line handed out is matched to the next sentence sent that equals it;
// sentences passed over were lost. A loss is the unplug's doing only when the line that
// passed it came from a later device: within one device nothing may go missing.
class DeliveryCheck {
public:
    struct Counts {
        uint64_t messages = 0;  // resolved
        uint64_t decoded = 0;
        uint64_t lostUnplug = 0;
        std::array<uint64_t, kFaultKinds + 1> lostByFault{};  // index: Fault
        uint64_t lostTainted = 0;
        uint64_t lostOtherwise = 0;
        std::array<uint64_t, kFaultKinds + 1> decodedDespiteFault{};
        uint64_t lines = 0;
        uint64_t unmatchedLines = 0;
        uint64_t linesLostInDevice = 0;
        uint64_t wrongDecodes = 0;     // values that match no message sent
        uint64_t repeatedDecodes = 0;  // a message or a line decoded more than once
    };

    // The last values decoded for one station, as sent.
    struct StationState {
        bool hasPosition = false;
        PositionReport position;
        bool hasStatic = false;
        StaticReport statics;
    };
    using StationKey = std::pair<bool, uint32_t>;  // own, MMSI

    void Take(std::deque<SentMessage>& sent);
    void Line(const LineEvent& event);
    // Resolves what is left; `lastSession` is the device the run ended on.
    void Finish(uint32_t lastSession);
    bool HasPending() const { return !pending_.empty(); }

    const Counts& Totals() const { return counts_; }
    const std::map<StationKey, StationState>& Stations() const { return stations_; }
    // The first problems found, for the failure message.
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    struct Pending {
        SentMessage sent;
        size_t next = 0;  // next sentence expected
        bool missed = false;
        bool missedInDevice = false;
        bool decoded = false;
    };

    void Decode(Pending& p, const LineEvent& event);
    void Resolve(const Pending& p);
    void Problem(std::string what);
    void Miss(Pending& p, size_t upTo, uint32_t session);

    std::deque<Pending> pending_;
    Counts counts_;
    std::map<StationKey, StationState> stations_;
    std::vector<std::string> problems_;
};
