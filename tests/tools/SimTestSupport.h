#pragma once

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ais/AisTarget.h"
#include "ais/MessageLayouts.h"
#include "tools/brenlow-sim/AisEncoder.h"

// The field values a record must hold after the decoder has read what the encoder wrote:
// the documented conversions of the raw values, computed the documented way.
inline void ExpectPositionFields(const AisTarget& t, const PositionReport& r) {
    EXPECT_EQ(t.navStatus, r.navStatus);
    if (r.rateOfTurn == -128) {
        EXPECT_EQ(t.rateOfTurn, DBL_MAX);
    } else {
        const double root = r.rateOfTurn * 0.21128248468201988;
        EXPECT_EQ(t.rateOfTurn, root * root);
    }
    EXPECT_EQ(t.speedOverGround, r.speed * 0.1);
    EXPECT_EQ(t.positionAccuracy, r.accuracy);
    EXPECT_EQ(t.latitude, r.latitude * 1.6666666666666667e-06);
    EXPECT_EQ(t.longitude, r.longitude * 1.6666666666666667e-06);
    EXPECT_EQ(t.courseOverGround, r.course >= 3600 ? -1.0 : r.course * 0.1);
    EXPECT_EQ(t.trueHeading, r.heading > 359 ? -1 : r.heading);
}

inline std::string TrimmedText(std::string text) {
    while (!text.empty() && (text.back() == '@' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

// The decoder's own ETA format (checked on its own in the decoder's tests) of the values sent.
inline std::string EtaText(const StaticReport& r) {
    const int eta[4] = {r.etaMonth, r.etaDay, r.etaHour, r.etaMinute};
    char text[24];
    FormatEta(eta, text, sizeof text);
    return text;
}

inline void ExpectStaticFields(const AisTarget& t, const StaticReport& r) {
    EXPECT_EQ(t.imoNumber, r.imoNumber);
    EXPECT_EQ(std::string(t.callSign), TrimmedText(r.callSign));
    EXPECT_EQ(std::string(t.shipName), TrimmedText(r.shipName));
    EXPECT_EQ(std::string(t.destination), TrimmedText(r.destination));
    EXPECT_EQ(t.shipType, r.shipType);
    EXPECT_EQ(t.dimToBow, r.dimToBow);
    EXPECT_EQ(t.dimToStern, r.dimToStern);
    EXPECT_EQ(t.dimToPort, r.dimToPort);
    EXPECT_EQ(t.dimToStarboard, r.dimToStarboard);
    EXPECT_EQ(t.fixType, r.fixType);
    EXPECT_EQ(t.draught, r.draught * 0.1);
    EXPECT_EQ(std::string(t.etaText), EtaText(r));
}

inline std::vector<std::string> Frame(const PositionReport& r, bool own = false) {
    ArmouredPayload payload;
    EXPECT_TRUE(ArmourPositionReport(r, payload));
    return FrameSentences(payload, own, 'A', 0);
}

inline std::vector<std::string> Frame(const StaticReport& r, bool own = false, int seq = 0) {
    ArmouredPayload payload;
    EXPECT_TRUE(ArmourStaticReport(r, payload));
    return FrameSentences(payload, own, 'B', seq);
}
