#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/brenlow-sim/AisEncoder.h"
#include "tools/brenlow-sim/FaultInjector.h"
#include "tools/brenlow-sim/Fleet.h"
#include "tools/brenlow-sim/Random.h"

struct TrafficOptions {
    int vessels = 10;
    uint64_t seed = 1;
    double rate = 10.0;  // messages per second of simulated time; 0 = one per 0.1 s
    double faultShare = 0.0;
    uint32_t faultKinds = kAllFaults;
    int staticEvery = 5;  // every n-th report of a station is its static report
    bool own = true;
    uint32_t ownMmsi = 211999990;
    double latitude = 54.45;
    double longitude = 10.25;
};

// One message as sent, with the values it carries.
struct SimMessage {
    uint64_t seq = 0;
    double time = 0.0;  // seconds since the start
    bool own = false;   // "!AIVDO"
    int type = 0;       // 1, 2, 3 or 5
    PositionReport position;
    StaticReport statics;
    std::vector<std::string> sentences;  // the lines sent, faults included
    Fault fault = Fault::None;
    // An earlier damaged multi-sentence message may have left a fragment behind that a
    // decoder joins to this one; true until a single-sentence message has gone out whole.
    bool tainted = false;
};

// The message stream: the stations take turns (own vessel first), each sending position
// reports and, every few turns, its two-sentence static report.
class TrafficGenerator {
public:
    explicit TrafficGenerator(const TrafficOptions& options);

    SimMessage Next();

private:
    TrafficOptions options;
    Fleet fleet;
    FaultInjector faults;
    Random random;
    uint64_t seq = 0;
    int sequenceId = 0;
    std::vector<uint64_t> turns;  // reports sent per station, own vessel at the end
    bool pendingFragment = false;
};
