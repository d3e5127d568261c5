// Real recordings: every AIS message agrees field by field with a reference decode, and the
// fault collection yields exactly the messages a sound decoder keeps.
#include <gtest/gtest.h>

#include <cfloat>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "ais/AisDecoder.h"
#include "ais/MessageLayouts.h"

namespace {

const std::string kCorpus = BRENLOW_CORPUS_DIR;

// One value of a line of flat JSON whose keys are unique: a number, or a string unescaped.
std::string Json(const std::string& line, const std::string& key) {
    size_t at = line.find("\"" + key + "\":");
    if (at == std::string::npos)
        return "";
    at += key.size() + 3;
    if (line[at] != '"')
        return line.substr(at, line.find_first_of(",}", at) - at);
    std::string out;
    for (++at; line[at] != '"'; ++at)
        out += line[at] == '\\' ? line[++at] : line[at];
    return out;
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
    std::ifstream in(path, std::ios::binary);
    std::string line;
    for (size_t number = 1; std::getline(in, line); ++number)
        if (const uint32_t mmsi = decoder.DecodeSentence(line))
            out.push_back({number, mmsi, decoder.LastMessage(), *decoder.LastMessage().record});
    return out;
}

// The recordings are not the project's own: they are read where the build was told.
class Corpus : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::is_regular_file(kCorpus + "/real.nmea"))
            << "no recordings in " << kCorpus << ": put the shared corpus there (see README), "
            << "or configure with -DBRENLOW_CORPUS_DIR=<the folder that holds real.nmea>";
    }
};

// Our texts keep what follows an inner "@"; the reference cuts there.
std::string CutAtFill(std::string text) {
    if (const size_t at = text.find('@'); at != std::string::npos)
        text.erase(at).erase(text.find_last_not_of(' ') + 1);
    return text;
}

TEST_F(Corpus, RealRecordingAgreesWithTheReferenceOnEveryField) {
    const std::vector<Decoded> decoded = DecodeFile(kCorpus + "/real.nmea");
    size_t next = 0;
    int compared = 0;
    std::ifstream reference(kCorpus + "/expected.jsonl", std::ios::binary);
    for (std::string ref; std::getline(reference, ref);) {
        const std::string talker = Json(ref, "talker");
        if (talker != "AIVDM" && talker != "AIVDO")
            continue;  // other talkers are not ours
        SCOPED_TRACE(ref.substr(0, 80));
        const auto n = [&](const char* key) { return std::stod(Json(ref, key)); };
        ASSERT_LT(next, decoded.size());
        const Decoded& d = decoded[next++];
        EXPECT_EQ(d.line, n("line") + n("nsentences") - 1);
        EXPECT_EQ(d.message.own, talker == "AIVDO");
        if (ref.find("\"gpsd\":null") != std::string::npos)
            continue;  // channel C: the reference has no values
        ++compared;
        const AisTarget& t = d.record;
        EXPECT_EQ(d.mmsi, n("mmsi"));
        ASSERT_EQ(d.message.type, n("type"));
        if (d.message.type == 5) {
            const int eta[4] = {int(n("eta_month")), int(n("eta_day")), int(n("eta_hour")),
                                int(n("eta_minute"))};
            char text[32];
            FormatEta(eta, text, sizeof text);
            EXPECT_EQ(std::make_tuple(t.imoNumber, t.shipType, t.dimToBow, t.dimToStern,
                                      t.dimToPort, t.dimToStarboard, t.fixType, t.draught,
                                      CutAtFill(t.callSign), CutAtFill(t.shipName),
                                      CutAtFill(t.destination), std::string(t.etaText)),
                      std::make_tuple(
                          n("imo"), n("shiptype"), n("to_bow"), n("to_stern"), n("to_port"),
                          n("to_starboard"), n("epfd"), n("draught") * 0.1, Json(ref, "callsign"),
                          Json(ref, "shipname"), Json(ref, "destination"), std::string(text)));
        } else {
            const double turn = n("turn"), root = turn * 0.21128248468201988;  // 720 at 127
            const double course = n("course"), heading = n("heading"), unit = 1 / 600000.0;
            EXPECT_EQ(std::tie(t.navStatus, t.rateOfTurn, t.speedOverGround, t.positionAccuracy,
                               t.latitude, t.longitude, t.courseOverGround, t.trueHeading),
                      std::make_tuple(
                          n("status"), turn == -128 ? DBL_MAX : root * root, n("speed") * 0.1,
                          Json(ref, "accuracy") == "true" ? 1 : 0, n("lat") * unit, n("lon") * unit,
                          course >= 3600 ? -1.0 : course * 0.1, heading > 359 ? -1 : heading));
        }
    }
    EXPECT_EQ(next, decoded.size()) << "messages decoded beyond the reference";
    EXPECT_GT(compared, 2900);
}

// type:mmsi of every message the fault cases should yield, from the cases' own notes; case 03
// (a lower-case checksum) takes its alternative, which accepts it.
TEST_F(Corpus, FaultCollectionYieldsExactlyTheSoundDecodersMessages) {
    std::vector<std::string> expected, got;
    std::ifstream notes(kCorpus + "/faults/README.md", std::ios::binary);
    for (std::string line, number; std::getline(notes, line);) {
        if (line.starts_with("### "))
            number = line.substr(4, 2);
        const std::string item = number == "03" ? "- Alternative: `" : "- Expected: `";
        if (line.starts_with(item)) {
            std::istringstream items(
                line.substr(item.size(), line.find('`', item.size()) - item.size()));
            for (std::string one; items >> one;)
                expected.push_back(one);
        }
    }
    for (const Decoded& d : DecodeFile(kCorpus + "/faults.nmea"))
        got.push_back(std::to_string(d.message.type) + ":" + std::to_string(d.mmsi));
    EXPECT_GT(expected.size(), 40u);
    EXPECT_EQ(got, expected);
}

}  // namespace
