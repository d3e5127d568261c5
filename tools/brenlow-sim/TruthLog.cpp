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
    // The fields the log names, in transmission order.
    for (const MessageField& f :
         m.type == 5 ? MessageFields(m.statics) : MessageFields(m.position)) {
        if (f.name == nullptr) {
            continue;
        }
        if (f.kind == MessageField::Kind::Text) {
            Field(out, f.name, f.text);
        } else {
            Field(out, f.name, f.value);
        }
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
