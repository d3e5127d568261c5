#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ais/AisTarget.h"
#include "present/FormatText.h"
#include "present/NameTables.h"

namespace {

// Codes without an entry give an empty text; the table is never indexed outside its bounds.
template <std::size_t N>
std::string NameOf(const std::array<const char*, N>& table, int32_t code) {
    if (code < 0 || static_cast<std::size_t>(code) >= N) {
        return std::string();
    }
    return table[static_cast<std::size_t>(code)];
}

}  // namespace

std::string AisTarget::ShipTypeText() const {
    if (shipType < 0) {
        return std::string();
    }
    const int32_t tens = shipType / 10;
    const int32_t units = shipType % 10;
    if (tens == 3) {
        return NameOf(ShipType3xNames, units);
    }
    if (tens == 5) {
        return NameOf(ShipType5xNames, units);
    }
    // Types 100 to 255 have no category and show empty.
    const std::string category = NameOf(ShipCategoryNames, tens);
    if (category.empty() || units < 1 || units > 4) {
        return category;
    }
    // "Carring" and the other misspellings in the texts are the original program's, kept.
    return FormatText("%s Carring Hazardous Goods or Pollutant Category %c", category.c_str(),
                      static_cast<char>('A' + units - 1));
}

std::string AisTarget::NavStatusText() const {
    return NameOf(NavStatusNames, navStatus);
}

std::string AisTarget::PositionAccuracyText() const {
    return NameOf(PositionAccuracyNames, positionAccuracy);
}

std::string AisTarget::FixTypeText() const {
    return NameOf(FixTypeNames, fixType);
}
