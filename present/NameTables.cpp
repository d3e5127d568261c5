#include "present/NameTables.h"

const std::array<const char*, 10> ShipCategoryNames = {
    "n/a", "Unknown", "WIG", "", "HSC", "", "Passenger Ship", "Cargo Ship", "Tanker", "Other",
};

const std::array<const char*, 10> ShipType3xNames = {
    "Fishing Vessel",
    "Towing",
    "Towing and length of tow exceeds 200m or breadth exceeds 25m",
    "Engaged in dregding or underwater operations",  // sic, as the original shows it
    "Engaged in Diving  Operations",
    "Engaged in Military Operations",
    "Sailing",
    "Pleasure Craft",
    "Reserved (8)",
    "Reserved (9)",
};

const std::array<const char*, 10> ShipType5xNames = {
    "Pilot Vessel",
    "Search and Rescue Vessel",
    "Tug",
    "Port Tender",
    "Vessel With Anti-pollution facilitites or equipment",  // sic
    "Law Enforcement Vessel",
    "Local Vessel (6)",
    "Local Vessel (7)",
    "Medical Transport",
    "Ship according to Resolution No 18",
};

const std::array<const char*, 16> NavStatusNames = {
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

const std::array<const char*, 2> PositionAccuracyNames = {"Low", "High"};

const std::array<const char*, 16> FixTypeNames = {
    "",  "GPS", "GLONASS", "GPS/GLONASS", "Loran-C", "Chayka", "INS", "Surveyed",
    "8", "9",   "10",      "11",          "12",      "13",     "14",  "15",
};
