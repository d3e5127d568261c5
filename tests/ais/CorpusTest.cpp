// Real recordings: every AIS message agrees field by field with a reference decode, and the
// fault collection yields exactly the messages a sound decoder keeps.
#include <gtest/gtest.h>

#include <cfloat>
#include <fstream>
#include <regex>
#include <sstream>

#include "ais/AisDecoder.h"
#include "ais/MessageLayouts.h"

namespace {

const std::string kCorpus = BRENLOW_CORPUS_DIR;

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// One value of a line of flat JSON whose keys are unique: a number, or a string unescaped.
std::string Json(const std::string& line, const std::string& key) {
    size_t at = line.find("\"" + key + "\":");
    if (at == std::string::npos) {
        return "";
    }
    at += key.size() + 3;
    if (line[at] != '"') {
        return line.substr(at, line.find_first_of(",}", at) - at);
    }
    std::string out;
    for (++at; line[at] != '"'; ++at) {
        out += line[at] == '\\' ? line[++at] : line[at];
    }
    return out;
}
double Num(const std::string& line, const std::string& key) {
    return std::stod(Json(line, key));
}

struct Decoded {
    size_t line;  // 1-based, of the completing sentence
    uint32_t mmsi;
    DecodedMessage message;
    AisTarget record;
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

// Our texts keep what follows an inner "@"; the reference cuts there.
std::string CutAtFill(std::string text) {
    if (text.find('@') != std::string::npos) {
        text.erase(text.find('@'));
        text.erase(text.find_last_not_of(' ') + 1);
    }
    return text;
}

TEST(Corpus, RealRecordingAgreesWithTheReferenceOnEveryField) {
    const std::vector<Decoded> decoded = DecodeFile(kCorpus + "/real.nmea");
    size_t next = 0;
    int compared = 0;
    for (const std::string& ref : ReadLines(kCorpus + "/expected.jsonl")) {
        const std::string talker = Json(ref, "talker");
        if (talker != "AIVDM" && talker != "AIVDO") {
            continue;  // other talkers are not ours
        }
        SCOPED_TRACE(ref.substr(0, 80));
        ASSERT_LT(next, decoded.size());
        const Decoded& d = decoded[next++];
        EXPECT_EQ(d.line, Num(ref, "line") + Num(ref, "nsentences") - 1);
        EXPECT_EQ(d.message.own, talker == "AIVDO");
        if (ref.find("\"gpsd\":null") != std::string::npos) {
            continue;  // channel C: the reference has no values
        }
        ++compared;
        const AisTarget& t = d.record;
        EXPECT_EQ(d.mmsi, Num(ref, "mmsi"));
        ASSERT_EQ(d.message.type, Num(ref, "type"));
        if (d.message.type == 5) {
            EXPECT_EQ(t.imoNumber, Num(ref, "imo"));
            EXPECT_EQ(t.shipType, Num(ref, "shiptype"));
            EXPECT_EQ(t.dimToBow, Num(ref, "to_bow"));
            EXPECT_EQ(t.dimToStern, Num(ref, "to_stern"));
            EXPECT_EQ(t.dimToPort, Num(ref, "to_port"));
            EXPECT_EQ(t.dimToStarboard, Num(ref, "to_starboard"));
            EXPECT_EQ(t.fixType, Num(ref, "epfd"));
            EXPECT_EQ(t.draught, Num(ref, "draught") * 0.1);
            EXPECT_EQ(CutAtFill(t.callSign), Json(ref, "callsign"));
            EXPECT_EQ(CutAtFill(t.shipName), Json(ref, "shipname"));
            EXPECT_EQ(CutAtFill(t.destination), Json(ref, "destination"));
            const int eta[4] = {
                static_cast<int>(Num(ref, "eta_month")), static_cast<int>(Num(ref, "eta_day")),
                static_cast<int>(Num(ref, "eta_hour")), static_cast<int>(Num(ref, "eta_minute"))};
            char text[32];
            FormatEta(eta, text, sizeof text);
            EXPECT_STREQ(t.etaText, text);
        } else {
            EXPECT_EQ(t.navStatus, Num(ref, "status"));
            const double turn = Num(ref, "turn");
            const double root = turn * 0.21128248468201988;  // 720 deg/min at 127
            EXPECT_EQ(t.rateOfTurn, turn == -128 ? DBL_MAX : root * root);
            EXPECT_EQ(t.speedOverGround, Num(ref, "speed") * 0.1);
            EXPECT_EQ(t.positionAccuracy, Json(ref, "accuracy") == "true" ? 1 : 0);
            EXPECT_EQ(t.latitude, Num(ref, "lat") * 1.6666666666666667e-06);
            EXPECT_EQ(t.longitude, Num(ref, "lon") * 1.6666666666666667e-06);
            const double course = Num(ref, "course");
            EXPECT_EQ(t.courseOverGround, course >= 3600 ? -1.0 : course * 0.1);
            const double heading = Num(ref, "heading");
            EXPECT_EQ(t.trueHeading, heading > 359 ? -1 : heading);
        }
    }
    EXPECT_EQ(next, decoded.size()) << "messages decoded beyond the reference";
    EXPECT_GT(compared, 2900);
}

// type:mmsi of every message the fault cases should yield, from the cases' own notes; case 03
// (a lower-case checksum) takes its alternative, which accepts it.
TEST(Corpus, FaultCollectionYieldsExactlyTheSoundDecodersMessages) {
    std::stringstream readme;
    readme << std::ifstream(kCorpus + "/faults/README.md").rdbuf();
    const std::string text = readme.str();
    std::vector<std::string> expected, got;
    const std::regex header(R"(\n### (\d\d)_)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), header);
         it != std::sregex_iterator(); ++it) {
        const std::string rest = text.substr(it->position() + 1);
        const std::regex item((*it)[1] == "03" ? R"(- Alternative: `([^`]*)`)"
                                               : R"(- Expected: `([^`]*)`)");
        std::smatch m;
        std::regex_search(rest, m, item);
        std::istringstream items(m[1].str());
        for (std::string one; items >> one;) {
            expected.push_back(one);
        }
    }
    for (const Decoded& d : DecodeFile(kCorpus + "/faults.nmea")) {
        got.push_back(std::to_string(d.message.type) + ":" + std::to_string(d.mmsi));
    }
    EXPECT_GT(expected.size(), 40u);
    EXPECT_EQ(got, expected);
}

}  // namespace
