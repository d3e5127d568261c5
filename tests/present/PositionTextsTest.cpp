#include <gtest/gtest.h>

#include <limits>

#include "ais/AisTarget.h"

namespace {

std::string Latitude(double value) {
    AisTarget t;
    t.latitude = value;
    return t.LatitudeText();
}

std::string Longitude(double value) {
    AisTarget t;
    t.longitude = value;
    return t.LongitudeText();
}

TEST(LatitudeText, DegreesMinutesAndHemisphere) {
    EXPECT_EQ(Latitude(51.5), "51\xB0 30.0000' N");
    EXPECT_EQ(Latitude(-33.25), "33\xB0 15.0000' S");
    EXPECT_EQ(Latitude(0.0), "00\xB0 00.0000' N");
    EXPECT_EQ(Latitude(-0.0), "00\xB0 00.0000' N");
    EXPECT_EQ(Latitude(5.1), "05\xB0 06.0000' N");
    EXPECT_EQ(Latitude(-89.0), "89\xB0 00.0000' S");
}

TEST(LongitudeText, DegreesMinutesAndHemisphere) {
    EXPECT_EQ(Longitude(-0.5), "000\xB0 30.0000' W");
    EXPECT_EQ(Longitude(4.123456), "004\xB0 07.4074' E");
    EXPECT_EQ(Longitude(0.0), "000\xB0 00.0000' E");
    EXPECT_EQ(Longitude(-179.75), "179\xB0 45.0000' W");
    EXPECT_EQ(Longitude(12.0), "012\xB0 00.0000' E");
}

TEST(PositionTexts, DecoderStepsShowToTheTenThousandthMinute) {
    // The decoder stores 1/10000 minute steps as raw / 600000.
    EXPECT_EQ(Latitude(31199999 / 600000.0), "51\xB0 59.9999' N");
    EXPECT_EQ(Latitude(-1 / 600000.0), "00\xB0 00.0001' S");
    EXPECT_EQ(Longitude(-107999999 / 600000.0), "179\xB0 59.9999' W");
    EXPECT_EQ(Longitude(2473974 / 600000.0), "004\xB0 07.3974' E");
}

TEST(PositionTexts, NotAvailableCodesShowAsPositions) {
    EXPECT_EQ(Latitude(91.0), "91\xB0 00.0000' N");
    EXPECT_EQ(Longitude(181.0), "181\xB0 00.0000' E");
}

TEST(PositionTexts, MinutesRoundingUpToSixtyCarryIntoDegrees) {
    EXPECT_EQ(Latitude(51.99999999), "52\xB0 00.0000' N");
    EXPECT_EQ(Latitude(-51.99999999), "52\xB0 00.0000' S");
    EXPECT_EQ(Latitude(0.999999999), "01\xB0 00.0000' N");
    EXPECT_EQ(Latitude(89.9999999), "90\xB0 00.0000' N");
    EXPECT_EQ(Longitude(179.99999999), "180\xB0 00.0000' E");
    EXPECT_EQ(Longitude(-9.99999999), "010\xB0 00.0000' W");
    // Just below the rounding point the minutes stay.
    EXPECT_EQ(Latitude(51.9999991), "51\xB0 59.9999' N");
}

TEST(PositionTexts, DegreeSignIsOneWindows1252Byte) {
    const std::string text = Latitude(51.5);
    ASSERT_EQ(text.size(), 14u);
    EXPECT_EQ(static_cast<unsigned char>(text[2]), 0xB0);
    EXPECT_EQ(text.find('\xC2'), std::string::npos);
    EXPECT_EQ(Longitude(4.123456).size(), 15u);
}

// Values the decoder never stores: no whole degrees to show.
TEST(PositionTexts, NonFiniteAndHugeValuesAreNotAvailable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Latitude(nan), "n/a");
    EXPECT_EQ(Latitude(inf), "n/a");
    EXPECT_EQ(Longitude(-inf), "n/a");
    EXPECT_EQ(Longitude(1e10), "n/a");
    EXPECT_EQ(Latitude(-3e9), "n/a");
    // Large but whole-degree values still format in full.
    EXPECT_EQ(Longitude(123456.5), "123456\xB0 30.0000' E");
}

}  // namespace
