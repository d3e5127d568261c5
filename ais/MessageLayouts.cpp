#include "ais/MessageLayouts.h"

#include <cfloat>
#include <cstdio>

namespace {

template <int32_t AisTarget::*Field>
void Int(MessageFields& m, int32_t raw) {
    m.record.*Field = raw;
}
template <uint32_t AisTarget::*Field>
void Uint(MessageFields& m, int32_t raw) {
    m.record.*Field = static_cast<uint32_t>(raw);
}
template <double AisTarget::*Field>
void Tenths(MessageFields& m, int32_t raw) {
    m.record.*Field = raw * 0.1;
}
template <int Index>
void Eta(MessageFields& m, int32_t raw) {
    m.eta[Index] = raw;
}
template <auto Field>
char* Text(AisTarget& t) {
    return t.*Field;
}

// Positions come in 1/10000 minute: 600,000 to the degree.
constexpr double kDegreesPerUnit = 1 / 600000.0;
// The rate of turn is sent as 4.733 times the square root of degrees per minute.
constexpr double kRateOfTurnRootPerUnit = 1 / 4.733;

// Two's complement of a `bits`-wide field, in 1/10000 minute.
template <int Bits>
double Degrees(int32_t raw) {
    const int32_t value = raw >= (1 << (Bits - 1)) ? raw - (1 << Bits) : raw;
    return value * kDegreesPerUnit;
}

void RateOfTurn(MessageFields& m, int32_t raw) {
    const int32_t value = raw > 127 ? raw - 256 : raw;
    if (value == -128) {
        m.record.rateOfTurn = DBL_MAX;
        return;
    }
    const double root = value * kRateOfTurnRootPerUnit;
    m.record.rateOfTurn = root * root;
}
void Accuracy(MessageFields& m, int32_t raw) {
    m.record.positionAccuracy = raw ? 1 : 0;
}
void Latitude(MessageFields& m, int32_t raw) {
    m.record.latitude = Degrees<27>(raw);
}
void Longitude(MessageFields& m, int32_t raw) {
    m.record.longitude = Degrees<28>(raw);
}
void Course(MessageFields& m, int32_t raw) {
    m.record.courseOverGround = raw >= 3600 || raw < 0 ? -1.0 : raw * 0.1;
}
void Heading(MessageFields& m, int32_t raw) {
    m.record.trueHeading = raw > 359 || raw < 0 ? -1 : raw;
}

constexpr LayoutRow kPosition[] = {
    {1, 6, nullptr, nullptr},   // message type
    {7, 2, nullptr, nullptr},   // repeat indicator
    {9, 30, nullptr, nullptr},  // MMSI
    {39, 4, Int<&AisTarget::navStatus>, nullptr},
    {43, 8, RateOfTurn, nullptr},
    {51, 10, Tenths<&AisTarget::speedOverGround>, nullptr},
    {61, 1, Accuracy, nullptr},
    {62, 28, Longitude, nullptr},
    {90, 27, Latitude, nullptr},
    {117, 12, Course, nullptr},
    {129, 9, Heading, nullptr},
};

constexpr LayoutRow kStatic[] = {
    {1, 6, nullptr, nullptr},   // message type
    {7, 2, nullptr, nullptr},   // repeat indicator
    {9, 30, nullptr, nullptr},  // MMSI
    {39, 2, nullptr, nullptr},  // AIS version
    {41, 30, Uint<&AisTarget::imoNumber>, nullptr},
    {71, 42, nullptr, Text<&AisTarget::callSign>},
    {113, 120, nullptr, Text<&AisTarget::shipName>},
    {233, 8, Int<&AisTarget::shipType>, nullptr},
    {241, 9, Int<&AisTarget::dimToBow>, nullptr},
    {250, 9, Int<&AisTarget::dimToStern>, nullptr},
    {259, 6, Int<&AisTarget::dimToPort>, nullptr},
    {265, 6, Int<&AisTarget::dimToStarboard>, nullptr},
    {271, 4, Int<&AisTarget::fixType>, nullptr},
    {275, 4, Eta<0>, nullptr},  // month
    {279, 5, Eta<1>, nullptr},  // day
    {284, 5, Eta<2>, nullptr},  // hour
    {289, 6, Eta<3>, nullptr},  // minute
    {295, 8, Tenths<&AisTarget::draught>, nullptr},
    {303, 120, nullptr, Text<&AisTarget::destination>},
};

// Each field starts where the one before it ended: a cheap guard against layout typos.
template <size_t N>
constexpr bool Contiguous(const LayoutRow (&rows)[N]) {
    for (size_t i = 1; i < N; ++i) {
        if (rows[i].start != rows[i - 1].start + rows[i - 1].length)
            return false;
    }
    return rows[0].start == 1;
}
static_assert(Contiguous(kPosition));
static_assert(Contiguous(kStatic));
static_assert(kPosition[std::size(kPosition) - 1].start +
                  kPosition[std::size(kPosition) - 1].length - 1 ==
              kPositionReportMinBits);

}  // namespace

const std::span<const LayoutRow> PositionReportLayout(kPosition);
const std::span<const LayoutRow> StaticReportLayout(kStatic);

const char* const MonthAbbrevNames[13] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void FormatEta(std::span<const int, 4> eta, char* out, int size) {
    const int month = eta[0], day = eta[1], hour = eta[2], minute = eta[3];
    // The day has five bits: 0 is its only value out of range.
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59) {
        std::snprintf(out, size, "n/a");
        return;
    }
    std::snprintf(out, size, "%2d %s  %02d:%02d", day, MonthAbbrevNames[month], hour, minute);
}
