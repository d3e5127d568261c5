#include "ais/AisDecoder.h"

#include <algorithm>

#include "ais/MessageLayouts.h"
#include "ais/Sentence.h"

uint32_t AisDecoder::DecodeSentence(std::string_view line) {
    Sentence sentence;
    SentenceOutcome outcome = ParseSentence(line, sentence);
    if (outcome != SentenceOutcome::Decoded)
        return NoRecord(outcome);
    std::string_view text;
    outcome = fragments.Take(sentence, text);
    if (outcome != SentenceOutcome::Decoded)
        return NoRecord(outcome);

    int8_t values[FragmentStore::kTextWidth];
    const size_t count = text.size();  // below kTextWidth by construction
    std::ranges::transform(text, values,
                           [](char c) { return static_cast<int8_t>(SixBitValue(c)); });
    // The completing sentence is the last: its fill bits end the data and read as 0.
    const int bits = static_cast<int>(count) * 6 - sentence.fillBits;
    if (count > 0)
        values[count - 1] =
            static_cast<int8_t>(values[count - 1] >> sentence.fillBits << sentence.fillBits);
    return DecodeMessage(std::span<const int8_t>(values, count), bits, sentence.own);
}

uint32_t AisDecoder::DecodeMessage(std::span<const int8_t> values, int bits, bool own) {
    if (bits < 6)
        return NoRecord(SentenceOutcome::Length);
    const int type = values[0];
    if (type >= 1 && type <= 3)
        return DecodePositionReport(values, bits, type, own);
    if (type == 5)
        return DecodeStaticReport(values, bits, own);
    return NoRecord(SentenceOutcome::Ignored);
}

namespace {

void ApplyLayout(std::span<const LayoutRow> layout, std::span<const int8_t> values, int bits,
                 MessageFields& fields) {
    for (const LayoutRow& row : layout) {
        if (row.store) {
            row.store(fields, AisDecoder::ReadUnsigned(values, row.start, row.length));
        } else if (row.text) {
            AisDecoder::ReadText(values, bits, row.start, row.length / 6, row.text(fields.record));
        }
    }
}

}  // namespace

uint32_t AisDecoder::DecodePositionReport(std::span<const int8_t> values, int bits, int type,
                                          bool own) {
    if (bits < kPositionReportMinBits)
        return NoRecord(SentenceOutcome::Length);
    const uint32_t mmsi = static_cast<uint32_t>(ReadUnsigned(values, 9, 30));
    if (mmsi == 0)  // "no station": a record for it could never be shown
        return NoRecord(SentenceOutcome::NoStation);
    AisTarget* record = this;
    if (own) {
        this->mmsi = mmsi;
        ownVesselKnown = 1;
    } else {
        record = &FindOrCreateTarget(mmsi);
    }
    MessageFields fields{*record};
    ApplyLayout(PositionReportLayout, values, bits, fields);
    lastMessage = {type, own, record};
    lastOutcome = SentenceOutcome::Decoded;
    ++messagesDecoded;
    return mmsi;
}

uint32_t AisDecoder::DecodeStaticReport(std::span<const int8_t> values, int bits, bool own) {
    if (bits < kStaticReportMinBits)
        return NoRecord(SentenceOutcome::Length);
    const uint32_t mmsi = static_cast<uint32_t>(ReadUnsigned(values, 9, 30));
    if (mmsi == 0)
        return NoRecord(SentenceOutcome::NoStation);
    AisTarget* record = own ? this : &FindOrCreateTarget(mmsi);
    MessageFields fields{*record};
    ApplyLayout(StaticReportLayout, values, bits, fields);
    FormatEta(fields.eta, record->etaText, sizeof record->etaText);
    lastMessage = {5, own, record};
    lastOutcome = SentenceOutcome::Decoded;
    ++messagesDecoded;
    return mmsi;
}

AisTarget& AisDecoder::FindOrCreateTarget(uint32_t mmsi) {
    auto [it, inserted] = targetIndex.try_emplace(mmsi, nullptr);
    if (inserted) {
        targets.push_back(std::make_unique<AisTarget>());
        targets.back()->mmsi = mmsi;
        it->second = targets.back().get();
    }
    return *it->second;
}

int AisDecoder::FindTarget(uint32_t mmsi, AisTarget*& out) {
    auto it = targetIndex.find(mmsi);
    if (it == targetIndex.end())
        return 0;
    out = it->second;
    return 1;
}

int AisDecoder::GetOwnVessel(AisTarget*& out) {
    if (ownVesselKnown != 1)
        return 0;
    out = this;
    return 1;
}

void AisDecoder::RemoveAllTargets() {
    targetIndex.clear();
    targets.clear();
}
