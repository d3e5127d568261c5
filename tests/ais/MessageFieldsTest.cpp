// Every field of the position and static reports, with its conversion and sentinels.
#include <gtest/gtest.h>

#include <cfloat>

#include "ais/AisDecoder.h"
#include "tests/support/PayloadBuilder.h"

namespace {

constexpr uint32_t kMmsi = 211000042;

// Decodes a type 1 report whose fields are all zero but those set by `fill`.
template <typename Fill>
AisTarget Position(Fill fill, int type = 1) {
    PayloadBuilder b;
    b.Set(1, 6, type).Set(9, 30, kMmsi);
    fill(b);
    AisDecoder decoder;
    EXPECT_EQ(decoder.DecodeSentence(Sentence(b.Armoured())), kMmsi);
    AisTarget* t = nullptr;
    EXPECT_EQ(decoder.FindTarget(kMmsi, t), 1);
    return t ? *t : AisTarget();
}

template <typename Fill>
AisTarget Static(Fill fill, int bits = 424) {
    PayloadBuilder b(bits);
    b.Set(1, 6, 5).Set(9, 30, kMmsi);
    fill(b);
    const std::string payload = b.Armoured();
    AisDecoder decoder;
    decoder.DecodeSentence(Sentence(payload.substr(0, 60), 2, 1, "1"));
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload.substr(60), 2, 2, "1")), kMmsi);
    AisTarget* t = nullptr;
    EXPECT_EQ(decoder.FindTarget(kMmsi, t), 1);
    return t ? *t : AisTarget();
}

TEST(PositionReport, TypesOneToThreeWriteTheSameFields) {
    for (int type : {1, 2, 3}) {
        const AisTarget t = Position(
            [](PayloadBuilder& b) {
                b.Set(39, 4, 5).Set(51, 10, 146).Set(61, 1, 1).Set(117, 12, 2240).Set(129, 9, 215);
            },
            type);
        EXPECT_EQ(t.navStatus, 5);
        EXPECT_DOUBLE_EQ(t.speedOverGround, 14.6);
        EXPECT_EQ(t.positionAccuracy, 1);
        EXPECT_DOUBLE_EQ(t.courseOverGround, 224.0);
        EXPECT_EQ(t.trueHeading, 215);
        EXPECT_STREQ(t.callSign, "") << "a position report leaves the static half alone";
    }
}

TEST(PositionReport, RateOfTurnIsSquaredMagnitude) {
    auto rot = [](int raw) {
        return Position([&](PayloadBuilder& b) { b.Set(43, 8, raw); }).rateOfTurn;
    };
    EXPECT_EQ(rot(128), DBL_MAX) << "-128: not available";
    EXPECT_DOUBLE_EQ(rot(0), 0.0);
    EXPECT_NEAR(rot(127), 720.0032, 1e-4);
    EXPECT_EQ(rot(127), rot(256 - 127)) << "the direction is not kept";
    EXPECT_NEAR(rot(255), 0.0446, 1e-4);
    EXPECT_NEAR(rot(10), 4.464, 1e-3);
}

TEST(PositionReport, SpeedCourseAndHeadingSentinels) {
    auto speed = [](int raw) {
        return Position([&](PayloadBuilder& b) { b.Set(51, 10, raw); }).speedOverGround;
    };
    EXPECT_EQ(speed(1023), 1023 * 0.1);
    EXPECT_EQ(speed(1022), 102.2);
    auto course = [](int raw) {
        return Position([&](PayloadBuilder& b) { b.Set(117, 12, raw); }).courseOverGround;
    };
    EXPECT_DOUBLE_EQ(course(3599), 359.9);
    EXPECT_EQ(course(3600), -1.0);
    EXPECT_EQ(course(4095), -1.0);
    auto heading = [](int raw) {
        return Position([&](PayloadBuilder& b) { b.Set(129, 9, raw); }).trueHeading;
    };
    EXPECT_EQ(heading(359), 359);
    EXPECT_EQ(heading(360), -1);
    EXPECT_EQ(heading(511), -1);
}

TEST(PositionReport, LatitudeAndLongitudeAreTwosComplementInTenThousandthsOfAMinute) {
    auto lat = [](int64_t raw) {
        return Position([&](PayloadBuilder& b) { b.Set(90, 27, raw); }).latitude;
    };
    auto lon = [](int64_t raw) {
        return Position([&](PayloadBuilder& b) { b.Set(62, 28, raw); }).longitude;
    };
    EXPECT_DOUBLE_EQ(lat((1 << 27) - 1), -1.0 / 600000);
    EXPECT_NEAR(lat(1 << 26), -111.8481, 1e-4);
    EXPECT_NEAR(lat((1 << 26) - 1), 111.8481, 1e-4);
    EXPECT_EQ(lat(54600000), 91.0);
    EXPECT_DOUBLE_EQ(lon((1 << 28) - 1), -1.0 / 600000);
    EXPECT_EQ(lon((1 << 28) - 6300000), -10.5);
    EXPECT_EQ(lon(108600000), 181.0);
}

