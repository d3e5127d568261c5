#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "ais/AisDecoder.h"
#include "tests/tools/SimTestSupport.h"
#include "tools/brenlow-sim/AisEncoder.h"
#include "tools/brenlow-sim/SixBitWriter.h"

namespace {

std::vector<std::string> CorpusLines() {
    std::ifstream in(std::string(BRENLOW_CORPUS_DIR) + "/real.nmea");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Fields(const std::string& sentence) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t comma; (comma = sentence.find(',', start)) != std::string::npos;) {
        out.push_back(sentence.substr(start, comma - start));
        start = comma + 1;
    }
    out.push_back(sentence.substr(start));
    return out;
}

// Raw bits of a real payload, read independently of the encoder.
uint32_t RawBits(const std::string& payload, int start, int length) {
    uint32_t value = 0;
    for (int bit = start - 1; bit < start - 1 + length; ++bit) {
        int six = payload[bit / 6] - 48;
        six = six > 40 ? six - 8 : six;
        value = value * 2 + ((six >> (5 - bit % 6)) & 1);
    }
    return value;
}

int32_t Signed(uint32_t raw, int length) {
    return raw >= (1u << (length - 1)) ? static_cast<int32_t>(raw) - (1 << length)
                                       : static_cast<int32_t>(raw);
}

std::string RawText(const std::string& payload, int start, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const int v = static_cast<int>(RawBits(payload, start + 6 * i, 6));
        text += static_cast<char>(v < 32 ? v + 64 : v);
    }
    return text;
}

PositionReport PositionFromPayload(const std::string& p) {
    PositionReport r;
    r.type = static_cast<int>(RawBits(p, 1, 6));
    r.repeat = static_cast<int>(RawBits(p, 7, 2));
    r.mmsi = RawBits(p, 9, 30);
    r.navStatus = static_cast<int>(RawBits(p, 39, 4));
    r.rateOfTurn = Signed(RawBits(p, 43, 8), 8);
    r.speed = static_cast<int>(RawBits(p, 51, 10));
    r.accuracy = static_cast<int>(RawBits(p, 61, 1));
    r.longitude = Signed(RawBits(p, 62, 28), 28);
    r.latitude = Signed(RawBits(p, 90, 27), 27);
    r.course = static_cast<int>(RawBits(p, 117, 12));
    r.heading = static_cast<int>(RawBits(p, 129, 9));
    r.second = static_cast<int>(RawBits(p, 138, 6));
    r.maneuver = static_cast<int>(RawBits(p, 144, 2));
    r.raim = static_cast<int>(RawBits(p, 149, 1));
    r.radio = RawBits(p, 150, 19);
    return r;
}

StaticReport StaticFromPayload(const std::string& p) {
    StaticReport r;
    r.repeat = static_cast<int>(RawBits(p, 7, 2));
    r.mmsi = RawBits(p, 9, 30);
    r.aisVersion = static_cast<int>(RawBits(p, 39, 2));
    r.imoNumber = RawBits(p, 41, 30);
    r.callSign = RawText(p, 71, 7);
    r.shipName = RawText(p, 113, 20);
    r.shipType = static_cast<int>(RawBits(p, 233, 8));
    r.dimToBow = static_cast<int>(RawBits(p, 241, 9));
    r.dimToStern = static_cast<int>(RawBits(p, 250, 9));
    r.dimToPort = static_cast<int>(RawBits(p, 259, 6));
    r.dimToStarboard = static_cast<int>(RawBits(p, 265, 6));
    r.fixType = static_cast<int>(RawBits(p, 271, 4));
    r.etaMonth = static_cast<int>(RawBits(p, 275, 4));
    r.etaDay = static_cast<int>(RawBits(p, 279, 5));
    r.etaHour = static_cast<int>(RawBits(p, 284, 5));
    r.etaMinute = static_cast<int>(RawBits(p, 289, 6));
    r.draught = static_cast<int>(RawBits(p, 295, 8));
    r.destination = RawText(p, 303, 20);
    r.dte = static_cast<int>(RawBits(p, 423, 1));
    return r;
}

TEST(AisEncoderCorpus, ChecksumsOfRealSentencesMatch) {
    const auto lines = CorpusLines();
    ASSERT_GT(lines.size(), 1000u);
    for (size_t i = 0; i < 200; ++i) {
        const std::string& line = lines[i];
        const size_t star = line.rfind('*');
        ASSERT_NE(star, std::string::npos) << line;
        const unsigned expected = std::strtoul(line.substr(star + 1, 2).c_str(), nullptr, 16);
        EXPECT_EQ(NmeaChecksum(std::string_view(line).substr(1, star - 1)), expected) << line;
    }
}

// Re-encoding what a real receiver sent gives back its sentences byte for byte, and the
// decoder reads the same values from both.
TEST(AisEncoderCorpus, RealPositionReportsReEncodeIdentically) {
    const auto lines = CorpusLines();
    for (size_t index : {0u, 1u, 2u, 3u, 2071u}) {  // types 1, 1, 2, 3 and an own report
        const std::string& real = lines[index];
        const auto f = Fields(real);
        const bool own = f[0] == "!AIVDO";
        const PositionReport report = PositionFromPayload(f[5]);
        ArmouredPayload payload;
        ASSERT_TRUE(ArmourPositionReport(report, payload));
        EXPECT_EQ(payload.text, f[5]);
        const auto sentences = FrameSentences(payload, own, f[4][0], 0);
        ASSERT_EQ(sentences.size(), 1u);
        EXPECT_EQ(sentences[0], real + "\r\n");

        AisDecoder decoder;
        ASSERT_EQ(decoder.DecodeSentence(real), report.mmsi);
        ASSERT_NE(decoder.LastMessage().record, nullptr);
        EXPECT_EQ(decoder.LastMessage().own, own);
        ExpectPositionFields(*decoder.LastMessage().record, report);
    }
}

