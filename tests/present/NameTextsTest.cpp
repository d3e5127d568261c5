#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "ais/AisTarget.h"
#include "present/NameTables.h"

namespace {

std::string ShipType(int32_t type) {
    AisTarget t;
    t.shipType = type;
    return t.ShipTypeText();
}

std::string NavStatus(int32_t code) {
    AisTarget t;
    t.navStatus = code;
    return t.NavStatusText();
}

std::string FixType(int32_t code) {
    AisTarget t;
    t.fixType = code;
    return t.FixTypeText();
}

std::string Accuracy(int32_t code) {
    AisTarget t;
    t.positionAccuracy = code;
    return t.PositionAccuracyText();
}

TEST(ShipTypeText, ThirtiesByUnitsDigit) {
    const std::vector<std::string> expected = {
        "Fishing Vessel",
        "Towing",
        "Towing and length of tow exceeds 200m or breadth exceeds 25m",
        "Engaged in dregding or underwater operations",
        "Engaged in Diving  Operations",
        "Engaged in Military Operations",
        "Sailing",
        "Pleasure Craft",
        "Reserved (8)",
        "Reserved (9)",
    };
    for (int units = 0; units < 10; ++units) {
        EXPECT_EQ(ShipType(30 + units), expected[units]) << "type " << 30 + units;
    }
}

TEST(ShipTypeText, FiftiesByUnitsDigit) {
    const std::vector<std::string> expected = {
        "Pilot Vessel",
        "Search and Rescue Vessel",
        "Tug",
        "Port Tender",
        "Vessel With Anti-pollution facilitites or equipment",
        "Law Enforcement Vessel",
        "Local Vessel (6)",
        "Local Vessel (7)",
        "Medical Transport",
        "Ship according to Resolution No 18",
    };
    for (int units = 0; units < 10; ++units) {
        EXPECT_EQ(ShipType(50 + units), expected[units]) << "type " << 50 + units;
    }
}

TEST(ShipTypeText, CategoriesWithoutCargoLetter) {
    const char* categories[10] = {"n/a",   "Unknown",        "WIG",        nullptr,  "HSC",
                                  nullptr, "Passenger Ship", "Cargo Ship", "Tanker", "Other"};
    for (int tens = 0; tens < 10; ++tens) {
        if (categories[tens] == nullptr) {
            continue;
        }
        for (int units : {0, 5, 6, 7, 8, 9}) {
            EXPECT_EQ(ShipType(tens * 10 + units), categories[tens])
                << "type " << tens * 10 + units;
        }
    }
}

TEST(ShipTypeText, HazardousCargoSentence) {
    EXPECT_EQ(ShipType(71), "Cargo Ship Carring Hazardous Goods or Pollutant Category A");
    EXPECT_EQ(ShipType(84), "Tanker Carring Hazardous Goods or Pollutant Category D");
    EXPECT_EQ(ShipType(62), "Passenger Ship Carring Hazardous Goods or Pollutant Category B");
    EXPECT_EQ(ShipType(43), "HSC Carring Hazardous Goods or Pollutant Category C");
    EXPECT_EQ(ShipType(21), "WIG Carring Hazardous Goods or Pollutant Category A");
    EXPECT_EQ(ShipType(14), "Unknown Carring Hazardous Goods or Pollutant Category D");
    EXPECT_EQ(ShipType(94), "Other Carring Hazardous Goods or Pollutant Category D");
    // Tens 0 takes the sentence too.
    EXPECT_EQ(ShipType(2), "n/a Carring Hazardous Goods or Pollutant Category B");
    EXPECT_EQ(ShipType(1), "n/a Carring Hazardous Goods or Pollutant Category A");
}

TEST(ShipTypeText, TypesWithoutCategoryAreEmpty) {
    for (int type : {100, 101, 104, 109, 150, 199, 200, 254, 255}) {
        EXPECT_EQ(ShipType(type), "") << "type " << type;
    }
    for (int type : {-1, -4, -30, -51, std::numeric_limits<int32_t>::min(),
                     std::numeric_limits<int32_t>::max()}) {
        EXPECT_EQ(ShipType(type), "") << "type " << type;
    }
}

TEST(NavStatusText, EveryCodeAndOutside) {
    const std::vector<std::string> expected = {
        "Underway",
        "At Anchor",
        "Not Under Command",
        "Restricted Manoeuvrability",
        "Constrained by Draught",
        "Moored",
        "Aground",
        "Engaged in Fishing",
        "Underway Sailing",
        "Reserved",
        "Reserved",
        "n/a",
        "n/a",
        "n/a",
        "n/a",
        "Default",
    };
    for (int code = 0; code < 16; ++code) {
        EXPECT_EQ(NavStatus(code), expected[code]) << "code " << code;
    }
    EXPECT_EQ(NavStatus(16), "");
    EXPECT_EQ(NavStatus(-1), "");
    EXPECT_EQ(NavStatus(std::numeric_limits<int32_t>::min()), "");
}

TEST(PositionAccuracyText, LowHighAndOutside) {
    EXPECT_EQ(Accuracy(0), "Low");
    EXPECT_EQ(Accuracy(1), "High");
    EXPECT_EQ(Accuracy(2), "");
    EXPECT_EQ(Accuracy(-1), "");
}

TEST(FixTypeText, EveryCodeAndOutside) {
    const std::vector<std::string> expected = {
        "",  "GPS", "GLONASS", "GPS/GLONASS", "Loran-C", "Chayka", "INS", "Surveyed",
        "8", "9",   "10",      "11",          "12",      "13",     "14",  "15",
    };
    for (int code = 0; code < 16; ++code) {
        EXPECT_EQ(FixType(code), expected[code]) << "code " << code;
    }
    EXPECT_EQ(FixType(16), "");
    EXPECT_EQ(FixType(-1), "");
}

// The window shows single-byte Windows-1252 text; every name is plain printable ASCII.
TEST(NameTables, EveryNameIsPrintableSingleByteText) {
    auto check = [](const char* const* names, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_NE(names[i], nullptr) << "entry " << i;
            for (const char* p = names[i]; *p != '\0'; ++p) {
                EXPECT_TRUE(*p >= 0x20 && *p <= 0x7E) << "entry " << i << ": " << names[i];
            }
        }
    };
    check(ShipCategoryNames.data(), ShipCategoryNames.size());
    check(ShipType3xNames.data(), ShipType3xNames.size());
    check(ShipType5xNames.data(), ShipType5xNames.size());
    check(NavStatusNames.data(), NavStatusNames.size());
    check(PositionAccuracyNames.data(), PositionAccuracyNames.size());
    check(FixTypeNames.data(), FixTypeNames.size());
}

TEST(NameTables, TypoedTextsAreKeptByteForByte) {
    EXPECT_STREQ(ShipType3xNames[3], "Engaged in dregding or underwater operations");
    EXPECT_STREQ(ShipType3xNames[4], "Engaged in Diving  Operations");
    EXPECT_EQ(std::strlen(ShipType3xNames[4]), 29u);
    EXPECT_STREQ(ShipType5xNames[4], "Vessel With Anti-pollution facilitites or equipment");
    EXPECT_STREQ(NavStatusNames[3], "Restricted Manoeuvrability");
}

}  // namespace
