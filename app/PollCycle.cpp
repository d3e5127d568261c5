#include "app/PollCycle.h"

#include <array>
#include <cstring>
#include <string>

#include "res/DialogTemplate.h"
#include "serial/LineLimit.h"

namespace {

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
    FieldRow{res::kIdOwnMmsi, [](const AisTarget& t) { return t.MmsiText(); }},
    FieldRow{res::kIdOwnAccuracy, [](const AisTarget& t) { return t.PositionAccuracyText(); }},
    FieldRow{res::kIdOwnLatitude, [](const AisTarget& t) { return t.LatitudeText(); }},
    FieldRow{res::kIdOwnLongitude, [](const AisTarget& t) { return t.LongitudeText(); }},
    FieldRow{res::kIdOwnSpeed, [](const AisTarget& t) { return t.SpeedOverGroundText(); }},
    FieldRow{res::kIdOwnCourse, [](const AisTarget& t) { return t.CourseOverGroundText(); }},
    FieldRow{res::kIdOwnHeading, [](const AisTarget& t) { return t.TrueHeadingText(); }},
    FieldRow{res::kIdUpdateMark, [](const AisTarget&) { return std::string("Update"); }},
};

constexpr std::array kStationFields = {
    FieldRow{res::kIdTargetMmsi, [](const AisTarget& t) { return t.MmsiText(); }},
    FieldRow{res::kIdTargetImoNumber, [](const AisTarget& t) { return t.ImoNumberText(); }},
    FieldRow{res::kIdTargetCallSign, [](const AisTarget& t) { return Stored(t.callSign); }},
    FieldRow{res::kIdTargetName, [](const AisTarget& t) { return Stored(t.shipName); }},
    FieldRow{res::kIdTargetLatitude, [](const AisTarget& t) { return t.LatitudeText(); }},
    FieldRow{res::kIdTargetLongitude, [](const AisTarget& t) { return t.LongitudeText(); }},
    FieldRow{res::kIdTargetSpeed, [](const AisTarget& t) { return t.SpeedOverGroundText(); }},
    FieldRow{res::kIdTargetCourse, [](const AisTarget& t) { return t.CourseOverGroundText(); }},
    FieldRow{res::kIdTargetHeading, [](const AisTarget& t) { return t.TrueHeadingText(); }},
    FieldRow{res::kIdTargetShipType, [](const AisTarget& t) { return t.ShipTypeText(); }},
    FieldRow{res::kIdTargetNavStatus, [](const AisTarget& t) { return t.NavStatusText(); }},
    FieldRow{res::kIdTargetAccuracy, [](const AisTarget& t) { return t.PositionAccuracyText(); }},
    FieldRow{res::kIdTargetFixType, [](const AisTarget& t) { return t.FixTypeText(); }},
    FieldRow{res::kIdTargetRateOfTurn, [](const AisTarget& t) { return t.RateOfTurnText(); }},
    FieldRow{res::kIdTargetLength, [](const AisTarget& t) { return t.LengthText(); }},
    FieldRow{res::kIdTargetWidth, [](const AisTarget& t) { return t.WidthText(); }},
    FieldRow{res::kIdTargetDraught, [](const AisTarget& t) { return t.DraughtText(); }},
    FieldRow{res::kIdTargetDestination, [](const AisTarget& t) { return Stored(t.destination); }},
    FieldRow{res::kIdTargetEta, [](const AisTarget& t) { return Stored(t.etaText); }},
    FieldRow{res::kIdUpdateMark, [](const AisTarget&) { return std::string(); }},
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
    view.SetControlText(res::kIdTargetCount, std::to_string(decoder.TargetCount()));
    if (decoder.FindTarget(lastMmsi, record) && record != nullptr) {
        ShowFields(kStationFields, *record, view);
    }
    return lastMmsi;
}
