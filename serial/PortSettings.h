#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "res/DialogTemplate.h"

// What the registry stores and the port controls show.
struct SerialSettings {
    int16_t portNumber;  // 0: no port
    int32_t baudRate;
    int16_t parityIndex;  // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int16_t dataBits;
    int16_t stopBits;
};

// How an item of a setting's box stands for the setting's value.
enum class ItemMapping : uint8_t {
    DecimalText,  // the item's text read as a decimal number ("OFF" as 0); the first match wins
    Index,        // the item's index plus the row's indexBase; none selected outside the list
};

// The five port settings, in the order they are loaded, saved and shown.
enum class PortSetting : uint8_t { Port, BaudRate, Parity, DataBits, StopBits };

// One row per setting: its box, its registry value, its field and its items. A setting has a
// 32-bit field (`wide`) or a 16-bit one that takes the low half of the stored value (`narrow`).
struct PortSettingRow {
    PortSetting setting;
    int controlId;
    const char* valueName;  // in the section "AIS Unit"
    uint32_t defaultValue;
    int32_t SerialSettings::*wide;
    int16_t SerialSettings::*narrow;
    std::span<const char* const> items;  // none: the box builds its own list
    ItemMapping mapping;
    int indexBase;
};

inline constexpr const char* kBaudItems[] = {"300",   "1200",  "2400",  "4800",  "9600",
                                             "19200", "38400", "57600", "115200"};
inline constexpr const char* kParityItems[] = {"NONE", "ODD", "EVEN", "MARK", "SPACE"};
inline constexpr const char* kDataBitsItems[] = {"5", "6", "7", "8"};
inline constexpr const char* kStopBitsItems[] = {"1", "2"};

// clang-format off
inline constexpr auto kPortSettingRows = std::to_array<PortSettingRow>({
    // setting, box, registry value and default; 32- or 16-bit field; items and their mapping
    {PortSetting::Port,     res::kIdPortCombo,     "Port Number", 0,
     nullptr, &SerialSettings::portNumber,   {},             ItemMapping::DecimalText, 0},
    {PortSetting::BaudRate, res::kIdBaudCombo,     "Baud Rate",   19200,
     &SerialSettings::baudRate, nullptr,     kBaudItems,     ItemMapping::DecimalText, 0},
    {PortSetting::Parity,   res::kIdParityCombo,   "Parity",      0,
     nullptr, &SerialSettings::parityIndex,  kParityItems,   ItemMapping::Index,       0},
    {PortSetting::DataBits, res::kIdDataBitsCombo, "Data Bits",   8,
     nullptr, &SerialSettings::dataBits,     kDataBitsItems, ItemMapping::Index,       5},
    {PortSetting::StopBits, res::kIdStopBitsCombo, "Stop Bits",   1,
     nullptr, &SerialSettings::stopBits,     kStopBitsItems, ItemMapping::Index,       1},
});
// clang-format on

constexpr const PortSettingRow& RowOf(PortSetting setting) {
    return kPortSettingRows[static_cast<size_t>(setting)];
}

// The index of box `controlId`'s row, which is its PortSetting; the row count for any other id.
constexpr size_t SettingIndex(int controlId) {
    size_t i = 0;
    while (i < kPortSettingRows.size() && kPortSettingRows[i].controlId != controlId) {
        ++i;
    }
    return i;
}

// The row of box `controlId`, or nullptr.
constexpr const PortSettingRow* RowOfControl(int controlId) {
    const size_t i = SettingIndex(controlId);
    return i < kPortSettingRows.size() ? &kPortSettingRows[i] : nullptr;
}

constexpr int32_t ValueOf(const SerialSettings& s, const PortSettingRow& row) {
    return row.wide != nullptr ? s.*row.wide : s.*row.narrow;
}

// A 16-bit field keeps the low half of `value`.
constexpr void SetValueOf(SerialSettings& s, const PortSettingRow& row, int32_t value) {
    if (row.wide != nullptr) {
        s.*row.wide = value;
    } else {
        s.*row.narrow = static_cast<int16_t>(value);
    }
}

constexpr bool RowsInSettingOrder() {
    for (size_t i = 0; i < kPortSettingRows.size(); ++i) {
        if (static_cast<size_t>(kPortSettingRows[i].setting) != i ||
            (kPortSettingRows[i].wide == nullptr) == (kPortSettingRows[i].narrow == nullptr)) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInSettingOrder(), "one row per setting, in PortSetting order, one field each");