TEST(PositionReport, ShortPayloadIsNotDecodedLongerIsFine) {
    PayloadBuilder b(204);
    b.Set(1, 6, 1).Set(9, 30, kMmsi).Set(129, 9, 77);
    const std::string payload = b.Armoured();
    AisDecoder decoder;
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload.substr(0, 22))), 0u);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload.substr(0, 23))), kMmsi);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload)), kMmsi);
    EXPECT_EQ(decoder.LastMessage().record->trueHeading, 77);
}

TEST(StaticReport, NumbersAndTexts) {
    const AisTarget t = Static([](PayloadBuilder& b) {
        b.Set(41, 30, 9134270)
            .Text(71, 7, "LFNA")
            .Text(113, 20, "FALKVIK")
            .Set(233, 8, 79)
            .Set(241, 9, 300)
            .Set(250, 9, 10)
            .Set(259, 6, 63)
            .Set(265, 6, 5)
            .Set(271, 4, 1)
            .Set(295, 8, 255)
            .Text(303, 20, "FORUS");
    });
    EXPECT_EQ(t.imoNumber, 9134270u);
    EXPECT_STREQ(t.callSign, "LFNA");
    EXPECT_STREQ(t.shipName, "FALKVIK");
    EXPECT_EQ(t.shipType, 79);
    EXPECT_EQ(t.dimToBow, 300);
    EXPECT_EQ(t.dimToStern, 10);
    EXPECT_EQ(t.dimToPort, 63);
    EXPECT_EQ(t.dimToStarboard, 5);
    EXPECT_EQ(t.fixType, 1);
    EXPECT_DOUBLE_EQ(t.draught, 25.5);
    EXPECT_STREQ(t.destination, "FORUS");
    EXPECT_EQ(t.trueHeading, 0) << "a static report leaves the position half cleared";
}

TEST(StaticReport, FullWidthTextsAndInnerFillCharacters) {
    const AisTarget t = Static([](PayloadBuilder& b) {
        b.Text(71, 7, "ABCDEFG").Text(113, 20, "AN @ INSIDE").Text(303, 20, "ABCDEFGHIJKLMNOPQRST");
    });
    EXPECT_STREQ(t.callSign, "ABCDEFG");
    EXPECT_STREQ(t.shipName, "AN @ INSIDE");
    EXPECT_STREQ(t.destination, "ABCDEFGHIJKLMNOPQRST");
}

TEST(StaticReport, EstimatedTimeOfArrival) {
    auto eta = [](int month, int day, int hour, int minute) {
        return std::string(
            Static([&](PayloadBuilder& b) {
                b.Set(275, 4, month).Set(279, 5, day).Set(284, 5, hour).Set(289, 6, minute);
            }).etaText);
    };
    EXPECT_EQ(eta(3, 7, 14, 5), " 7 Mar  14:05");
    EXPECT_EQ(eta(12, 31, 0, 45), "31 Dec  00:45");
    EXPECT_EQ(eta(2, 31, 23, 59), "31 Feb  23:59") << "the day is not checked against the month";
    EXPECT_EQ(eta(0, 7, 14, 5), "n/a");
    EXPECT_EQ(eta(13, 7, 14, 5), "n/a");
    EXPECT_EQ(eta(3, 0, 14, 5), "n/a");
    EXPECT_EQ(eta(3, 7, 24, 5), "n/a");
    EXPECT_EQ(eta(3, 7, 14, 60), "n/a");
}

TEST(StaticReport, FourHundredTwentyBitsDecodeWithTheLastDestinationCharacterMissing) {
    PayloadBuilder b(420);
    b.Set(1, 6, 5).Set(9, 30, kMmsi).Text(303, 20, "ABCDEFGHIJKLMNOPQRST");
    const std::string payload = b.Armoured();
    ASSERT_EQ(payload.size(), 70u);
    AisDecoder decoder;
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload.substr(0, 69))), 0u);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload)), kMmsi);
    EXPECT_STREQ(decoder.LastMessage().record->destination, "ABCDEFGHIJKLMNOPQRS");
}

}  // namespace
