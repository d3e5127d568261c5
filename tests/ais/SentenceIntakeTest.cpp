// Which lines are taken as AIS sentences, and which are refused untouched.
#include <gtest/gtest.h>

#include "ais/AisDecoder.h"
#include "tests/support/PayloadBuilder.h"

namespace {

const std::string kPayload = "13aDoPhP00PCmi<MEl5KoOw025Ip";  // type 1
constexpr uint32_t kMmsi = 244660099;

std::string ReplaceChecksum(std::string line, const char* hex) {
    const size_t star = line.find('*');
    return line.replace(star + 1, 2, hex);
}

TEST(SentenceIntake, WellFormedSentenceIsDecodedWithOrWithoutLineEnd) {
    AisDecoder decoder;
    const std::string line = Sentence(kPayload, 1, 1, "", "B");
    EXPECT_EQ(decoder.DecodeSentence(line), kMmsi);
    EXPECT_EQ(decoder.DecodeSentence(line.substr(0, line.size() - 2)), kMmsi);
    EXPECT_EQ(decoder.DecodeSentence(line.substr(0, line.size() - 2) + "\n"), kMmsi);
    EXPECT_EQ(decoder.DecodeSentence(line + "\r\n"), kMmsi);
}

TEST(SentenceIntake, ChecksumMustMatchInEitherCase) {
    AisDecoder decoder;
    const std::string line = Sentence(kPayload);
    const std::string hex = line.substr(line.find('*') + 1, 2);
    std::string lower = hex;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(c));
    EXPECT_EQ(decoder.DecodeSentence(ReplaceChecksum(line, lower.c_str())), kMmsi);

    std::string wrong = hex;
    wrong[1] = wrong[1] == '0' ? '1' : '0';
    EXPECT_EQ(decoder.DecodeSentence(ReplaceChecksum(line, wrong.c_str())), 0u);
    EXPECT_EQ(decoder.DecodeSentence(ReplaceChecksum(line, "G0")), 0u);
}

TEST(SentenceIntake, MissingOrMalformedTailIsRefused) {
    AisDecoder decoder;
    const std::string line = Sentence(kPayload);
    const size_t star = line.find('*');
    const std::string checksum = line.substr(star, 3);
    EXPECT_EQ(decoder.DecodeSentence(line.substr(0, star)), 0u) << "no checksum";
    EXPECT_EQ(decoder.DecodeSentence(line.substr(0, star + 2)), 0u) << "one hex digit";
    EXPECT_EQ(decoder.DecodeSentence(line.substr(0, star) + checksum + "  \r\n"), 0u)
        << "blanks after the checksum";
    EXPECT_EQ(decoder.DecodeSentence(line.substr(0, star) + checksum + ",d-080\r\n"), 0u)
        << "fields after the checksum";
    EXPECT_EQ(decoder.DecodeSentence(line.substr(0, 20)), 0u) << "cut mid-payload";
    // The fill-bits field is mandatory: a payload running straight into "*" is refused.
    EXPECT_EQ(decoder.DecodeSentence(WithChecksum("!AIVDM,1,1,,A," + kPayload)), 0u);
}

TEST(SentenceIntake, OnlyTheUpperCaseAiTalkerIsTaken) {
    AisDecoder decoder;
    for (const char* address : {"!BSVDM", "!ABVDM", "!aivdm", "!AIVDX", "$AIVDM", "!AIVDQ"}) {
        EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 1, 1, "", "A", 0, address)), 0u)
            << address;
    }
    EXPECT_EQ(decoder.DecodeSentence("\\s:rORBCOMM,c:1*55\\" + Sentence(kPayload)), 0u);
    EXPECT_EQ(decoder.DecodeSentence(std::string("\0\0", 2) + Sentence(kPayload)), 0u);
    // The address field is recognised by its first six characters.
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 1, 1, "", "A", 0, "!AIVDMX")), kMmsi);
}

