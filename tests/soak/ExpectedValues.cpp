#include "tests/soak/ExpectedValues.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ais/MessageLayouts.h"

namespace {

constexpr double kTolerance = 1e-9;

bool Near(double a, double b) {
    return std::fabs(a - b) <= kTolerance * std::max(1.0, std::fabs(b));
}

std::string Field(const char* name, double got, double want) {
    char text[160];
    std::snprintf(text, sizeof text, "%s: decoded %.10g, sent %.10g", name, got, want);
    return text;
}

// Six-bit text as a record holds it: trailing "@" and blanks dropped, cut to the field.
std::string Trimmed(const std::string& sent, size_t width) {
    std::string text = sent.substr(0, width);
    while (!text.empty() && (text.back() == '@' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

template <size_t N>
std::string TextField(const char* name, const char (&got)[N], const std::string& sent) {
    const std::string decoded(got, strnlen(got, N));
    const std::string want = Trimmed(sent, N - 1);
    return decoded == want
               ? std::string()
               : std::string(name) + ": decoded \"" + decoded + "\", sent \"" + want + "\"";
}

std::string EtaText(const StaticReport& s) {
    const int eta[4] = {s.etaMonth, s.etaDay, s.etaHour, s.etaMinute};
    char text[24];
    FormatEta(eta, text, sizeof text);
    return text;
}

}  // namespace

std::string PositionMismatch(const AisTarget& r, const PositionReport& s) {
    if (r.mmsi != s.mmsi) {
        return Field("mmsi", r.mmsi, s.mmsi);
    }
    if (r.navStatus != s.navStatus) {
        return Field("navStatus", r.navStatus, s.navStatus);
    }
    const double turn = s.rateOfTurn == -128 ? DBL_MAX : std::pow(s.rateOfTurn / 4.733, 2.0);
    if (s.rateOfTurn == -128 ? r.rateOfTurn != DBL_MAX : !Near(r.rateOfTurn, turn)) {
        return Field("rateOfTurn", r.rateOfTurn, turn);
    }
    if (!Near(r.speedOverGround, s.speed / 10.0)) {
        return Field("speedOverGround", r.speedOverGround, s.speed / 10.0);
    }
    if (r.positionAccuracy != s.accuracy) {
        return Field("positionAccuracy", r.positionAccuracy, s.accuracy);
    }
    if (!Near(r.longitude, s.longitude / 600000.0)) {
        return Field("longitude", r.longitude, s.longitude / 600000.0);
    }
    if (!Near(r.latitude, s.latitude / 600000.0)) {
        return Field("latitude", r.latitude, s.latitude / 600000.0);
    }
    const double course = s.course >= 3600 ? -1.0 : s.course / 10.0;
    if (!Near(r.courseOverGround, course)) {
        return Field("courseOverGround", r.courseOverGround, course);
    }
    const int heading = s.heading > 359 ? -1 : s.heading;
    if (r.trueHeading != heading) {
        return Field("trueHeading", r.trueHeading, heading);
    }
    return {};
}

std::string StaticMismatch(const AisTarget& r, const StaticReport& s) {
    if (r.imoNumber != s.imoNumber) {
        return Field("imoNumber", r.imoNumber, s.imoNumber);
    }
    for (const std::string& text : {TextField("callSign", r.callSign, s.callSign),
                                    TextField("shipName", r.shipName, s.shipName),
                                    TextField("destination", r.destination, s.destination)}) {
        if (!text.empty()) {
            return text;
        }
    }
    const int numbers[][2] = {{r.shipType, s.shipType},
                              {r.dimToBow, s.dimToBow},
                              {r.dimToStern, s.dimToStern},
                              {r.dimToPort, s.dimToPort},
                              {r.dimToStarboard, s.dimToStarboard},
                              {r.fixType, s.fixType}};
    static constexpr const char* Names[] = {"shipType",  "dimToBow",       "dimToStern",
                                            "dimToPort", "dimToStarboard", "fixType"};
    for (size_t i = 0; i < std::size(numbers); ++i) {
        if (numbers[i][0] != numbers[i][1]) {
            return Field(Names[i], numbers[i][0], numbers[i][1]);
        }
    }
    if (!Near(r.draught, s.draught / 10.0)) {
        return Field("draught", r.draught, s.draught / 10.0);
    }
    const std::string eta(r.etaText, strnlen(r.etaText, sizeof r.etaText));
    if (eta != EtaText(s)) {
        return "etaText: decoded \"" + eta + "\", sent \"" + EtaText(s) + "\"";
    }
    return {};
}
