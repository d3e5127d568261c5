// Which lines are taken as AIS sentences, how fields split and how bits are read.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <tuple>

#include "tests/support/PayloadBuilder.h"

namespace {

const std::string kPayload = "13aDoPhP00PCmi<MEl5KoOw025Ip";  // type 1
constexpr uint32_t kMmsi = 244660099;

// The edges of the sentence rules; the fault recordings hold the common faults.
TEST(SentenceIntake, LinesAndWhatTheyDecodeTo) {
    auto with = [](const std::string& channel) { return Sentence(kPayload, 1, 1, "", channel); };
    const std::string body = "!AIVDM,1,1,,A," + kPayload;
    const std::pair<std::string, uint32_t> cases[] = {
        {Sentence(kPayload, 1, 1, "", "A", 0, "!AIVDMX"), kMmsi},
        {Sentence(kPayload.substr(0, 23) + std::string(104, '0')), kMmsi},  // 127 characters
        {with(" ~"), kMmsi},  // the printable range is 0x20-0x7E
        {with("\x7F"), 0},
        {with("\x1F"), 0},
        {body + ",0*G0", 0},
        {WithChecksum(body), 0},
        {Sentence(kPayload, 1, 0), 0},
        {Sentence(kPayload, 10, 1), 0},
        {Sentence(kPayload + std::string(100, '0')), 0},  // 128 characters
        {Sentence(kPayload, 1, 1, std::string(128, '1')), 0},
        {"!AIVDM", 0}};
    for (const auto& [line, mmsi] : cases) {
        AisDecoder decoder;
        EXPECT_EQ(decoder.DecodeSentence(line), mmsi) << line;
    }
}

// Lines varied until their checksum ends in `digit`, which is then written in `shown`.
TEST(SentenceIntake, ChecksumDigitsInEitherCase) {
    for (const char* digit = "0123456789ABCDEF"; *digit != '\0'; ++digit) {
        for (int seq = 0; seq < 1000; ++seq) {
            std::string line = Sentence(kPayload, 1, 1, std::to_string(seq));
            char& last = line[line.find('*') + 2];
            if (last != *digit) {
                continue;
            }
            AisDecoder decoder;
            last = static_cast<char>(std::tolower(last));
            EXPECT_EQ(decoder.DecodeSentence(line), kMmsi) << line;
            last = *digit == '0' ? '1' : '0';
            EXPECT_EQ(decoder.DecodeSentence(line), 0u) << line;
            break;
        }
    }
}

// Up to the first separator, and the cursor past it (also past a field too long to copy).
TEST(FieldSplitter, CopiesUpToTheFirstSeparator) {
    for (auto [text, outSize, result, field, next] : {std::tuple{"ab,cd", 8, 2, "ab", 3},
                                                      {",x", 8, 0, "", 1},
                                                      {"ab*cd", 8, 2, "ab", 3},
                                                      {"abc", 8, 0, "", 3},
                                                      {"abcdef,gh", 6, -1, "", 7},
                                                      {"abcde,gh", 6, 5, "abcde", 6}}) {
        char out[8] = "junk";
        const char* cursor = text;
        const char* end = text + std::strlen(text);
        EXPECT_EQ(AisDecoder::NextField(cursor, end, out, outSize, ',', '*'), result) << text;
        EXPECT_STREQ(out, field) << text;
        EXPECT_EQ(cursor - text, next) << text;
    }
}

// Bits beyond the values read as 0; the recordings exercise the rest.
TEST(BitReader, ArmourValuesAndBitsBeyondThePayload) {
    for (auto [ch, value] : {std::pair{'0', 0},
                             {'W', 39},
                             {'`', 40},
                             {'w', 63},
                             {'/', -1},
                             {'X', -1},
                             {'_', -1},
                             {'x', -1},
                             {'\xB7', -1}}) {
        EXPECT_EQ(AisDecoder::SixBitValue(ch), value) << ch;
    }
    const std::vector<int8_t> v = {1, 63, 7};  // 000001 111111 000111
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 16, 6), 0b111000);
    EXPECT_EQ(AisDecoder::ReadUnsigned({}, 1, 30), 0);
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 13), 'G');
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 14), '@') << "not wholly present";
}

}  // namespace
