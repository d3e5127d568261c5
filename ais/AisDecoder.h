#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ais/AisTarget.h"
#include "ais/FragmentStore.h"
#include "ais/SentenceOutcome.h"

// What the last non-zero DecodeSentence result came from.
struct DecodedMessage {
    int type = 0;      // 1, 2, 3 or 5
    bool own = false;  // "!AIVDO"
    AisTarget* record = nullptr;
};

// Turns received NMEA lines into station records. Its base part is the own-vessel record.
class AisDecoder : public AisTarget {
public:
    int32_t ownVesselKnown = 0;

    AisDecoder() = default;
    AisDecoder(const AisDecoder&) = delete;
    AisDecoder& operator=(const AisDecoder&) = delete;
    ~AisDecoder() { RemoveAllTargets(); }

    // One received line, usually ending in CR LF. Returns the MMSI of the station whose
    // record a completed message of type 1, 2, 3 or 5 changed, or 0.
    uint32_t DecodeSentence(std::string_view line);

    // Field splitter: copies the text from `cursor` up to the earlier of `separator` and
    // `terminator` into `out` (`outSize` wide) and moves the cursor past it. Returns the
    // length copied; 0 with an empty `out` when neither occurs before `end`; -1 when the
    // field does not fit.
    static int NextField(const char*& cursor, const char* end, char* out, int outSize,
                         char separator, char terminator);
    // Armour de-map: 0..63, or -1 for a character outside the armour alphabet. Inline: it runs
    // twice for every payload character.
    static int SixBitValue(char ch) {
        const int code = static_cast<signed char>(ch);
        if (code >= 48 && code <= 87)
            return code - 48;
        if (code >= 96 && code <= 119)
            return code - 56;
        return -1;
    }

    // Bit readers over the six-bit values of one message; bits are numbered from 1. Bits that
    // the values do not supply read as 0; a text character not wholly within the first `bits`
    // bits (the data, fill bits excluded) reads as "@".
    static int32_t ReadUnsigned(std::span<const int8_t> values, int start, int length);
    static char ReadSixBitChar(std::span<const int8_t> values, int bits, int start);
    static void ReadText(std::span<const int8_t> values, int bits, int start, int count, char* out);

    AisTarget& FindOrCreateTarget(uint32_t mmsi);
    int FindTarget(uint32_t mmsi, AisTarget*& out);
    int GetOwnVessel(AisTarget*& out);
    int IsOwnVessel(uint32_t mmsi) const { return mmsi == this->mmsi ? 1 : 0; }
    int TargetCount() const { return static_cast<int>(targets.size()); }
    void RemoveAllTargets();

    const DecodedMessage& LastMessage() const { return lastMessage; }
    // What became of the line given to the last DecodeSentence call.
    SentenceOutcome LastOutcome() const { return lastOutcome; }
    // Messages decoded so far: tells a caller that sees only lines whether one decoded.
    uint64_t MessagesDecoded() const { return messagesDecoded; }

private:
    uint32_t DecodeMessage(std::span<const int8_t> values, int bits, bool own);
    uint32_t DecodePositionReport(std::span<const int8_t> values, int bits, int type, bool own);
    uint32_t DecodeStaticReport(std::span<const int8_t> values, int bits, bool own);
    // 0, after noting why the line changed no record.
    uint32_t NoRecord(SentenceOutcome outcome) {
        lastOutcome = outcome;
        return 0;
    }

    std::vector<std::unique_ptr<AisTarget>> targets;  // first heard first
    std::unordered_map<uint32_t, AisTarget*> targetIndex;
    FragmentStore fragments;
    DecodedMessage lastMessage;
    SentenceOutcome lastOutcome = SentenceOutcome::NotNmea;
    uint64_t messagesDecoded = 0;
};
