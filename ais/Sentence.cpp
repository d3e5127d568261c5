#include "ais/Sentence.h"

#include <algorithm>

#include "ais/AisDecoder.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A single decimal digit within [low, high], or -1.
int Digit(const char* field, int length, int low, int high) {
    if (length != 1 || field[0] < '0' || field[0] > '9')
        return -1;
    int value = field[0] - '0';
    return value >= low && value <= high ? value : -1;
}

// Not AIS, but addressed like NMEA: "$" or "!", two to eight upper-case letters or digits
// (talker and type, or a proprietary "$P..."), ","; also behind a tag block ("\\...\\$...").
// The port's judge tells a receiver at the wrong speed by these.
SentenceOutcome NotAis(std::string_view line) {
    if (line.size() > 1 && line[0] == '\\') {
        const size_t close = line.find('\\', 1);
        return close == std::string_view::npos ? SentenceOutcome::NotNmea
                                               : NotAis(line.substr(close + 1));
    }
    if (line.empty() || (line[0] != '$' && line[0] != '!'))
        return SentenceOutcome::NotNmea;
    size_t i = 1;
    while (i < line.size() && i <= 9 &&
           ((line[i] >= 'A' && line[i] <= 'Z') || (line[i] >= '0' && line[i] <= '9')))
        ++i;
    return i >= 3 && i <= 9 && i < line.size() && line[i] == ',' ? SentenceOutcome::OtherNmea
                                                                 : SentenceOutcome::NotNmea;
}

// No "*hh" at the end: bytes after an earlier one are a form fault, else it is missing.
SentenceOutcome NoChecksumAtEnd(const char* begin, const char* end) {
    for (const char* p = end - 3; p >= begin; --p) {
        if (*p == '*')
            return HexDigit(p[1]) >= 0 && HexDigit(p[2]) >= 0 ? SentenceOutcome::Form
                                                              : SentenceOutcome::Checksum;
    }
    return SentenceOutcome::Checksum;
}

}  // namespace

int AisDecoder::NextField(const char*& cursor, const char* end, char* out, int outSize,
                          char separator, char terminator) {
    const char* p = cursor;
    while (p < end && *p != separator && *p != terminator)
        ++p;
    if (p == end) {
        out[0] = '\0';
        cursor = end;
        return 0;
    }
    const int length = static_cast<int>(p - cursor);
    if (length >= outSize) {
        out[0] = '\0';
        cursor = p + 1;
        return -1;
    }
    std::copy_n(cursor, length, out);
    out[length] = '\0';
    cursor = p + 1;
    return length;
}

SentenceOutcome ParseSentence(std::string_view line, Sentence& out) {
    using O = SentenceOutcome;
    size_t length = line.size();
    while (length > 0 && (line[length - 1] == '\r' || line[length - 1] == '\n'))
        --length;
    const char* begin = line.data();
    const char* end = begin + length;

    if (length < 6 || line.substr(0, 5) != "!AIVD" || (line[5] != 'M' && line[5] != 'O'))
        return NotAis(line.substr(0, length));
    // Checksum: "*hh" closes the sentence; nothing but CR and LF may follow. The six characters
    // of "!AIVDM" hold no "*", so end[-3] is always within the line.
    if (end[-3] != '*')
        return NoChecksumAtEnd(begin, end);
    const int high = HexDigit(end[-2]);
    const int low = HexDigit(end[-1]);
    if (high < 0 || low < 0)
        return NoChecksumAtEnd(begin, end);
    const char* star = end - 3;
    unsigned sum = 0;
    for (const char* p = begin + 1; p < star; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c > 0x7E || c == '*')
            return O::Form;  // NMEA is printable ASCII
        sum ^= c;
    }
    if (sum != static_cast<unsigned>(high * 16 + low))
        return O::Checksum;

    out.own = line[5] == 'O';
    char field[Sentence::kFieldWidth];
    const char* cursor = begin;
    // Fields 1-6 end at ",", the fill bits at "*".
    if (AisDecoder::NextField(cursor, star, field, sizeof field, ',', '*') < 0)
        return O::Length;
    const int totalLength = AisDecoder::NextField(cursor, star, field, sizeof field, ',', '*');
    out.total = Digit(field, totalLength, 1, 9);
    const int numberLength = AisDecoder::NextField(cursor, star, field, sizeof field, ',', '*');
    out.number = Digit(field, numberLength, 1, out.total);
    if (totalLength < 0 || numberLength < 0)
        return O::Length;
    if (out.total < 0 || out.number < 0)
        return O::Form;
    if (AisDecoder::NextField(cursor, star, out.seqId, sizeof out.seqId, ',', '*') < 0 ||
        AisDecoder::NextField(cursor, star, out.channel, sizeof out.channel, ',', '*') < 0) {
        return O::Length;
    }
    out.payloadLength =
        AisDecoder::NextField(cursor, star, out.payload, sizeof out.payload, ',', '*');
    if (out.payloadLength < 0)
        return O::Length;
    if (cursor == star)
        return O::Form;
    for (int i = 0; i < out.payloadLength; ++i) {
        if (AisDecoder::SixBitValue(out.payload[i]) < 0)
            return O::Payload;
    }
    // The fill bits are the last field: everything from here to the "*".
    const int fillLength = static_cast<int>(star - cursor);
    out.fillBits = Digit(cursor, fillLength, 0, 5);
    return out.fillBits >= 0 ? O::Decoded : O::Form;
}
