#include "tools/brenlow-sim/AisEncoder.h"

#include <cstdio>

#include "tools/brenlow-sim/SixBitWriter.h"

bool ArmourPositionReport(const PositionReport& r, ArmouredPayload& out) {
    SixBitWriter w;
    const bool ok =
        w.PutUnsigned(static_cast<uint32_t>(r.type), 6) &&
        w.PutUnsigned(static_cast<uint32_t>(r.repeat), 2) && w.PutUnsigned(r.mmsi, 30) &&
        w.PutUnsigned(static_cast<uint32_t>(r.navStatus), 4) && w.PutSigned(r.rateOfTurn, 8) &&
        w.PutUnsigned(static_cast<uint32_t>(r.speed), 10) &&
        w.PutUnsigned(static_cast<uint32_t>(r.accuracy), 1) && w.PutSigned(r.longitude, 28) &&
        w.PutSigned(r.latitude, 27) && w.PutUnsigned(static_cast<uint32_t>(r.course), 12) &&
        w.PutUnsigned(static_cast<uint32_t>(r.heading), 9) &&
        w.PutUnsigned(static_cast<uint32_t>(r.second), 6) &&
        w.PutUnsigned(static_cast<uint32_t>(r.maneuver), 2) && w.PutUnsigned(0, 3) &&
        w.PutUnsigned(static_cast<uint32_t>(r.raim), 1) && w.PutUnsigned(r.radio, 19);
    if (!ok || r.type < 1 || r.type > 3) {
        return false;
    }
    out.text = w.Armour();
    out.fillBits = w.FillBits();
    return true;
}

bool ArmourStaticReport(const StaticReport& r, ArmouredPayload& out) {
    SixBitWriter w;
    const bool ok =
        w.PutUnsigned(5, 6) && w.PutUnsigned(static_cast<uint32_t>(r.repeat), 2) &&
        w.PutUnsigned(r.mmsi, 30) && w.PutUnsigned(static_cast<uint32_t>(r.aisVersion), 2) &&
        w.PutUnsigned(r.imoNumber, 30) && w.PutText(r.callSign, 7) && w.PutText(r.shipName, 20) &&
        w.PutUnsigned(static_cast<uint32_t>(r.shipType), 8) &&
        w.PutUnsigned(static_cast<uint32_t>(r.dimToBow), 9) &&
        w.PutUnsigned(static_cast<uint32_t>(r.dimToStern), 9) &&
        w.PutUnsigned(static_cast<uint32_t>(r.dimToPort), 6) &&
        w.PutUnsigned(static_cast<uint32_t>(r.dimToStarboard), 6) &&
        w.PutUnsigned(static_cast<uint32_t>(r.fixType), 4) &&
        w.PutUnsigned(static_cast<uint32_t>(r.etaMonth), 4) &&
        w.PutUnsigned(static_cast<uint32_t>(r.etaDay), 5) &&
        w.PutUnsigned(static_cast<uint32_t>(r.etaHour), 5) &&
        w.PutUnsigned(static_cast<uint32_t>(r.etaMinute), 6) &&
        w.PutUnsigned(static_cast<uint32_t>(r.draught), 8) && w.PutText(r.destination, 20) &&
        w.PutUnsigned(static_cast<uint32_t>(r.dte), 1) && w.PutUnsigned(0, 1);
    if (!ok) {
        return false;
    }
    out.text = w.Armour();
    out.fillBits = w.FillBits();
    return true;
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
