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
    std::vector<std::tuple<std::string, uint32_t, O>> cases = {
        {Sentence(kPayload, 1, 1, "", "A", 0, "!AIVDMX"), kMmsi, O::Decoded},
        {Sentence(kPayload.substr(0, 23) + std::string(104, '0')), kMmsi, O::Decoded},  // 127
        {std::string(good).replace(14, 1, "3"), 0, O::Checksum},     // payload changed
        {good.substr(0, good.size() - 2) + " \r\n", 0, O::Form},     // after the checksum
        {Sentence(kPayload + std::string(100, '0')), 0, O::Length},  // 128 characters
        {Sentence(kPayload, 1, 1, std::string(128, '1')), 0, O::Length},
        {Sentence(PayloadBuilder().Set(1, 6, 4).Armoured()), 0, O::Ignored},
        {Sentence(PayloadBuilder().Set(1, 6, 1).Armoured()), 0, O::NoStation},
        {Sentence(voyage.substr(0, 40), 2, 1, "3"), 0, O::Collected},
        {Sentence(voyage.substr(40), 2, 2, "3", "A", 2), kMmsi, O::Decoded},
        {Sentence(voyage.substr(40), 2, 2, "3", "A", 2), 0, O::Fragment},  // already complete
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n", 0, O::OtherNmea},
        {"\\s:r1,c:1700000000*1B\\!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*6E\r\n", 0,
         O::OtherNmea}};
    // Also the printable range (0x20-0x7E), no fill bits, not even a type, the shortest
    // sentence with a checksum, the shortest and longest other address (and one too long),
    // bytes after a checksum, a "u" that is no digit though 5 * 16 + 30 would be the sum (and a
    // "G" though 1 * 16 - 1 would), an empty or overlong count, a bad checksum after a good one, a
    // type and nothing more.
    const std::tuple<std::string, uint32_t, O> edges[] = {
        {with("\x7F"), 0, O::Form},
        {body + ",0*G0", 0, O::Checksum},
        {with("\x1F"), 0, O::Form},
        {WithChecksum(body), 0, O::Form},
        {"!AIVDM", 0, O::Checksum},
        {Sentence(kPayload, 1, 0), 0, O::Form},
        {"$G,1\r\n", 0, O::NotNmea},
        {Sentence(kPayload, 10, 1), 0, O::Form},
        {Sentence(""), 0, O::Length},
        {Sentence(kPayload + "X"), 0, O::Payload},
        {"\\s:r1\r\n", 0, O::NotNmea},
        {Sentence(kPayload.substr(0, 22)), 0, O::Length},
        {with(" ~"), kMmsi, O::Decoded},
        {Sentence(kPayload, 1, 1, "", "A", 6), 0, O::Form},
        {"$PGHP,1\r\n", 0, O::OtherNmea},
        {"\x9c\xf3\x1e\xe7~\x80 $\r\n", 0, O::NotNmea},
        {"!AIVDM*00\r\n", 0, O::Checksum},
        {"$Z9,1\r\n", 0, O::OtherNmea},
        {body + ",0*00 \r\n", 0, O::Form},
        {"$ABCDEFGH,1\r\n", 0, O::OtherNmea},
        {"$ABCDEFGHI,1\r\n", 0, O::NotNmea},
        {body + ",0*5u", 0, O::Checksum},
        {"!AIVDM,1,1,a,A," + kPayload + ",0*1G\r\n", 0, O::Checksum},
        {WithChecksum("!AIVDM,1,,,A," + kPayload + ",0"), 0, O::Form},
        {WithChecksum("!AIVDM," + std::string(128, '1') + ",1,,A," + kPayload + ",0"), 0,
         O::Length},
        {good.substr(0, good.size() - 2) + "*ZZ\r\n", 0, O::Checksum},
        {good.substr(0, good.size() - 2) + "*\r\n", 0, O::Form},
        {Sentence("4"), 0, O::Ignored}};
    cases.insert(cases.end(), std::begin(edges), std::end(edges));
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
    decoder.DecodeSentence(std::string_view("$AB,1", 3));
    EXPECT_EQ(decoder.LastOutcome(), O::NotNmea) << "nothing past a line's end is read";
}

// Every digit a checksum ends in, in either case; a wrong one is refused.
TEST(SentenceIntake, ChecksumDigitsInEitherCase) {
    std::set<char> digits;
    for (int seq = 0; seq < 1000; ++seq) {
        std::string line = Sentence(kPayload, 1, 1, std::to_string(seq));
        if (char& last = line[line.size() - 3]; digits.insert(last).second) {
            last = static_cast<char>(std::tolower(last));
            EXPECT_EQ(AisDecoder().DecodeSentence(line), kMmsi) << line;
            last = last == '0' ? '1' : '0';
            EXPECT_EQ(AisDecoder().DecodeSentence(line), 0u) << line;
        }
    }
    EXPECT_EQ(digits.size(), 16u);
}

// The field splitter copies up to the first separator and moves the cursor past it (also past
// a field too long to copy). Bits beyond the values read as 0; the recordings exercise the rest.
TEST(Primitives, FieldSplitterAndBitReader) {
    const std::tuple<const char*, int, int, const char*, int> cases[] = {
        {"ab,cd", 8, 2, "ab", 3}, {",x", 8, 0, "", 1},         {"ab*cd", 8, 2, "ab", 3},
        {"abc", 8, 0, "", 3},     {"abcdef,gh", 6, -1, "", 7}, {"abcde,gh", 6, 5, "abcde", 6}};
    for (auto [text, outSize, result, field, next] : cases) {
        char out[8] = "junk";
        const char* cursor = text;
        const char* end = text + std::strlen(text);
        EXPECT_EQ(AisDecoder::NextField(cursor, end, out, outSize, ',', '*'), result) << text;
        EXPECT_STREQ(out, field) << text;
        EXPECT_EQ(cursor - text, next) << text;
    }
    const std::pair<char, int> six[] = {{'0', 0},  {'W', 39}, {'`', 40}, {'w', 63},   {'/', -1},
                                        {'X', -1}, {'_', -1}, {'x', -1}, {'\xB7', -1}};
    for (auto [ch, value] : six)
        EXPECT_EQ(AisDecoder::SixBitValue(ch), value) << ch;
    const std::vector<int8_t> v = {1, 63, 7};  // 000001 111111 000111
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 16, 6), 0b111000);
    EXPECT_EQ(AisDecoder::ReadUnsigned({}, 1, 30), 0);
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 18, 13), 'G');
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 17, 13), '@') << "not wholly data";
    EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 18, 14), '@') << "not wholly present";
}

}  // namespace
