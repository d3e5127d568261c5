#pragma once

#include <string_view>

#include "ais/SentenceOutcome.h"

// One "!AIVDM"/"!AIVDO" sentence whose form, checksum and payload have been verified.
struct Sentence {
    static constexpr int kFieldWidth = 128;  // 127 characters and a NUL

    bool own = false;  // "!AIVDO"
    int total = 0;     // 1..9
    int number = 0;    // 1..total
    int fillBits = 0;  // 0..5
    char seqId[kFieldWidth];
    char channel[kFieldWidth];
    char payload[kFieldWidth];
    int payloadLength = 0;
};

// Takes `line` apart. Decoded (nothing against it) only for a well-formed AIS sentence: the
// address "!AIVDM" or "!AIVDO", total and number 1..9 with number <= total, a payload of armour
// characters only, fill bits 0..5, then "*" and two hex digits (either case) equal to the XOR of
// the printable ASCII characters between "!" and "*", followed by nothing but CR and LF. No field
// longer than 127 characters. Otherwise the reason: NotNmea, OtherNmea or a refusal.
SentenceOutcome ParseSentence(std::string_view line, Sentence& out);