TEST(AisEncoderCorpus, RealTwoSentenceStaticReportReEncodesIdentically) {
    const auto lines = CorpusLines();
    const std::string first = lines[5];  // "!AIVDM,2,1,1,A,..." and its second half
    const std::string second = lines[6];
    const auto f1 = Fields(first);
    const auto f2 = Fields(second);
    const StaticReport report = StaticFromPayload(f1[5] + f2[5]);
    ArmouredPayload payload;
    ASSERT_TRUE(ArmourStaticReport(report, payload));
    EXPECT_EQ(payload.fillBits, 2);
    const auto sentences = FrameSentences(payload, false, f1[4][0], std::atoi(f1[3].c_str()));
    ASSERT_EQ(sentences.size(), 2u);
    EXPECT_EQ(sentences[0], first + "\r\n");
    EXPECT_EQ(sentences[1], second + "\r\n");

    AisDecoder decoder;
    EXPECT_EQ(decoder.DecodeSentence(first), 0u);
    ASSERT_EQ(decoder.DecodeSentence(second), report.mmsi);
    ExpectStaticFields(*decoder.LastMessage().record, report);
}

TEST(AisEncoderFraming, SplitsAtSixtyCharactersWithFillBitsInTheLastSentence) {
    ArmouredPayload payload{std::string(121, '0'), 4};
    const auto s = FrameSentences(payload, false, 'B', 13);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].substr(0, 17), "!AIVDM,3,1,3,B,00");
    EXPECT_NE(s[0].find(std::string(60, '0') + ",0*"), std::string::npos);
    EXPECT_NE(s[1].find(",3,2,3,B," + std::string(60, '0') + ",0*"), std::string::npos);
    EXPECT_NE(s[2].find(",3,3,3,B,0,4*"), std::string::npos);
    for (const std::string& line : s) {
        ASSERT_GE(line.size(), 5u);
        EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
        const size_t star = line.rfind('*');
        const unsigned sum = std::strtoul(line.substr(star + 1, 2).c_str(), nullptr, 16);
        EXPECT_EQ(NmeaChecksum(std::string_view(line).substr(1, star - 1)), sum);
    }
}

TEST(AisEncoderFraming, SingleSentenceHasNoSequenceIdAndOwnUsesVdo) {
    ArmouredPayload payload{std::string(60, 'w'), 0};
    const auto s = FrameSentences(payload, true, 'A', 7);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].substr(0, 16), "!AIVDO,1,1,,A,ww");
}

TEST(AisEncoderFields, MessageLengthsAndFillBits) {
    ArmouredPayload position;
    ASSERT_TRUE(ArmourPositionReport(PositionReport{}, position));
    EXPECT_EQ(position.text.size(), 28u);
    EXPECT_EQ(position.fillBits, 0);
    ArmouredPayload statics;
    ASSERT_TRUE(ArmourStaticReport(StaticReport{}, statics));
    EXPECT_EQ(statics.text.size(), 71u);
    EXPECT_EQ(statics.fillBits, 2);
}

TEST(AisEncoderFields, ValuesThatDoNotFitAreRefused) {
    ArmouredPayload out;
    PositionReport r;
    r.heading = 512;
    EXPECT_FALSE(ArmourPositionReport(r, out));
    r = PositionReport{};
    r.rateOfTurn = 128;
    EXPECT_FALSE(ArmourPositionReport(r, out));
    r = PositionReport{};
    r.latitude = 1 << 26;
    EXPECT_FALSE(ArmourPositionReport(r, out));
    r = PositionReport{};
    r.type = 5;
    EXPECT_FALSE(ArmourPositionReport(r, out));
    r = PositionReport{};
    r.mmsi = 1u << 30;
    EXPECT_FALSE(ArmourPositionReport(r, out));

    StaticReport s;
    s.callSign = "ABCDEFGH";  // eight characters
    EXPECT_FALSE(ArmourStaticReport(s, out));
    s = StaticReport{};
    s.shipName = "lower case";
    EXPECT_FALSE(ArmourStaticReport(s, out));
    s = StaticReport{};
    s.dimToPort = 64;
    EXPECT_FALSE(ArmourStaticReport(s, out));
}

TEST(SixBitWriter, SignedFieldsAreTwosComplementAndTextIsPadded) {
    SixBitWriter w;
    ASSERT_TRUE(w.PutSigned(-1, 6));
    ASSERT_TRUE(w.PutSigned(-32, 6));
    ASSERT_TRUE(w.PutText("A", 3));
    ASSERT_TRUE(w.PutUnsigned(1, 2));
    EXPECT_EQ(w.BitCount(), 32);
    EXPECT_EQ(w.FillBits(), 4);
    // 63, 32, "A" = 1, "@" = 0, "@" = 0, then binary 01 followed by four fill bits.
    EXPECT_EQ(w.Armour(), "wP100@");
    EXPECT_EQ(SixBitWriter::SixBitCode('?'), 63);
    EXPECT_EQ(SixBitWriter::SixBitCode('_'), 31);
    EXPECT_EQ(SixBitWriter::SixBitCode('a'), -1);
    EXPECT_EQ(SixBitWriter::SixBitCode('`'), -1);
}

}  // namespace
