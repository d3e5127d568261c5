#include <gtest/gtest.h>

#include "ais/AisDecoder.h"
#include "app/PollCycle.h"
#include "tests/app/AisLines.h"
#include "tests/app/FakeView.h"

namespace {

constexpr uint32_t kStationA = 244670000;
constexpr uint32_t kStationB = 211234560;
constexpr uint32_t kOwn = 257000001;

class PollCycleTest : public ::testing::Test {
protected:
    uint32_t Tick() { return RunPollTick(source, decoder, view); }
    AisTarget& Station(uint32_t mmsi) {
        AisTarget* t = nullptr;
        EXPECT_TRUE(decoder.FindTarget(mmsi, t));
        return *t;
    }

    ScriptedSource source;
    AisDecoder decoder;
    FakeView view;
};

TEST_F(PollCycleTest, TickWithoutLinesChangesNothing) {
    EXPECT_EQ(Tick(), 0u);
    EXPECT_TRUE(view.lines.empty());
    EXPECT_TRUE(view.writes.empty());
}

TEST_F(PollCycleTest, LinesOfOneTickAreListedNewestFirstAsReceived) {
    source.Add("$GPGGA,first\r\n");
    source.Add(ais_lines::Position(kStationA, 54.5, 10.25, 7.5));
    source.Add("third, not AIS\r\n");
    Tick();
    ASSERT_EQ(view.lines.size(), 3u);
    EXPECT_EQ(view.lines[0], "third, not AIS\r\n");
    EXPECT_EQ(view.lines[1], source.script[1]);
    EXPECT_EQ(view.lines[2], "$GPGGA,first\r\n");
}

TEST_F(PollCycleTest, LinesThatDecodeToNothingChangeNoField) {
    source.Add("garbage\r\n");
    source.Add("!AIVDM,1,1,,A,bad*00\r\n");
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(view.lines.size(), 2u);
    EXPECT_TRUE(view.writes.empty());
}

TEST_F(PollCycleTest, LastStationOfTheTickIsShownWithCountAndMarkEmptied) {
    source.Add(ais_lines::Position(kStationA, 54.5, 10.25, 7.5));
    source.Add(ais_lines::Position(kStationB, -33.0, -70.5, 12.0));
    EXPECT_EQ(Tick(), kStationB);

    const std::vector<int> order = {1001, 1002, 1003, 1004, 1005, 1007, 1008,
                                    1009, 1010, 1011, 1013, 1014, 1015, 1016,
                                    1012, 1017, 1018, 1019, 1021, 1020, 1033};
    EXPECT_EQ(view.WrittenIds(), order);
    const AisTarget& b = Station(kStationB);
    EXPECT_EQ(view.texts[1001], "2");
    EXPECT_EQ(view.texts[1002], b.MmsiText());
    EXPECT_EQ(view.texts[1007], b.LatitudeText());
    EXPECT_EQ(view.texts[1008], b.LongitudeText());
    EXPECT_EQ(view.texts[1009], b.SpeedOverGroundText());
    EXPECT_EQ(view.texts[1012], b.RateOfTurnText());
    EXPECT_EQ(view.texts[1033], "");
    EXPECT_NE(view.texts[1002], Station(kStationA).MmsiText());
}

TEST_F(PollCycleTest, OwnVesselLastShowsOnlyOwnFieldsAndUpdate) {
    source.Add(ais_lines::Position(kStationA, 54.5, 10.25, 7.5));
    source.Add(ais_lines::Position(kOwn, 53.0, 8.0, 3.0, "!AIVDO"));
    EXPECT_EQ(Tick(), kOwn);

    const std::vector<int> order = {1006, 1031, 1027, 1028, 1029, 1030, 1032, 1033};
    EXPECT_EQ(view.WrittenIds(), order);
    AisTarget* own = nullptr;
    ASSERT_TRUE(decoder.GetOwnVessel(own));
    EXPECT_EQ(view.texts[1006], own->MmsiText());
    EXPECT_EQ(view.texts[1027], own->LatitudeText());
    EXPECT_EQ(view.texts[1032], own->TrueHeadingText());
    EXPECT_EQ(view.texts[1033], "Update");
}

TEST_F(PollCycleTest, StationAfterOwnVesselLeavesOwnFields) {
    source.Add(ais_lines::Position(kOwn, 53.0, 8.0, 3.0, "!AIVDO"));
    source.Add(ais_lines::Position(kStationA, 54.5, 10.25, 7.5));
    EXPECT_EQ(Tick(), kStationA);
    EXPECT_EQ(view.texts.count(1006), 0u);
    EXPECT_EQ(view.texts.count(1027), 0u);
    EXPECT_EQ(view.texts[1001], "1");
    EXPECT_EQ(view.texts[1033], "");
}

TEST_F(PollCycleTest, StaticReportRefreshesOnItsSecondSentence) {
    const auto [first, second] = ais_lines::Static(kStationA, "NORDSTERN", "DABC", "KIEL");
    source.Add(first);
    EXPECT_EQ(Tick(), 0u);
    EXPECT_EQ(view.lines.size(), 1u);
    EXPECT_TRUE(view.writes.empty());

    source.Add(second);
    EXPECT_EQ(Tick(), kStationA);
    EXPECT_EQ(view.texts[1005], "NORDSTERN");
    EXPECT_EQ(view.texts[1004], "DABC");
    EXPECT_EQ(view.texts[1021], "KIEL");
    EXPECT_EQ(view.texts[1020], Station(kStationA).etaText);
    EXPECT_EQ(view.texts[1003], Station(kStationA).ImoNumberText());
}

TEST_F(PollCycleTest, StaticOnlyStationShowsClearedPositionTexts) {
    const auto [first, second] = ais_lines::Static(kStationA, "NORDSTERN", "DABC", "KIEL");
    source.Add(first);
    source.Add(second);
    Tick();
    const AisTarget cleared;
    EXPECT_EQ(view.texts[1007], cleared.LatitudeText());
    EXPECT_EQ(view.texts[1008], cleared.LongitudeText());
    EXPECT_EQ(view.texts[1009], cleared.SpeedOverGroundText());
    EXPECT_EQ(view.texts[1010], cleared.CourseOverGroundText());
    EXPECT_EQ(view.texts[1011], cleared.TrueHeadingText());
    EXPECT_EQ(view.texts[1014], cleared.NavStatusText());
}

TEST_F(PollCycleTest, OverlongLineIsCutToTheBufferLimit) {
    source.Add(std::string(3000, 'x'));
    Tick();
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0].size(), 1024u);
}

}  // namespace
