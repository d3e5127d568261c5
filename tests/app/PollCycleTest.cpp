// One tick of the poll cycle, and the list it fills.
#include "app/PollCycle.h"

#include <gtest/gtest.h>

#include "app/LineStore.h"
#include "tests/app/AisLines.h"
#include "tests/app/FakeView.h"

namespace {

constexpr uint32_t kStationA = 244670000;
constexpr uint32_t kStationB = 211234560;
constexpr uint32_t kOwn = 257000001;

class PollCycleTest : public ::testing::Test {
protected:
    uint32_t Tick(std::vector<std::string> lines) {
        for (std::string& line : lines) {
            source.Add(line);
        }
        view.writes.clear();
        return RunPollTick(source, decoder, view);
    }
    ScriptedSource source;
    AisDecoder decoder;
    FakeView view;
};

TEST_F(PollCycleTest, EveryLineIsListedNewestFirstAndTheLastStationShown) {
    EXPECT_EQ(Tick({}), 0u);
    EXPECT_EQ(Tick({"garbage\r\n", "!AIVDM,1,1,,A,bad*00\r\n"}), 0u);
    EXPECT_TRUE(view.writes.empty()) << "lines that decode to nothing change no field";
    const std::string a = ais_lines::Position(kStationA, 54.5, 10.25, 7.5);
    const std::string b = ais_lines::Position(kStationB, -33.0, -70.5, 12.0);
    EXPECT_EQ(Tick({a, b, std::string(3000, 'x')}), kStationB);
    EXPECT_EQ(view.lines, (std::vector<std::string>{std::string(1024, 'x'), b, a,
                                                    "!AIVDM,1,1,,A,bad*00\r\n", "garbage\r\n"}));
    EXPECT_EQ(view.writes,
              (std::vector<int>{1001, 1002, 1003, 1004, 1005, 1007, 1008, 1009, 1010, 1011, 1013,
                                1014, 1015, 1016, 1012, 1017, 1018, 1019, 1021, 1020, 1033}));
    const AisTarget& shown = *decoder.LastMessage().record;
    EXPECT_EQ(view.texts[1001], "2");
    EXPECT_EQ(view.texts[1002], shown.MmsiText());
    EXPECT_EQ(view.texts[1007], shown.LatitudeText());
    EXPECT_EQ(view.texts[1012], shown.RateOfTurnText());
    EXPECT_EQ(view.texts[1033], "");
}

TEST_F(PollCycleTest, OwnVesselShowsOnlyItsFieldsAndUpdate) {
    EXPECT_EQ(Tick({ais_lines::Position(kStationA, 54.5, 10.25, 7.5),
                    ais_lines::Position(kOwn, 53.0, 8.0, 3.0, "!AIVDO")}),
              kOwn);
    EXPECT_EQ(view.writes, (std::vector<int>{1006, 1031, 1027, 1028, 1029, 1030, 1032, 1033}));
    EXPECT_EQ(view.texts[1006], decoder.MmsiText());
    EXPECT_EQ(view.texts[1027], decoder.LatitudeText());
    EXPECT_EQ(view.texts[1032], decoder.TrueHeadingText());
    EXPECT_EQ(view.texts[1033], "Update");
    EXPECT_EQ(Tick({ais_lines::Position(kStationA, 54.5, 10.25, 7.5)}), kStationA);
    EXPECT_EQ(view.writes.front(), 1001) << "the own fields stay";
    EXPECT_EQ(view.texts[1033], "");
}

TEST(LineStore, NewestFirstCappedAndMadeFitForDisplay) {
    LineStore store(3);
    for (const std::string& line :
         std::vector<std::string>{"0", "1", std::string("a\0b\tc\x7f\r\n\r\n", 10), "3",
                                  std::string("45\xB0 N \x80\n")}) {
        store.PushFront(line.data(), line.size());
    }
    ASSERT_EQ(store.Size(), 3u);
    EXPECT_EQ(store.Line(0), "45\xB0 N \x80") << "high bytes kept as received";
    EXPECT_EQ(store.Line(1), "3");
    EXPECT_EQ(store.Line(2),
              "a\xB7"
              "b\xB7"
              "c\xB7")
        << "control bytes as dots, line end cut";
}

}  // namespace
