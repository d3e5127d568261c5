#include "app/PollCycle.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t kLineLimit = 1024;

using FieldText = std::string (*)(const AisTarget&);

struct FieldRow {
    int id;
    FieldText text;
};

template <size_t N>
std::string Stored(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

constexpr std::array kOwnVesselFields = {
    FieldRow{1006, [](const AisTarget& t) { return t.MmsiText(); }},
    FieldRow{1031, [](const AisTarget& t) { return t.PositionAccuracyText(); }},
    FieldRow{1027, [](const AisTarget& t) { return t.LatitudeText(); }},
    FieldRow{1028, [](const AisTarget& t) { return t.LongitudeText(); }},
    FieldRow{1029, [](const AisTarget& t) { return t.SpeedOverGroundText(); }},
    FieldRow{1030, [](const AisTarget& t) { return t.CourseOverGroundText(); }},
    FieldRow{1032, [](const AisTarget& t) { return t.TrueHeadingText(); }},
    FieldRow{1033, [](const AisTarget&) { return std::string("Update"); }},
};

constexpr std::array kStationFields = {
    FieldRow{1002, [](const AisTarget& t) { return t.MmsiText(); }},
    FieldRow{1003, [](const AisTarget& t) { return t.ImoNumberText(); }},
    FieldRow{1004, [](const AisTarget& t) { return Stored(t.callSign); }},
    FieldRow{1005, [](const AisTarget& t) { return Stored(t.shipName); }},
    FieldRow{1007, [](const AisTarget& t) { return t.LatitudeText(); }},
    FieldRow{1008, [](const AisTarget& t) { return t.LongitudeText(); }},
    FieldRow{1009, [](const AisTarget& t) { return t.SpeedOverGroundText(); }},
    FieldRow{1010, [](const AisTarget& t) { return t.CourseOverGroundText(); }},
    FieldRow{1011, [](const AisTarget& t) { return t.TrueHeadingText(); }},
    FieldRow{1013, [](const AisTarget& t) { return t.ShipTypeText(); }},
    FieldRow{1014, [](const AisTarget& t) { return t.NavStatusText(); }},
    FieldRow{1015, [](const AisTarget& t) { return t.PositionAccuracyText(); }},
    FieldRow{1016, [](const AisTarget& t) { return t.FixTypeText(); }},
    FieldRow{1012, [](const AisTarget& t) { return t.RateOfTurnText(); }},
    FieldRow{1017, [](const AisTarget& t) { return t.LengthText(); }},
    FieldRow{1018, [](const AisTarget& t) { return t.WidthText(); }},
    FieldRow{1019, [](const AisTarget& t) { return t.DraughtText(); }},
    FieldRow{1021, [](const AisTarget& t) { return Stored(t.destination); }},
    FieldRow{1020, [](const AisTarget& t) { return Stored(t.etaText); }},
    FieldRow{1033, [](const AisTarget&) { return std::string(); }},
};

template <size_t N>
void ShowFields(const std::array<FieldRow, N>& rows, const AisTarget& record, TargetView& view) {
    for (const FieldRow& row : rows) {
        view.SetControlText(row.id, row.text(record));
    }
}

}  // namespace

uint32_t RunPollTick(LineSource& source, AisDecoder& decoder, TargetView& view,
                     Reception* reception, Reception::Clock::time_point now) {
    char buffer[kLineLimit + 1];
    uint32_t lastMmsi = 0;
    for (uint32_t length = source.ReadLine(buffer, kLineLimit); length != 0;
         length = source.ReadLine(buffer, kLineLimit)) {
        if (length > kLineLimit) {
            length = kLineLimit;
        }
        view.InsertLineAtTop(buffer, length);
        const uint32_t mmsi = decoder.DecodeSentence(std::string_view(buffer, length));
        if (reception != nullptr) {
            reception->Line(decoder.LastOutcome(), now);
        }
        if (mmsi != 0) {
            lastMmsi = mmsi;
        }
    }
    if (lastMmsi == 0) {
        return 0;
    }
    AisTarget* record = nullptr;
    if (decoder.IsOwnVessel(lastMmsi)) {
        if (decoder.GetOwnVessel(record) && record != nullptr) {
            ShowFields(kOwnVesselFields, *record, view);
        }
        return lastMmsi;
    }
    char count[16];
    std::snprintf(count, sizeof count, "%d", decoder.TargetCount());
    view.SetControlText(1001, count);
    if (decoder.FindTarget(lastMmsi, record) && record != nullptr) {
        ShowFields(kStationFields, *record, view);
    }
    return lastMmsi;
}
