#include <gtest/gtest.h>

#include "ais/AisDecoder.h"
#include "tests/tools/SimTestSupport.h"
#include "tools/brenlow-sim/TrafficGenerator.h"

namespace {

// Feeds every line; returns the last result.
uint32_t Feed(AisDecoder& decoder, const std::vector<std::string>& lines) {
    uint32_t last = 0;
    for (const std::string& line : lines) {
        last = decoder.DecodeSentence(line);
    }
    return last;
}

PositionReport Position(int type, uint32_t mmsi) {
    PositionReport r;
    r.type = type;
    r.mmsi = mmsi;
    r.navStatus = 0;
    r.rateOfTurn = 0;
    r.speed = 0;
    r.latitude = 0;
    r.longitude = 0;
    r.course = 0;
    r.heading = 0;
    return r;
}

TEST(SimRoundTrip, PositionReportEdgeValuesComeBackExactly) {
    struct Case {
        int navStatus, rateOfTurn, speed, accuracy;
        int32_t longitude, latitude;
        int course, heading;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0, 0, 0},
        {15, -128, 1023, 1, 108600000, 54600000, 3600, 511},  // every "not available"
        {1, 127, 1022, 0, -108000000, -54000000, 3599, 359},
        {5, -127, 1, 1, (1 << 27) - 1, (1 << 26) - 1, 4095, 360},
        {8, -10, 123, 0, -(1 << 27), -(1 << 26), 1, 1},
        {3, 10, 500, 1, -6300000, 32670010, 2250, 225},
        {0, -1, 99, 0, -1, -1, 900, 90},
    };
    uint32_t mmsi = 200000000;
    for (int type = 1; type <= 3; ++type) {
        for (const Case& c : cases) {
            PositionReport r = Position(type, ++mmsi);
            r.navStatus = c.navStatus;
            r.rateOfTurn = c.rateOfTurn;
            r.speed = c.speed;
            r.accuracy = c.accuracy;
            r.longitude = c.longitude;
            r.latitude = c.latitude;
            r.course = c.course;
            r.heading = c.heading;
            AisDecoder decoder;
            ASSERT_EQ(Feed(decoder, Frame(r)), r.mmsi);
            AisTarget* target = nullptr;
            ASSERT_EQ(decoder.FindTarget(r.mmsi, target), 1);
            EXPECT_EQ(decoder.LastMessage().type, type);
            EXPECT_FALSE(decoder.LastMessage().own);
            EXPECT_EQ(decoder.LastMessage().record, target);
            SCOPED_TRACE(testing::Message() << "type " << type << " lat " << c.latitude);
            ExpectPositionFields(*target, r);
        }
    }
}

TEST(SimRoundTrip, StaticReportEdgeValuesComeBackExactly) {
    StaticReport r;
    r.mmsi = 999999999;
    r.imoNumber = (1u << 30) - 1;
    r.callSign = "AB@C";  // an "@" inside the text stays
    r.shipName = "?!\"#$%&'()*+,-./:;<>";
    r.destination = "ZZ[\\]^_ 0123456789";
    r.shipType = 255;
    r.dimToBow = 511;
    r.dimToStern = 300;
    r.dimToPort = 63;
    r.dimToStarboard = 1;
    r.fixType = 15;
    r.etaMonth = 3;
    r.etaDay = 7;
    r.etaHour = 14;
    r.etaMinute = 5;
    r.draught = 255;
    AisDecoder decoder;
    EXPECT_EQ(Feed(decoder, Frame(r)), r.mmsi);
    AisTarget* target = nullptr;
    ASSERT_EQ(decoder.FindTarget(r.mmsi, target), 1);
    EXPECT_EQ(decoder.LastMessage().type, 5);
    ExpectStaticFields(*target, r);
    EXPECT_STREQ(target->etaText, " 7 Mar  14:05");

    // Full-width texts, out-of-range time of arrival, all-blank call sign.
    r.callSign = "       ";
    r.shipName = "ABCDEFGHIJKLMNOPQRST";
    r.destination = "01234567890123456789";
    r.etaMonth = 13;
    r.etaHour = 0;
    r.draught = 0;
    EXPECT_EQ(Feed(decoder, Frame(r, false, 9)), r.mmsi);
    ExpectStaticFields(*target, r);
    EXPECT_STREQ(target->callSign, "");
    EXPECT_STREQ(target->etaText, "n/a");
}

TEST(SimRoundTrip, OwnVesselReportsFillTheOwnRecord) {
    PositionReport r = Position(1, 211999990);
    r.latitude = 32670010;
    r.longitude = 6150016;
    r.speed = 120;
    r.course = 435;
    r.heading = 44;
    AisDecoder decoder;
    AisTarget* own = nullptr;
    EXPECT_EQ(decoder.GetOwnVessel(own), 0);
    ASSERT_EQ(Feed(decoder, Frame(r, true)), r.mmsi);
    ASSERT_EQ(decoder.GetOwnVessel(own), 1);
    EXPECT_TRUE(decoder.LastMessage().own);
    EXPECT_EQ(decoder.TargetCount(), 0);
    EXPECT_EQ(own->mmsi, r.mmsi);
    ExpectPositionFields(*own, r);

    StaticReport s;
    s.mmsi = r.mmsi;
    s.callSign = "DOWN7";
    s.shipName = "OWN SHIP";
    s.destination = "KIEL";
    s.dimToBow = 20;
    s.etaMonth = 12;
    s.etaDay = 31;
    s.etaHour = 23;
    s.etaMinute = 59;
    ASSERT_EQ(Feed(decoder, Frame(s, true)), r.mmsi);
    EXPECT_TRUE(decoder.LastMessage().own);
    EXPECT_EQ(decoder.TargetCount(), 0);
    ExpectStaticFields(*own, s);
}

// The simulated fleet, message by message: every record holds what was sent.
TEST(SimRoundTrip, SimulatedTrafficDecodesToTheValuesSent) {
    TrafficOptions options;
    options.vessels = 25;
    options.seed = 42;
    TrafficGenerator traffic(options);
    AisDecoder decoder;
    int positions = 0;
    int statics = 0;
    int own = 0;
    for (int i = 0; i < 2000; ++i) {
        const SimMessage m = traffic.Next();
        ASSERT_EQ(m.fault, Fault::None);
        const uint32_t mmsi = m.type == 5 ? m.statics.mmsi : m.position.mmsi;
        ASSERT_EQ(Feed(decoder, m.sentences), mmsi) << "message " << m.seq;
        const DecodedMessage& last = decoder.LastMessage();
        ASSERT_EQ(last.type, m.type);
        ASSERT_EQ(last.own, m.own);
        ASSERT_NE(last.record, nullptr);
        if (m.type == 5) {
            ExpectStaticFields(*last.record, m.statics);
            ++statics;
        } else {
            ExpectPositionFields(*last.record, m.position);
            ++positions;
        }
        own += m.own ? 1 : 0;
        if (HasFailure()) {
            FAIL() << "message " << m.seq;
        }
    }
    EXPECT_EQ(decoder.TargetCount(), 25);
    EXPECT_GT(statics, 300);
    EXPECT_GT(positions, 1500);
    EXPECT_GT(own, 60);
}

}  // namespace