TEST(SentenceIntake, ByteOutsidePrintableAsciiRefusesTheLine) {
    AisDecoder decoder;
    const std::string line = Sentence(kPayload);
    // A NUL does not change the XOR; two equal high bytes cancel: only the bytes tell.
    std::string withNul = line;
    withNul.insert(20, 1, '\0');
    EXPECT_EQ(decoder.DecodeSentence(withNul), 0u);
    std::string withPair = line;
    withPair.insert(20, "\xFF\xFF");
    EXPECT_EQ(decoder.DecodeSentence(withPair), 0u);
    std::string withTab = line;
    withTab.insert(8, "\t\t");
    EXPECT_EQ(decoder.DecodeSentence(withTab), 0u);
}

TEST(SentenceIntake, PayloadCharacterOutsideTheArmourIsRefused) {
    AisDecoder decoder;
    for (char bad : {'X', '_', '^', '!', 'x', '~'}) {
        std::string payload = kPayload;
        payload[10] = bad;
        EXPECT_EQ(decoder.DecodeSentence(Sentence(payload)), 0u) << bad;
    }
    EXPECT_EQ(AisDecoder::SixBitValue('0'), 0);
    EXPECT_EQ(AisDecoder::SixBitValue('W'), 39);
    EXPECT_EQ(AisDecoder::SixBitValue('`'), 40);
    EXPECT_EQ(AisDecoder::SixBitValue('w'), 63);
    EXPECT_EQ(AisDecoder::SixBitValue('X'), -1);
    EXPECT_EQ(AisDecoder::SixBitValue('\xB7'), -1);
}

TEST(SentenceIntake, FieldRangesAreChecked) {
    AisDecoder decoder;
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 1, 1, "", "A", 5)), kMmsi);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 1, 1, "", "A", 6)), 0u) << "fill 6";
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 0, 1)), 0u) << "total 0";
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 1, 0)), 0u) << "number 0";
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 1, 2)), 0u) << "number above total";
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 10, 1)), 0u) << "total 10";
    EXPECT_EQ(decoder.DecodeSentence(WithChecksum("!AIVDM,x,1,,A," + kPayload + ",0")), 0u);
    EXPECT_EQ(decoder.DecodeSentence(WithChecksum("!AIVDM,1,1,,A," + kPayload + ",")), 0u)
        << "empty fill bits";
    EXPECT_EQ(decoder.DecodeSentence(WithChecksum("!AIVDM,1,1,,A," + kPayload + ",0,0")), 0u)
        << "an extra field";
}

TEST(SentenceIntake, FieldsLongerThan127CharactersRefuseTheSentence) {
    AisDecoder decoder;
    std::string longPayload;
    while (longPayload.size() < 128)
        longPayload += kPayload;
    longPayload.resize(128);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(longPayload)), 0u);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(longPayload.substr(0, 127))), kMmsi);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(kPayload, 1, 1, std::string(128, '1'))), 0u);
    // Two thousand characters of sentences run together: refused, nothing overflows.
    std::string runTogether;
    while (runTogether.size() < 2000)
        runTogether += Sentence(kPayload).substr(0, 50);
    EXPECT_EQ(decoder.DecodeSentence(runTogether), 0u);
}

TEST(SentenceIntake, LinesThatAreNotSentencesLeaveACollectionUntouched) {
    AisDecoder decoder;
    PayloadBuilder message(424);
    message.Set(1, 6, 5).Set(9, 30, 211000001);
    const std::string payload = message.Armoured();
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload.substr(0, 60), 2, 1, "3", "A")), 0u);
    for (const char* noise : {"", "\r\n", "$GPGGA,213950.00,5250.53669,N,00542.34920,E*7B",
                              "garbage", "!AIVDM,2,2,3,A,00,0*00"}) {
        EXPECT_EQ(decoder.DecodeSentence(noise), 0u);
    }
    EXPECT_EQ(decoder.DecodeSentence(Sentence(payload.substr(60), 2, 2, "3", "A", 2)), 211000001u);
}

TEST(SentenceIntake, EmptyPayloadAndUndecodedTypesGiveZero) {
    AisDecoder decoder;
    EXPECT_EQ(decoder.DecodeSentence(Sentence("")), 0u);
    PayloadBuilder type4;
    type4.Set(1, 6, 4).Set(9, 30, 2190047);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(type4.Armoured())), 0u);
    PayloadBuilder type18;
    type18.Set(1, 6, 18).Set(9, 30, 244630386);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(type18.Armoured())), 0u);
    EXPECT_EQ(decoder.TargetCount(), 0);
}

}  // namespace
