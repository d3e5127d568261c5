#include <gtest/gtest.h>

#include "ais/AisTarget.h"

namespace {

void ExpectClearedTexts(const AisTarget& t) {
    EXPECT_EQ(t.MmsiText(), "0");
    EXPECT_EQ(t.ImoNumberText(), "n/a");
    EXPECT_EQ(t.ShipTypeText(), "n/a");
    EXPECT_EQ(t.LengthText(), "n/a");
    EXPECT_EQ(t.WidthText(), "n/a");
    EXPECT_EQ(t.DraughtText(), "n/a");
    EXPECT_EQ(t.NavStatusText(), "Underway");
    EXPECT_EQ(t.PositionAccuracyText(), "Low");
    EXPECT_EQ(t.FixTypeText(), "");
    EXPECT_EQ(t.RateOfTurnText(), "000.0");
    EXPECT_EQ(t.SpeedOverGroundText(), "000.0");
    EXPECT_EQ(t.CourseOverGroundText(), "000.0\xB0");
    EXPECT_EQ(t.TrueHeadingText(), "000\xB0");
    EXPECT_EQ(t.LatitudeText(), "00\xB0 00.0000' N");
    EXPECT_EQ(t.LongitudeText(), "000\xB0 00.0000' E");
}

TEST(ClearedRecord, NewRecordTexts) {
    const AisTarget t;
    ExpectClearedTexts(t);
}

TEST(ClearedRecord, TextsAfterClearingAFilledRecord) {
    AisTarget t;
    t.mmsi = 244123000;
    t.imoNumber = 9123456;
    t.shipType = 84;
    t.navStatus = 5;
    t.positionAccuracy = 1;
    t.fixType = 1;
    t.rateOfTurn = 12.0;
    t.speedOverGround = 102.3;
    t.courseOverGround = -1.0;
    t.trueHeading = -1;
    t.latitude = -33.25;
    t.longitude = -0.5;
    t.dimToBow = 100;
    t.dimToStern = 20;
    t.dimToPort = 8;
    t.dimToStarboard = 8;
    t.draught = 25.5;
    t.Clear();
    ExpectClearedTexts(t);
}

}  // namespace
