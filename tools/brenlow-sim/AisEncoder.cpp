#include "tools/brenlow-sim/AisEncoder.h"

#include <cstdio>

#include "tools/brenlow-sim/SixBitWriter.h"
#include "tools/common/NmeaChecksum.h"

namespace {

using Kind = MessageField::Kind;

MessageField Unsigned(int64_t value, int bits, const char* name = nullptr) {
    return {Kind::Unsigned, value, {}, bits, name};
}
MessageField Signed(int32_t value, int bits, const char* name) {
    return {Kind::Signed, value, {}, bits, name};
}
MessageField Text(std::string_view text, int count, const char* name) {
    return {Kind::Text, 0, text, count, name};
}

bool Put(SixBitWriter& w, const MessageField& f) {
    switch (f.kind) {
        case Kind::Unsigned:
            return w.PutUnsigned(static_cast<uint32_t>(f.value), f.width);  // negative: no fit
        case Kind::Signed:
            return w.PutSigned(static_cast<int32_t>(f.value), f.width);
        case Kind::Text:
            return w.PutText(f.text, f.width);
    }
    return false;
}

// The fields armoured; false, and `out` untouched, when one does not fit.
bool Armour(const std::vector<MessageField>& fields, ArmouredPayload& out) {
    SixBitWriter w;
    for (const MessageField& f : fields) {
        if (!Put(w, f)) {
            return false;
        }
    }
    out.text = w.Armour();
    out.fillBits = w.FillBits();
    return true;
}

}  // namespace

std::vector<MessageField> MessageFields(const PositionReport& r) {
    return {Unsigned(r.type, 6),
            Unsigned(r.repeat, 2),
            Unsigned(r.mmsi, 30, "mmsi"),
            Unsigned(r.navStatus, 4, "navStatus"),
            Signed(r.rateOfTurn, 8, "rateOfTurn"),
            Unsigned(r.speed, 10, "speed"),
            Unsigned(r.accuracy, 1, "accuracy"),
            Signed(r.longitude, 28, "longitude"),
            Signed(r.latitude, 27, "latitude"),
            Unsigned(r.course, 12, "course"),
            Unsigned(r.heading, 9, "heading"),
            Unsigned(r.second, 6, "second"),
            Unsigned(r.maneuver, 2),
            Unsigned(0, 3),
            Unsigned(r.raim, 1),
            Unsigned(r.radio, 19)};
}

std::vector<MessageField> MessageFields(const StaticReport& r) {
    return {Unsigned(5, 6),
            Unsigned(r.repeat, 2),
            Unsigned(r.mmsi, 30, "mmsi"),
            Unsigned(r.aisVersion, 2),
            Unsigned(r.imoNumber, 30, "imoNumber"),
            Text(r.callSign, 7, "callSign"),
            Text(r.shipName, 20, "shipName"),
            Unsigned(r.shipType, 8, "shipType"),
            Unsigned(r.dimToBow, 9, "dimToBow"),
            Unsigned(r.dimToStern, 9, "dimToStern"),
            Unsigned(r.dimToPort, 6, "dimToPort"),
            Unsigned(r.dimToStarboard, 6, "dimToStarboard"),
            Unsigned(r.fixType, 4, "fixType"),
            Unsigned(r.etaMonth, 4, "etaMonth"),
            Unsigned(r.etaDay, 5, "etaDay"),
            Unsigned(r.etaHour, 5, "etaHour"),
            Unsigned(r.etaMinute, 6, "etaMinute"),
            Unsigned(r.draught, 8, "draught"),
            Text(r.destination, 20, "destination"),
            Unsigned(r.dte, 1),
            Unsigned(0, 1)};
}

bool ArmourPositionReport(const PositionReport& r, ArmouredPayload& out) {
    return r.type >= 1 && r.type <= 3 && Armour(MessageFields(r), out);
}

bool ArmourStaticReport(const StaticReport& r, ArmouredPayload& out) {
    return Armour(MessageFields(r), out);
}

std::vector<std::string> FrameSentences(const ArmouredPayload& payload, bool own, char channel,
                                        int sequenceId) {
    const int length = static_cast<int>(payload.text.size());
    const int total = length == 0 ? 1 : (length + kMaxSentencePayload - 1) / kMaxSentencePayload;
    std::vector<std::string> sentences;
    for (int number = 1; number <= total; ++number) {
        std::string body = own ? "AIVDO," : "AIVDM,";
        body += std::to_string(total) + ',' + std::to_string(number) + ',';
        if (total > 1) {
            body += std::to_string(sequenceId % 10);
        }
        body += ',';
        body += channel;
        body += ',';
        body += payload.text.substr(static_cast<size_t>((number - 1) * kMaxSentencePayload),
                                    kMaxSentencePayload);
        body += ',';
        body += std::to_string(number == total ? payload.fillBits : 0);
        char tail[8];
        std::snprintf(tail, sizeof tail, "*%02X\r\n", NmeaChecksum(body));
        sentences.push_back('!' + body + tail);
    }
    return sentences;
}
