#include "ais/AisDecoder.h"

#include "ais/MessageLayouts.h"
#include "ais/Sentence.h"

uint32_t AisDecoder::DecodeSentence(std::string_view line) {
    Sentence sentence;
    if (!ParseSentence(line, sentence))
        return 0;
    std::string_view text;
    if (!fragments.Take(sentence, text))
        return 0;

    int8_t values[FragmentStore::kTextWidth];
    const size_t count = text.size();  // below kTextWidth by construction
    for (size_t i = 0; i < count; ++i)
        values[i] = static_cast<int8_t>(SixBitValue(text[i]));
    return DecodeMessage(std::span<const int8_t>(values, count), sentence.own);
}

uint32_t AisDecoder::DecodeMessage(std::span<const int8_t> values, bool own) {
    if (values.empty())
        return 0;
    const int type = values[0];
    if (type >= 1 && type <= 3)
        return DecodePositionReport(values, type, own);
    if (type == 5)
        return DecodeStaticReport(values, own);
    return 0;
}

namespace {

void ApplyLayout(std::span<const LayoutRow> layout, std::span<const int8_t> values,
                 MessageFields& fields) {
    for (const LayoutRow& row : layout) {
        if (row.store) {
            row.store(fields, AisDecoder::ReadUnsigned(values, row.start, row.length));
        } else if (row.text) {
            AisDecoder::ReadText(values, row.start, row.length / 6, row.text(fields.record));
        }
    }
}

}  // namespace

uint32_t AisDecoder::DecodePositionReport(std::span<const int8_t> values, int type, bool own) {
    if (values.size() < kPositionReportMinChars)
        return 0;
    const uint32_t mmsi = static_cast<uint32_t>(ReadUnsigned(values, 9, 30));
    if (mmsi == 0)
        return 0;  // "no station": a record for it could never be shown
    AisTarget* record = this;
    if (own) {
        this->mmsi = mmsi;
        ownVesselKnown = 1;
    } else {
        record = &FindOrCreateTarget(mmsi);
    }
    MessageFields fields{*record};
    ApplyLayout(PositionReportLayout, values, fields);
    lastMessage = {type, own, record};
    ++messagesDecoded;
    return mmsi;
}

uint32_t AisDecoder::DecodeStaticReport(std::span<const int8_t> values, bool own) {
    if (values.size() < kStaticReportMinChars)
        return 0;
    const uint32_t mmsi = static_cast<uint32_t>(ReadUnsigned(values, 9, 30));
    if (mmsi == 0)
        return 0;
    AisTarget* record = own ? this : &FindOrCreateTarget(mmsi);
    MessageFields fields{*record};
    ApplyLayout(StaticReportLayout, values, fields);
    FormatEta(fields.eta, record->etaText, sizeof record->etaText);
    lastMessage = {5, own, record};
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
