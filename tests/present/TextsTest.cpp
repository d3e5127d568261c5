// The texts the window shows for every field of a record.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <tuple>
#include <type_traits>
#include <variant>
#include <vector>

#include "ais/AisTarget.h"

namespace {

using T = AisTarget;
using Text = std::string (T::*)() const;
using Field = std::variant<double T::*, int32_t T::*, uint32_t T::*>;

T With(Field field, double value) {
    T t;
    std::visit([&](auto m) { t.*m = static_cast<std::remove_reference_t<decltype(t.*m)>>(value); },
               field);
    return t;
}

TEST(FieldTexts, ValuesAndTheirTexts) {
    const double nan = std::nan("");
    const std::string cargo = " Carring Hazardous Goods or Pollutant Category ";
    const std::vector<std::pair<double, std::string>> shipTypes = {
        {30, "Fishing Vessel"}, {99, "Other"}, {59, "Ship according to Resolution No 18"},
        {39, "Reserved (9)"},   {0, "n/a"},    {71, "Cargo Ship" + cargo + "A"},
        {50, "Pilot Vessel"},   {100, ""},     {84, "Tanker" + cargo + "D"},
        {70, "Cargo Ship"},     {-1, ""},      {75, "Cargo Ship"}};
    const std::vector<std::pair<double, std::string>> latitudes = {
        {-33.25, "33\xB0 15.0000' S"},       {nan, "n/a"},
        {-0.0, "00\xB0 00.0000' N"},         {2147483647.0, "n/a"},
        {51.99999999, "52\xB0 00.0000' N"},  {2147483646.5, "2147483646\xB0 30.0000' N"},
        {-1 / 600000.0, "00\xB0 00.0001' S"}};
    const struct {
        Text text;
        Field field;
        std::vector<std::pair<double, std::string>> rows;
    } groups[] = {
        {&T::MmsiText, &T::mmsi, {{UINT32_MAX, "4294967295"}}},
        {&T::ImoNumberText, &T::imoNumber, {{0, "n/a"}, {UINT32_MAX, "4294967295"}}},
        {&T::NavStatusText, &T::navStatus, {{0, "Underway"}, {15, "Default"}, {16, ""}, {-1, ""}}},
        {&T::PositionAccuracyText, &T::positionAccuracy, {{0, "Low"}, {1, "High"}, {2, ""}}},
        {&T::FixTypeText, &T::fixType, {{0, ""}, {1, "GPS"}, {15, "15"}, {16, ""}}},
        {&T::RateOfTurnText, &T::rateOfTurn, {{720, "720.0"}, {720.0032, "n/a"}, {4.464, "004.5"}}},
        {&T::SpeedOverGroundText, &T::speedOverGround, {{1022 * 0.1, "> 102"}, {102.3, "n/a"}}},
        {&T::SpeedOverGroundText, &T::speedOverGround, {{102.1, "102.1"}, {nan, "n/a"}}},
        {&T::CourseOverGroundText, &T::courseOverGround, {{-1, "n/a"}, {0, "000.0\xB0"}}},
        {&T::TrueHeadingText, &T::trueHeading, {{-1, "n/a"}, {0, "000\xB0"}, {359, "359\xB0"}}},
        {&T::DraughtText, &T::draught, {{0, "n/a"}, {0.1, "000.1"}, {25.5, "> 25.5"}}},
        {&T::LongitudeText, &T::longitude, {{-107999999 / 600000.0, "179\xB0 59.9999' W"}}},
        {&T::ShipTypeText, &T::shipType, shipTypes},
        {&T::LatitudeText, &T::latitude, latitudes}};
    for (const auto& g : groups)
        for (const auto& [value, text] : g.rows)
            EXPECT_EQ((With(g.field, value).*g.text)(), text) << value;
    // No text is ever cut short.
    EXPECT_EQ(With(&T::courseOverGround, DBL_MAX).CourseOverGroundText().size(), 309u + 3);
    EXPECT_EQ(With(&T::rateOfTurn, -DBL_MAX).RateOfTurnText().substr(0, 7), "-179769");
    // Length and width, each of two distances.
    for (auto [bow, stern, port, starboard, length, width] :
         {std::tuple{100, 20, 10, 12, "  120", "   22"},
          {0, 15, 63, 0, "   15", "   63"},
          {15, 0, 0, 0, "   15", "n/a"},
          {0, 0, 0, 9, "n/a", "    9"},
          {INT32_MAX, 1, INT32_MAX, INT32_MAX, "2147483648", "4294967294"}}) {
        T t;
        t.dimToBow = bow, t.dimToStern = stern, t.dimToPort = port, t.dimToStarboard = starboard;
        EXPECT_EQ(std::tuple(t.LengthText(), t.WidthText()), std::tuple(length, width));
    }
    T filled{.mmsi = 244123000, .latitude = -33.25, .trueHeading = 90, .shipName = "FALKVIK"};
    filled.Clear();
    EXPECT_EQ(
        filled.LatitudeText() + filled.MmsiText() + filled.TrueHeadingText() + filled.shipName,
        "00\xB0 00.0000' N0000\xB0")
        << "cleared";
}

}  // namespace
