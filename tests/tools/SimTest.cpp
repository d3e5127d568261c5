// brenlow-sim's encoder, traffic, faults and options. What it sends is checked by reading it
// back with the decoder, whose own tests hold it to real recordings.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <tuple>

#include "ais/AisDecoder.h"
#include "tools/brenlow-sim/TrafficGenerator.h"
#include "tools/brenlow-sim/TruthLog.h"

// A static report when it has an MMSI, else the position report, framed.
static SimMessage Framed(const PositionReport& p, const StaticReport& s = {}) {
    ArmouredPayload payload;
    EXPECT_TRUE(s.mmsi != 0 ? ArmourStaticReport(s, payload) : ArmourPositionReport(p, payload));
    return {0, 0, false, s.mmsi != 0 ? 5 : p.type, p, s, FrameSentences(payload, false, 'B', 9)};
}

// Feeds the lines sent. A message marked damaged must not decode (NULs before a line leave it
// whole); any other must leave the documented conversions of the values meant in its record.
static void ExpectDecoded(AisDecoder& decoder, const SimMessage& sent, const SimMessage& meant) {
    uint32_t mmsi = 0;
    for (const std::string& line : sent.sentences)
        mmsi = decoder.DecodeSentence(line);
    const AisTarget* t =
        mmsi != 0 && decoder.LastMessage().own == sent.own ? decoder.LastMessage().record : nullptr;
    // An earlier damaged message may have left a fragment that joins a tainted one.
    const bool lost = sent.fault != Fault::None && sent.fault != Fault::Garbage;
    EXPECT_TRUE(sent.tainted || sent.fault == Fault::Nul || (t == nullptr) == lost)
        << TruthLine(sent);
    if (lost || t == nullptr)
        return;
    const PositionReport& p = meant.position;
    const StaticReport& s = meant.statics;
    const double turn = p.rateOfTurn * 0.21128248468201988;
    if (meant.type == 5)
        EXPECT_EQ(std::make_tuple(t->imoNumber, t->callSign, t->shipName, t->destination,
                                  t->shipType, t->dimToBow, t->dimToStern, t->dimToPort,
                                  t->dimToStarboard, t->fixType, t->draught),
                  std::make_tuple(s.imoNumber, s.callSign, s.shipName, s.destination, s.shipType,
                                  s.dimToBow, s.dimToStern, s.dimToPort, s.dimToStarboard,
                                  s.fixType, s.draught * 0.1));
    else  // 1/10000 minute, tenths, (rate / 4.733) squared
        EXPECT_EQ(
            std::make_tuple(t->mmsi, t->navStatus, t->rateOfTurn, t->speedOverGround,
                            t->positionAccuracy, t->longitude, t->latitude, t->courseOverGround,
                            t->trueHeading),
            std::make_tuple(p.mmsi, p.navStatus, p.rateOfTurn == -128 ? DBL_MAX : turn * turn,
                            p.speed * 0.1, p.accuracy, p.longitude * (1 / 600000.0),
                            p.latitude * (1 / 600000.0), p.course >= 3600 ? -1.0 : p.course * 0.1,
                            p.heading > 359 ? -1 : p.heading));
}

// Edge values of every field, then traffic with faults beside the clean stream of the same
// seed, whose messages it carries: faults damage only the lines, and are marked.
TEST(SimRoundTrip, WhatIsSentIsDecodedAsSentUnlessMarkedDamaged) {
    AisDecoder decoder;
    for (const SimMessage& m :
         {Framed({1, 0, 1}),  // every value "not available"
          Framed({2, 3, (1 << 30) - 1, 0, 127, 1022, 1, (1 << 27) - 1, (1 << 26) - 1, 3599, 359}),
          Framed({3, 0, 2, 8, -127, 0, 0, -(1 << 27), -(1 << 26), 0, 0}),
          Framed({}, {0, 3, 0, (1u << 30) - 1, "A@[\\]^_", "ZERO 0123456789=STAR",
                      "?!\"#$%&'()*+,-./:;<>", 255, 511, 300, 63, 1, 15, 3, 7, 14, 5, 255})})
        ExpectDecoded(decoder, m, m);
    EXPECT_STREQ(decoder.LastMessage().record->etaText, " 7 Mar  14:05");
    TrafficGenerator faulty({.seed = 11, .faultShare = 0.2, .latitude = -33.9, .longitude = -70.6});
    TrafficGenerator clean({.seed = 11, .latitude = -33.9, .longitude = -70.6});
    int counts[kFaultKinds + 1] = {};
    for (int i = 0; i < 4000 && !HasFailure(); ++i) {
        const SimMessage f = faulty.Next(), c = clean.Next();
        EXPECT_EQ(f.fault == Fault::None, f.sentences == c.sentences) << TruthLine(f);
        EXPECT_NE(TruthLine(f).find(FaultName(f.fault)), std::string::npos);
        ExpectDecoded(decoder, f, c);
        ++counts[static_cast<int>(f.tainted ? Fault::None : f.fault)];
    }
    for (int kind = 0; kind <= kFaultKinds; ++kind)
        EXPECT_GT(counts[kind], 100) << FaultName(static_cast<Fault>(kind));
}
