// Real recordings: every AIS message agrees field by field with a reference decode, and the
// fault collection yields exactly the messages a sound decoder keeps.
#include <gtest/gtest.h>

#include <cfloat>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "ais/AisDecoder.h"
#include "tests/support/JsonFields.h"

namespace {

const std::string kCorpus = BRENLOW_CORPUS_DIR;

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

struct Decoded {
    size_t line;  // 1-based, of the completing sentence
    uint32_t mmsi;
    DecodedMessage message;
    AisTarget record;  // as the message left it
};

std::vector<Decoded> DecodeFile(const std::string& path) {
    AisDecoder decoder;
    std::vector<Decoded> out;
    const std::vector<std::string> lines = ReadLines(path);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (const uint32_t mmsi = decoder.DecodeSentence(lines[i])) {
            out.push_back({i + 1, mmsi, decoder.LastMessage(), *decoder.LastMessage().record});
        }
    }
    return out;
}

TEST(Corpus, RealRecordingAgreesWithTheReferenceOnEveryField) {
    const std::vector<std::string> reference = ReadLines(kCorpus + "/expected.jsonl");
    ASSERT_FALSE(reference.empty()) << "corpus missing at " << kCorpus;
    const std::vector<Decoded> decoded = DecodeFile(kCorpus + "/real.nmea");

    size_t next = 0;
    int compared = 0;
    for (const std::string& line : reference) {
        const JsonFields ref(line);
        const std::string talker = *ref.String("talker");
        // Only the "AI" talker is ours; the other talkers of shore networks are not decoded.
        if (talker != "AIVDM" && talker != "AIVDO")
            continue;
        SCOPED_TRACE(line.substr(0, 80));
        ASSERT_LT(next, decoded.size());
        const Decoded& d = decoded[next++];
        const size_t first = static_cast<size_t>(*ref.Number("line"));
        EXPECT_EQ(d.line, first + static_cast<size_t>(*ref.Number("nsentences")) - 1);
        EXPECT_EQ(d.message.own, talker == "AIVDO");
        // The reference skips channel C (secure AIS) and so has no values; we decode it.
        if (line.find("\"gpsd\":null") != std::string::npos)
            continue;
        ++compared;
        const AisTarget& t = d.record;
        EXPECT_EQ(d.mmsi, *ref.Number("mmsi"));
        ASSERT_EQ(d.message.type, *ref.Number("type"));
        if (d.message.type == 5) {
            EXPECT_EQ(t.imoNumber, *ref.Number("imo"));
            EXPECT_EQ(t.shipType, *ref.Number("shiptype"));
            EXPECT_EQ(t.dimToBow, *ref.Number("to_bow"));
            EXPECT_EQ(t.dimToStern, *ref.Number("to_stern"));
            EXPECT_EQ(t.dimToPort, *ref.Number("to_port"));
            EXPECT_EQ(t.dimToStarboard, *ref.Number("to_starboard"));
            EXPECT_EQ(t.fixType, *ref.Number("epfd"));
            EXPECT_EQ(t.draught, *ref.Number("draught") * 0.1);
            // The reference cuts six-bit text at its first "@"; we remove only trailing "@"
            // and blanks, so a text with "@" inside keeps what follows (e.g. "@@J130B").
            for (auto [field, key] : {std::pair{t.callSign, "callsign"},
                                      {t.shipName, "shipname"},
                                      {t.destination, "destination"}}) {
                std::string ours = field;
                const std::string theirs = *ref.String(key);
                if (ours.find('@') != std::string::npos) {
                    ours = ours.substr(0, ours.find('@'));
                    while (!ours.empty() && ours.back() == ' ')
                        ours.pop_back();
                }
                EXPECT_EQ(ours, theirs) << key;
            }
            const int month = static_cast<int>(*ref.Number("eta_month"));
            const int day = static_cast<int>(*ref.Number("eta_day"));
            const int hour = static_cast<int>(*ref.Number("eta_hour"));
            const int minute = static_cast<int>(*ref.Number("eta_minute"));
            static const char* const kMonths[] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
            char eta[32] = "n/a";
            if (month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59) {
                std::snprintf(eta, sizeof eta, "%2d %s  %02d:%02d", day, kMonths[month], hour,
                              minute);
            }
            EXPECT_STREQ(t.etaText, eta);
        } else {
            EXPECT_EQ(t.navStatus, *ref.Number("status"));
            const int turn = static_cast<int>(*ref.Number("turn"));
            const double root = turn * 0.21128248468201988;
            EXPECT_EQ(t.rateOfTurn, turn == -128 ? DBL_MAX : root * root);
            EXPECT_EQ(t.speedOverGround, *ref.Number("speed") * 0.1);
            EXPECT_EQ(t.positionAccuracy, *ref.Bool("accuracy") ? 1 : 0);
            EXPECT_EQ(t.latitude, *ref.Number("lat") * 1.6666666666666667e-06);
            EXPECT_EQ(t.longitude, *ref.Number("lon") * 1.6666666666666667e-06);
            const double course = *ref.Number("course");
            EXPECT_EQ(t.courseOverGround, course >= 3600 ? -1.0 : course * 0.1);
            const double heading = *ref.Number("heading");
            EXPECT_EQ(t.trueHeading, heading > 359 ? -1 : heading);
        }
    }
    EXPECT_EQ(next, decoded.size()) << "messages decoded beyond the reference";
    EXPECT_GT(compared, 2900);
}

// type:mmsi of every message the fault cases should yield, from the cases' own notes.
std::vector<std::string> ExpectedFaultOutput() {
    std::ifstream in(kCorpus + "/faults/README.md");
    std::stringstream text;
    text << in.rdbuf();
    const std::string readme = text.str();
    std::vector<std::string> out;
    const std::regex caseHeader(R"(\n### (\d\d)_)");
    const std::regex expected(R"(- Expected: `([^`]*)`)");
    const std::regex alternative(R"(- Alternative: `([^`]*)`)");
    for (auto it = std::sregex_iterator(readme.begin(), readme.end(), caseHeader);
         it != std::sregex_iterator(); ++it) {
        const std::string rest = readme.substr(it->position() + 1);
        std::smatch e, a;
        std::regex_search(rest, e, expected);
        std::regex_search(rest, a, alternative);
        // Case 03: a lower-case hex checksum is accepted.
        std::istringstream items((*it)[1] == "03" ? a[1].str() : e[1].str());
        for (std::string item; items >> item;)
            out.push_back(item);
    }
    return out;
}

TEST(Corpus, FaultCollectionYieldsExactlyTheSoundDecodersMessages) {
    const std::vector<std::string> expected = ExpectedFaultOutput();
    ASSERT_GT(expected.size(), 40u);
    std::vector<std::string> got;
    for (const Decoded& d : DecodeFile(kCorpus + "/faults.nmea")) {
        got.push_back(std::to_string(d.message.type) + ":" + std::to_string(d.mmsi));
    }
    EXPECT_EQ(got, expected);
}

}  // namespace
