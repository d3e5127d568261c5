// Which lines are taken as AIS sentences, how fields split and how bits are read.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <tuple>

#include "tests/support/PayloadBuilder.h"

namespace {

const std::string kPayload = "13aDoPhP00PCmi<MEl5KoOw025Ip";  // type 1
constexpr uint32_t kMmsi = 244660099;

// The edges of the sentence rules and each outcome, through one decoder in order; the fault
// recordings hold the common faults.
TEST(SentenceIntake, LinesAndWhatBecomesOfThem) {
    using O = SentenceOutcome;
    auto with = [](const std::string& channel) { return Sentence(kPayload, 1, 1, "", channel); };
    const std::string body = "!AIVDM,1,1,,A," + kPayload;
    const std::string good = Sentence(kPayload);
    const std::string voyage = PayloadBuilder(424).Set(1, 6, 5).Set(9, 30, kMmsi).Armoured();
    const std::tuple<std::string, uint32_t, O> cases[] = {
        {Sentence(kPayload, 1, 1, "", "A", 0, "!AIVDMX"), kMmsi, O::Decoded},
        {Sentence(kPayload.substr(0, 23) + std::string(104, '0')), kMmsi, O::Decoded},  // 127
        {with(" ~"), kMmsi, O::Decoded},  // the printable range is 0x20-0x7E
        {with("\x7F"), 0, O::Form},
        {with("\x1F"), 0, O::Form},
        {body + ",0*G0", 0, O::Checksum},
        {std::string(good).replace(14, 1, "3"), 0, O::Checksum},  // payload changed
        {"!AIVDM", 0, O::Checksum},
        {WithChecksum(body), 0, O::Form},                         // no fill bits
        {good.substr(0, good.size() - 2) + " \r\n", 0, O::Form},  // after the checksum
        {Sentence(kPayload, 1, 0), 0, O::Form},
        {Sentence(kPayload, 10, 1), 0, O::Form},
        {Sentence(kPayload, 1, 1, "", "A", 6), 0, O::Form},
        {Sentence(kPayload + "X"), 0, O::Payload},
        {Sentence(kPayload + std::string(100, '0')), 0, O::Length},  // 128 characters
        {Sentence(kPayload, 1, 1, std::string(128, '1')), 0, O::Length},
        {Sentence(kPayload.substr(0, 22)), 0, O::Length},
        {Sentence(""), 0, O::Length},  // not even a type
        {Sentence(PayloadBuilder().Set(1, 6, 4).Armoured()), 0, O::Ignored},
        {Sentence(PayloadBuilder().Set(1, 6, 1).Armoured()), 0, O::NoStation},
        {Sentence(voyage.substr(0, 40), 2, 1, "3"), 0, O::Collected},
        {Sentence(voyage.substr(40), 2, 2, "3", "A", 2), kMmsi, O::Decoded},
        {Sentence(voyage.substr(40), 2, 2, "3", "A", 2), 0, O::Fragment},  // already complete
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n", 0, O::OtherNmea},
        {"$PGHP,1\r\n", 0, O::OtherNmea},
        {"\\s:r1,c:1700000000*1B\\!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*6E\r\n", 0,
         O::OtherNmea},
        {"$G,1\r\n", 0, O::NotNmea},
        {"\\s:r1\r\n", 0, O::NotNmea},
        {"\x9c\xf3\x1e\xe7~\x80 $\r\n", 0, O::NotNmea}};
    AisDecoder decoder;
    std::set<std::string> names;
    for (const auto& [line, mmsi, outcome] : cases) {
        EXPECT_EQ(decoder.DecodeSentence(line), mmsi) << line;
        EXPECT_STREQ(OutcomeName(decoder.LastOutcome()), OutcomeName(outcome)) << line;
        EXPECT_EQ(IsRefusal(decoder.LastOutcome()), outcome >= O::Checksum) << line;
        names.insert(OutcomeName(outcome));
    }
    EXPECT_EQ(names.size(), size_t{kSentenceOutcomeCount}) << "each outcome, each its own name";
    EXPECT_STREQ(OutcomeName(O::NoStation), "no station");
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
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 18, 13), 'G');
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 17, 13), '@') << "not wholly data";
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 18, 14), '@') << "not wholly present";
}

}  // namespace
