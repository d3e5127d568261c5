#include "tools/brenlow-sim/AisEncoder.h"

#include <cstdio>
#include <initializer_list>

#include "tools/brenlow-sim/SixBitWriter.h"

namespace {

// One field of a message: an unsigned or two's complement value `width` bits wide, or text of
// `width` six-bit characters.
struct Field {
    enum class Kind { Unsigned, Signed, Text } kind;
    int64_t value;
    std::string_view text;
    int width;
};

Field Unsigned(int64_t value, int bits) {
    return {Field::Kind::Unsigned, value, {}, bits};
}
Field Signed(int32_t value, int bits) {
    return {Field::Kind::Signed, value, {}, bits};
}
Field Text(std::string_view text, int count) {
    return {Field::Kind::Text, 0, text, count};
}

bool Put(SixBitWriter& w, const Field& f) {
    switch (f.kind) {
        case Field::Kind::Unsigned:
            return w.PutUnsigned(static_cast<uint32_t>(f.value), f.width);  // negative: no fit
        case Field::Kind::Signed:
            return w.PutSigned(static_cast<int32_t>(f.value), f.width);
        case Field::Kind::Text:
            return w.PutText(f.text, f.width);
    }
    return false;
}

// The fields in transmission order, armoured; false, and `out` untouched, when one does not fit.
bool Armour(std::initializer_list<Field> fields, ArmouredPayload& out) {
    SixBitWriter w;
    for (const Field& f : fields) {
        if (!Put(w, f)) {
            return false;
        }
    }
    out.text = w.Armour();
    out.fillBits = w.FillBits();
    return true;
}

}  // namespace

bool ArmourPositionReport(const PositionReport& r, ArmouredPayload& out) {
    return r.type >= 1 && r.type <= 3 &&
           Armour({Unsigned(r.type, 6), Unsigned(r.repeat, 2), Unsigned(r.mmsi, 30),
                   Unsigned(r.navStatus, 4), Signed(r.rateOfTurn, 8), Unsigned(r.speed, 10),
                   Unsigned(r.accuracy, 1), Signed(r.longitude, 28), Signed(r.latitude, 27),
                   Unsigned(r.course, 12), Unsigned(r.heading, 9), Unsigned(r.second, 6),
                   Unsigned(r.maneuver, 2), Unsigned(0, 3), Unsigned(r.raim, 1),
                   Unsigned(r.radio, 19)},
                  out);
}

bool ArmourStaticReport(const StaticReport& r, ArmouredPayload& out) {
    return Armour({Unsigned(5, 6),
                   Unsigned(r.repeat, 2),
                   Unsigned(r.mmsi, 30),
                   Unsigned(r.aisVersion, 2),
                   Unsigned(r.imoNumber, 30),
                   Text(r.callSign, 7),
                   Text(r.shipName, 20),
                   Unsigned(r.shipType, 8),
                   Unsigned(r.dimToBow, 9),
                   Unsigned(r.dimToStern, 9),
                   Unsigned(r.dimToPort, 6),
                   Unsigned(r.dimToStarboard, 6),
                   Unsigned(r.fixType, 4),
                   Unsigned(r.etaMonth, 4),
                   Unsigned(r.etaDay, 5),
                   Unsigned(r.etaHour, 5),
                   Unsigned(r.etaMinute, 6),
                   Unsigned(r.draught, 8),
                   Text(r.destination, 20),
                   Unsigned(r.dte, 1),
                   Unsigned(0, 1)},
                  out);
}

uint8_t NmeaChecksum(std::string_view body) {
    uint8_t sum = 0;
    for (char ch : body) {
        sum ^= static_cast<uint8_t>(ch);
    }
    return sum;
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
