#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

#include "ais/AisTarget.h"

namespace {

TEST(IdentityTexts, MmsiIsPlainDecimal) {
    AisTarget t;
    t.mmsi = 211234560;
    EXPECT_EQ(t.MmsiText(), "211234560");
    t.mmsi = 2190047;
    EXPECT_EQ(t.MmsiText(), "2190047");
    t.mmsi = 0;
    EXPECT_EQ(t.MmsiText(), "0");
    t.mmsi = UINT32_MAX;
    EXPECT_EQ(t.MmsiText(), "4294967295");
}

TEST(IdentityTexts, ImoNumberZeroIsNotAvailable) {
    AisTarget t;
    t.imoNumber = 0;
    EXPECT_EQ(t.ImoNumberText(), "n/a");
    t.imoNumber = 9074729;
    EXPECT_EQ(t.ImoNumberText(), "9074729");
    t.imoNumber = 7;
    EXPECT_EQ(t.ImoNumberText(), "7");
    t.imoNumber = UINT32_MAX;
    EXPECT_EQ(t.ImoNumberText(), "4294967295");
}

TEST(SpeedText, FormatsAndLimits) {
    AisTarget t;
    t.speedOverGround = 102.2;
    EXPECT_EQ(t.SpeedOverGroundText(), "> 102");
    t.speedOverGround = 1022 * 0.1;  // how the decoder arrives at it
    EXPECT_EQ(t.SpeedOverGroundText(), "> 102");
    t.speedOverGround = 102.3;
    EXPECT_EQ(t.SpeedOverGroundText(), "n/a");
    t.speedOverGround = 1023 * 0.1;
    EXPECT_EQ(t.SpeedOverGroundText(), "n/a");
    t.speedOverGround = 102.1;
    EXPECT_EQ(t.SpeedOverGroundText(), "102.1");
    t.speedOverGround = 0.0;
    EXPECT_EQ(t.SpeedOverGroundText(), "000.0");
    t.speedOverGround = 5.0;
    EXPECT_EQ(t.SpeedOverGroundText(), "005.0");
    t.speedOverGround = 14.6;
    EXPECT_EQ(t.SpeedOverGroundText(), "014.6");
    t.speedOverGround = 0.1;
    EXPECT_EQ(t.SpeedOverGroundText(), "000.1");
}

TEST(RateOfTurnText, FormatsAndLimits) {
    AisTarget t;
    t.rateOfTurn = 720.0;
    EXPECT_EQ(t.RateOfTurnText(), "720.0");
    t.rateOfTurn = 720.0032;
    EXPECT_EQ(t.RateOfTurnText(), "n/a");
    t.rateOfTurn = std::nextafter(720.0, 1000.0);
    EXPECT_EQ(t.RateOfTurnText(), "n/a");
    t.rateOfTurn = DBL_MAX;
    EXPECT_EQ(t.RateOfTurnText(), "n/a");
    t.rateOfTurn = 0.0;
    EXPECT_EQ(t.RateOfTurnText(), "000.0");
    t.rateOfTurn = 4.464;
    EXPECT_EQ(t.RateOfTurnText(), "004.5");
}

TEST(CourseText, FormatsWithDegreeSign) {
    AisTarget t;
    t.courseOverGround = -1.0;
    EXPECT_EQ(t.CourseOverGroundText(), "n/a");
    t.courseOverGround = 0.0;
    EXPECT_EQ(t.CourseOverGroundText(), "000.0\xB0");
    t.courseOverGround = 359.9;
    EXPECT_EQ(t.CourseOverGroundText(), "359.9\xB0");
    t.courseOverGround = 3599 * 0.1;
    EXPECT_EQ(t.CourseOverGroundText(), "359.9\xB0");
    t.courseOverGround = 87.3;
    EXPECT_EQ(t.CourseOverGroundText(), "087.3\xB0");
}

TEST(HeadingText, FormatsWithDegreeSign) {
    AisTarget t;
    t.trueHeading = -1;
    EXPECT_EQ(t.TrueHeadingText(), "n/a");
    t.trueHeading = 7;
    EXPECT_EQ(t.TrueHeadingText(), "007\xB0");
    t.trueHeading = 0;
    EXPECT_EQ(t.TrueHeadingText(), "000\xB0");
    t.trueHeading = 359;
    EXPECT_EQ(t.TrueHeadingText(), "359\xB0");
}

TEST(DraughtText, FormatsAndLimits) {
    AisTarget t;
    t.draught = 0.0;
    EXPECT_EQ(t.DraughtText(), "n/a");
    t.draught = -0.1;
    EXPECT_EQ(t.DraughtText(), "n/a");
    t.draught = 25.5;
    EXPECT_EQ(t.DraughtText(), "> 25.5");
    t.draught = 255 * 0.1;
    EXPECT_EQ(t.DraughtText(), "> 25.5");
    t.draught = 25.4;
    EXPECT_EQ(t.DraughtText(), "025.4");
    t.draught = 7.5;
    EXPECT_EQ(t.DraughtText(), "007.5");
    t.draught = 0.1;
    EXPECT_EQ(t.DraughtText(), "000.1");
}

TEST(DimensionTexts, LengthIsBowPlusSternInFiveColumns) {
    AisTarget t;
    t.dimToBow = 100;
    t.dimToStern = 20;
    EXPECT_EQ(t.LengthText(), "  120");
    t.dimToBow = 0;
    t.dimToStern = 15;
    EXPECT_EQ(t.LengthText(), "   15");
    t.dimToBow = 15;
    t.dimToStern = 0;
    EXPECT_EQ(t.LengthText(), "   15");
    t.dimToBow = 511;
    t.dimToStern = 511;
    EXPECT_EQ(t.LengthText(), " 1022");
    t.dimToBow = 0;
    t.dimToStern = 0;
    EXPECT_EQ(t.LengthText(), "n/a");
}

TEST(DimensionTexts, WidthIsPortPlusStarboardInFiveColumns) {
    AisTarget t;
    t.dimToPort = 10;
    t.dimToStarboard = 12;
    EXPECT_EQ(t.WidthText(), "   22");
    t.dimToPort = 63;
    t.dimToStarboard = 0;
    EXPECT_EQ(t.WidthText(), "   63");
    t.dimToPort = 0;
    t.dimToStarboard = 0;
    EXPECT_EQ(t.WidthText(), "n/a");
    // Length and width read separate fields.
    t.dimToBow = 50;
    EXPECT_EQ(t.WidthText(), "n/a");
    EXPECT_EQ(t.LengthText(), "   50");
}

// Values the decoder never stores; the texts must still be whole and sound.
TEST(OutOfRangeValues, DimensionSumsDoNotOverflow) {
    AisTarget t;
    t.dimToBow = std::numeric_limits<int32_t>::max();
    t.dimToStern = 1;
    EXPECT_EQ(t.LengthText(), "2147483648");
    t.dimToPort = std::numeric_limits<int32_t>::max();
    t.dimToStarboard = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(t.WidthText(), "4294967294");
}

TEST(OutOfRangeValues, NaNIsNotAvailable) {
    AisTarget t;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    t.rateOfTurn = nan;
    t.speedOverGround = nan;
    t.courseOverGround = nan;
    t.draught = nan;
    EXPECT_EQ(t.RateOfTurnText(), "n/a");
    EXPECT_EQ(t.SpeedOverGroundText(), "n/a");
    EXPECT_EQ(t.CourseOverGroundText(), "n/a");
    EXPECT_EQ(t.DraughtText(), "n/a");
}

TEST(OutOfRangeValues, HugeNumbersAreNeverCutShort) {
    AisTarget t;
    t.courseOverGround = DBL_MAX;
    const std::string course = t.CourseOverGroundText();
    EXPECT_EQ(course.size(), 309u + 2u + 1u);  // digits, ".0", degree sign
    EXPECT_EQ(course.substr(0, 6), "179769");
    EXPECT_EQ(course.substr(course.size() - 3), ".0\xB0");

    t.rateOfTurn = -DBL_MAX;
    const std::string rate = t.RateOfTurnText();
    EXPECT_EQ(rate.size(), 1u + 309u + 2u);
    EXPECT_EQ(rate.substr(0, 7), "-179769");

    t.draught = 1e300;
    EXPECT_EQ(t.DraughtText().size(), 301u + 2u);
}

}  // namespace
