#pragma once

#include <array>

// Display names of the coded AIS fields, Windows-1252 text, indexed by the code.

// By the tens digit of the ship type; tens 3 and 5 have their own tables and stay empty here.
extern const std::array<const char*, 10> ShipCategoryNames;
// By the units digit of ship types 30 to 39 and 50 to 59.
extern const std::array<const char*, 10> ShipType3xNames;
extern const std::array<const char*, 10> ShipType5xNames;
extern const std::array<const char*, 16> NavStatusNames;
extern const std::array<const char*, 2> PositionAccuracyNames;
// Code 0 (undefined) has no name and shows empty.
extern const std::array<const char*, 16> FixTypeNames;
