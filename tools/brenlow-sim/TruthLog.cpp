#include "tools/brenlow-sim/TruthLog.h"

#include <cstdio>

namespace {

void AppendString(std::string& out, std::string_view text) {
    out += '"';
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", byte);
            out += escaped;
        } else {
            out += ch;
        }
    }
    out += '"';
}

void Field(std::string& out, const char* name, long long value) {
    out += ",\"";
    out += name;
    out += "\":";
    out += std::to_string(value);
}

void Field(std::string& out, const char* name, std::string_view text) {
    out += ",\"";
    out += name;
    out += "\":";
    AppendString(out, text);
}

}  // namespace

std::string TruthLine(const SimMessage& m) {
    char head[96];
    std::snprintf(head, sizeof head, "{\"seq\":%llu,\"time\":%.3f,\"own\":%s",
                  static_cast<unsigned long long>(m.seq), m.time, m.own ? "true" : "false");
    std::string out = head;
    Field(out, "type", m.type);
    if (m.type == 5) {
        const StaticReport& s = m.statics;
        Field(out, "mmsi", s.mmsi);
        Field(out, "imoNumber", s.imoNumber);
        Field(out, "callSign", s.callSign);
        Field(out, "shipName", s.shipName);
        Field(out, "shipType", s.shipType);
        Field(out, "dimToBow", s.dimToBow);
        Field(out, "dimToStern", s.dimToStern);
        Field(out, "dimToPort", s.dimToPort);
        Field(out, "dimToStarboard", s.dimToStarboard);
        Field(out, "fixType", s.fixType);
        Field(out, "etaMonth", s.etaMonth);
        Field(out, "etaDay", s.etaDay);
        Field(out, "etaHour", s.etaHour);
        Field(out, "etaMinute", s.etaMinute);
        Field(out, "draught", s.draught);
        Field(out, "destination", s.destination);
    } else {
        const PositionReport& p = m.position;
        Field(out, "mmsi", p.mmsi);
        Field(out, "navStatus", p.navStatus);
        Field(out, "rateOfTurn", p.rateOfTurn);
        Field(out, "speed", p.speed);
        Field(out, "accuracy", p.accuracy);
        Field(out, "longitude", p.longitude);
        Field(out, "latitude", p.latitude);
        Field(out, "course", p.course);
        Field(out, "heading", p.heading);
        Field(out, "second", p.second);
    }
    Field(out, "fault", FaultName(m.fault));
    out += ",\"tainted\":";
    out += m.tainted ? "true" : "false";
    out += ",\"sentences\":[";
    for (size_t i = 0; i < m.sentences.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        AppendString(out, m.sentences[i]);
    }
    out += "]}";
    return out;
}
