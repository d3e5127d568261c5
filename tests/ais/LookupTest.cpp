// The station table and the own vessel, as the window reaches them.
#include <gtest/gtest.h>

#include "ais/AisDecoder.h"
#include "tests/support/PayloadBuilder.h"

namespace {

std::string Report(int type, uint32_t mmsi, const char* address = "!AIVDM") {
    PayloadBuilder b(type == 5 ? 424 : 168);
    b.Set(1, 6, type).Set(9, 30, mmsi);
    return Sentence(b.Armoured(), 1, 1, "", "A", 0, address);
}

TEST(Lookup, StationsAreKeptOncePerMmsiInTheOrderFirstHeard) {
    AisDecoder decoder;
    for (uint32_t mmsi : {300u, 100u, 300u, 200u, 100u})
        decoder.DecodeSentence(Report(1, mmsi));
    EXPECT_EQ(decoder.TargetCount(), 3);
    AisTarget* a = nullptr;
    AisTarget* b = nullptr;
    ASSERT_EQ(decoder.FindTarget(300, a), 1);
    decoder.DecodeSentence(Report(5, 300));
    ASSERT_EQ(decoder.FindTarget(300, b), 1);
    EXPECT_EQ(a, b) << "records stay where they are";
    EXPECT_EQ(a->mmsi, 300u);
    AisTarget* untouched = a;
    EXPECT_EQ(decoder.FindTarget(999, untouched), 0);
    EXPECT_EQ(untouched, a);
}

TEST(Lookup, OwnVesselIsKnownOnlyAfterItsPositionReport) {
    AisDecoder decoder;
    AisTarget* own = nullptr;
    EXPECT_EQ(decoder.GetOwnVessel(own), 0);
    EXPECT_EQ(decoder.DecodeSentence(Report(5, 244121341, "!AIVDO")), 244121341u);
    EXPECT_EQ(decoder.GetOwnVessel(own), 0) << "a static report alone does not make it known";
    EXPECT_EQ(decoder.IsOwnVessel(244121341), 0);
    EXPECT_EQ(decoder.mmsi, 0u);

    EXPECT_EQ(decoder.DecodeSentence(Report(1, 244121341, "!AIVDO")), 244121341u);
    ASSERT_EQ(decoder.GetOwnVessel(own), 1);
    EXPECT_EQ(own, static_cast<AisTarget*>(&decoder));
    EXPECT_EQ(decoder.IsOwnVessel(244121341), 1);
    EXPECT_EQ(decoder.TargetCount(), 0) << "the own vessel is not a station";
}

TEST(Lookup, AStationWithTheOwnMmsiGetsItsOwnRecord) {
    AisDecoder decoder;
    decoder.DecodeSentence(Report(1, 244121341, "!AIVDO"));
    EXPECT_EQ(decoder.DecodeSentence(Report(1, 244121341)), 244121341u);
    AisTarget* station = nullptr;
    ASSERT_EQ(decoder.FindTarget(244121341, station), 1);
    EXPECT_NE(station, static_cast<AisTarget*>(&decoder));
    EXPECT_EQ(decoder.IsOwnVessel(244121341), 1) << "the test is on the MMSI alone";
}

TEST(Lookup, MmsiZeroMeansNoStationAndIsNotDecoded) {
    AisDecoder decoder;
    for (int type : {1, 5}) {
        EXPECT_EQ(decoder.DecodeSentence(Report(type, 0)), 0u);
        EXPECT_EQ(decoder.DecodeSentence(Report(type, 0, "!AIVDO")), 0u);
    }
    EXPECT_EQ(decoder.TargetCount(), 0) << "no phantom in the station count";
    AisTarget* own = nullptr;
    EXPECT_EQ(decoder.GetOwnVessel(own), 0);
    EXPECT_EQ(decoder.MessagesDecoded(), 0u);
}

TEST(Lookup, RemoveAllTargetsEmptiesTheTable) {
    AisDecoder decoder;
    for (uint32_t mmsi = 1; mmsi <= 50; ++mmsi)
        decoder.DecodeSentence(Report(1, mmsi));
    EXPECT_EQ(decoder.TargetCount(), 50);
    decoder.RemoveAllTargets();
    EXPECT_EQ(decoder.TargetCount(), 0);
    AisTarget* t = nullptr;
    EXPECT_EQ(decoder.FindTarget(7, t), 0);
    decoder.DecodeSentence(Report(1, 7));
    EXPECT_EQ(decoder.FindTarget(7, t), 1);
}

}  // namespace
