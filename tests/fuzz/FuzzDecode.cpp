// Feeds arbitrary lines to one decoder and checks every record it reports against the
// ranges its fields can hold.
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "ais/AisDecoder.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

constexpr double kMaxRateOfTurn = 720.0033;
constexpr double kLatitudeLimit = 67108864.0 / 600000.0;    // 2^26 units of 1/10000 minute
constexpr double kLongitudeLimit = 134217728.0 / 600000.0;  // 2^27
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void CheckText(const char* text, size_t width) {
    const size_t length = strnlen(text, width);
    FUZZ_CHECK(length < width);
    for (size_t i = 0; i < length; ++i)
        FUZZ_CHECK(text[i] >= 0x20 && text[i] <= 0x5F);
    if (length > 0)
        FUZZ_CHECK(text[length - 1] != '@' && text[length - 1] != ' ');
}

void CheckEta(const char* eta) {
    FUZZ_CHECK(strnlen(eta, sizeof AisTarget::etaText) < sizeof AisTarget::etaText);
    if (std::strcmp(eta, "n/a") == 0)
        return;
    int day = 0, hour = 0, minute = 0;
    char month[4] = {};
    FUZZ_CHECK(std::sscanf(eta, "%2d %3s  %2d:%2d", &day, month, &hour, &minute) == 4);
    int monthNumber = 0;
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(month, kMonths[m]) == 0)
            monthNumber = m + 1;
    FUZZ_CHECK(monthNumber != 0);
    FUZZ_CHECK(day >= 1 && day <= 31 && hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59);
    char expected[sizeof AisTarget::etaText];
    std::snprintf(expected, sizeof expected, "%2d %s  %02d:%02d", day, month, hour, minute);
    FUZZ_CHECK(std::strcmp(expected, eta) == 0);
}

void CheckPositionReport(const AisTarget& r) {
    FUZZ_CHECK(r.navStatus >= 0 && r.navStatus <= 15);
    FUZZ_CHECK(r.rateOfTurn == DBL_MAX || (r.rateOfTurn >= 0.0 && r.rateOfTurn <= kMaxRateOfTurn));
    FUZZ_CHECK(r.speedOverGround >= 0.0 && r.speedOverGround <= 102.3 + 1e-9);
    FUZZ_CHECK(r.positionAccuracy == 0 || r.positionAccuracy == 1);
    FUZZ_CHECK(r.latitude >= -kLatitudeLimit && r.latitude <= kLatitudeLimit);
    FUZZ_CHECK(r.longitude >= -kLongitudeLimit && r.longitude <= kLongitudeLimit);
    FUZZ_CHECK(r.courseOverGround == -1.0 ||
               (r.courseOverGround >= 0.0 && r.courseOverGround <= 359.9 + 1e-9));
    FUZZ_CHECK(r.trueHeading == -1 || (r.trueHeading >= 0 && r.trueHeading <= 359));
}

void CheckStaticReport(const AisTarget& r) {
    FUZZ_CHECK(r.imoNumber < (1u << 30));
    FUZZ_CHECK(r.shipType >= 0 && r.shipType <= 255);
    FUZZ_CHECK(r.dimToBow >= 0 && r.dimToBow <= 511);
    FUZZ_CHECK(r.dimToStern >= 0 && r.dimToStern <= 511);
    FUZZ_CHECK(r.dimToPort >= 0 && r.dimToPort <= 63);
    FUZZ_CHECK(r.dimToStarboard >= 0 && r.dimToStarboard <= 63);
    FUZZ_CHECK(r.fixType >= 0 && r.fixType <= 15);
    FUZZ_CHECK(r.draught >= 0.0 && r.draught <= 25.5 + 1e-9);
    CheckText(r.callSign, sizeof r.callSign);
    CheckText(r.shipName, sizeof r.shipName);
    CheckText(r.destination, sizeof r.destination);
    CheckEta(r.etaText);
}

// Every text the window can ask for, whatever the record holds.
void CheckFieldTexts(const AisTarget& r) {
    using TextOf = std::string (AisTarget::*)() const;
    static constexpr TextOf kTexts[] = {
        &AisTarget::MmsiText,
        &AisTarget::ImoNumberText,
        &AisTarget::ShipTypeText,
        &AisTarget::NavStatusText,
        &AisTarget::PositionAccuracyText,
        &AisTarget::FixTypeText,
        &AisTarget::LatitudeText,
        &AisTarget::LongitudeText,
        &AisTarget::RateOfTurnText,
        &AisTarget::SpeedOverGroundText,
        &AisTarget::CourseOverGroundText,
        &AisTarget::TrueHeadingText,
        &AisTarget::LengthText,
        &AisTarget::WidthText,
        &AisTarget::DraughtText,
    };
    for (TextOf text : kTexts) {
        const std::string shown = (r.*text)();
        FUZZ_CHECK(shown.size() <= 64);
        FUZZ_CHECK(shown.find('\0') == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AisDecoder decoder;
    int stationMessages = 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const size_t end = input.find('\n');
        const size_t take = end == std::string_view::npos ? input.size() : end + 1;
        const uint32_t ownBefore = decoder.mmsi;
        const uint32_t mmsi = decoder.DecodeSentence(input.substr(0, take));
        input.remove_prefix(take);
        if (mmsi == 0)
            continue;

        const DecodedMessage& message = decoder.LastMessage();
        FUZZ_CHECK(mmsi < (1u << 30));
        FUZZ_CHECK(message.record != nullptr);
        const AisTarget& record = *message.record;
        if (message.own) {
            FUZZ_CHECK(message.record == &decoder);
            if (message.type != 5)
                FUZZ_CHECK(record.mmsi == mmsi && decoder.ownVesselKnown == 1);
            else
                FUZZ_CHECK(record.mmsi == ownBefore);
        } else {
            ++stationMessages;
            AisTarget* found = nullptr;
            FUZZ_CHECK(decoder.FindTarget(mmsi, found) == 1 && found == message.record);
            FUZZ_CHECK(record.mmsi == mmsi);
        }
        FUZZ_CHECK(decoder.TargetCount() <= stationMessages);
        if (message.type >= 1 && message.type <= 3)
            CheckPositionReport(record);
        else if (message.type == 5)
            CheckStaticReport(record);
        else
            FUZZ_CHECK(false);
        CheckFieldTexts(record);
    }
    return 0;
}
