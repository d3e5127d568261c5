#include "tools/brenlow-dump/MessageJson.h"

#include <cfloat>
#include <string>

namespace {

struct TextOperation {
    const char* name;
    std::string (AisTarget::*text)() const;
};

constexpr TextOperation kTexts[] = {
    {"MmsiText", &AisTarget::MmsiText},
    {"ImoNumberText", &AisTarget::ImoNumberText},
    {"ShipTypeText", &AisTarget::ShipTypeText},
    {"NavStatusText", &AisTarget::NavStatusText},
    {"PositionAccuracyText", &AisTarget::PositionAccuracyText},
    {"FixTypeText", &AisTarget::FixTypeText},
    {"LatitudeText", &AisTarget::LatitudeText},
    {"LongitudeText", &AisTarget::LongitudeText},
    {"RateOfTurnText", &AisTarget::RateOfTurnText},
    {"SpeedOverGroundText", &AisTarget::SpeedOverGroundText},
    {"CourseOverGroundText", &AisTarget::CourseOverGroundText},
    {"TrueHeadingText", &AisTarget::TrueHeadingText},
    {"LengthText", &AisTarget::LengthText},
    {"WidthText", &AisTarget::WidthText},
    {"DraughtText", &AisTarget::DraughtText},
};

void WritePositionFields(JsonWriter& json, const AisTarget& t) {
    json.Key("navStatus");
    json.Int(t.navStatus);
    json.Key("rateOfTurn");
    if (t.rateOfTurn == DBL_MAX) {
        json.Null();
    } else {
        json.Double(t.rateOfTurn);
    }
    json.Key("speedOverGround");
    json.Double(t.speedOverGround);
    json.Key("positionAccuracy");
    json.Int(t.positionAccuracy);
    json.Key("latitude");
    json.Double(t.latitude);
    json.Key("longitude");
    json.Double(t.longitude);
    json.Key("courseOverGround");
    json.Double(t.courseOverGround);
    json.Key("trueHeading");
    json.Int(t.trueHeading);
}

void WriteStaticFields(JsonWriter& json, const AisTarget& t) {
    json.Key("imoNumber");
    json.Int(t.imoNumber);
    json.Key("callSign");
    json.String(t.callSign);
    json.Key("shipName");
    json.String(t.shipName);
    json.Key("destination");
    json.String(t.destination);
    json.Key("fixType");
    json.Int(t.fixType);
    json.Key("shipType");
    json.Int(t.shipType);
    json.Key("draught");
    json.Double(t.draught);
    json.Key("dimToBow");
    json.Int(t.dimToBow);
    json.Key("dimToStern");
    json.Int(t.dimToStern);
    json.Key("dimToPort");
    json.Int(t.dimToPort);
    json.Key("dimToStarboard");
    json.Int(t.dimToStarboard);
    json.Key("etaText");
    json.String(t.etaText);
}

}  // namespace

void WriteMessageJson(JsonWriter& json, uint64_t lineNumber, uint32_t mmsi,
                      const DecodedMessage& message) {
    const AisTarget& record = *message.record;
    json.BeginObject();
    json.Key("line");
    json.Int(static_cast<int64_t>(lineNumber));
    json.Key("type");
    json.Int(message.type);
    json.Key("own");
    json.Bool(message.own);
    json.Key("mmsi");
    json.Int(mmsi);
    if (message.type == 5) {
        WriteStaticFields(json, record);
    } else {
        WritePositionFields(json, record);
    }
    json.Key("texts");
    json.BeginObject();
    for (const TextOperation& op : kTexts) {
        json.Key(op.name);
        json.String((record.*op.text)());
    }
    json.EndObject();
    json.EndObject();
    json.EndLine();
}
