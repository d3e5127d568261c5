#include "ais/FragmentStore.h"

#include <algorithm>
#include <cstring>

namespace {

bool SameText(const char* a, int aLength, const char* b) {
    return std::strlen(b) == static_cast<size_t>(aLength) && std::memcmp(a, b, aLength) == 0;
}

}  // namespace

FragmentStore::Collection* FragmentStore::Find(const Sentence& s) {
    for (Collection& c : collections) {
        if (c.used && c.own == s.own && SameText(c.seqId, c.seqIdLength, s.seqId) &&
            SameText(c.channel, c.channelLength, s.channel)) {
            return &c;
        }
    }
    return nullptr;
}

FragmentStore::Collection& FragmentStore::Start(const Sentence& s) {
    Collection* slot = Find(s);
    if (!slot) {
        for (Collection& c : collections) {
            if (!c.used || Stale(c)) {
                slot = &c;
                break;
            }
        }
    }
    if (!slot)  // all busy: give up the one waiting longest
        slot = &*std::ranges::min_element(collections, {}, &Collection::lastSentence);
    slot->used = true;
    slot->own = s.own;
    slot->total = s.total;
    slot->fragmentCount = 0;
    slot->length = 0;
    slot->seqIdLength = static_cast<int>(std::strlen(s.seqId));
    std::memcpy(slot->seqId, s.seqId, sizeof slot->seqId);
    slot->channelLength = static_cast<int>(std::strlen(s.channel));
    std::memcpy(slot->channel, s.channel, sizeof slot->channel);
    return *slot;
}

SentenceOutcome FragmentStore::Take(const Sentence& s, std::string_view& text) {
    ++sentenceCount;
    if (s.total == 1) {
        text = std::string_view(s.payload, s.payloadLength);
        return SentenceOutcome::Decoded;
    }
    Collection* c = nullptr;
    if (s.number == 1) {
        c = &Start(s);
    } else {
        c = Find(s);
        if (!c)
            return SentenceOutcome::Fragment;
        if (Stale(*c) || s.number != c->fragmentCount + 1 || s.total != c->total) {
            c->used = false;
            return SentenceOutcome::Fragment;
        }
    }
    if (c->length + s.payloadLength >= kTextWidth) {
        c->used = false;
        return SentenceOutcome::Length;
    }
    std::memcpy(c->fragmentText + c->length, s.payload, s.payloadLength);
    c->length += s.payloadLength;
    c->fragmentText[c->length] = '\0';
    c->fragmentCount += 1;
    c->lastSentence = sentenceCount;
    if (s.number < s.total)
        return SentenceOutcome::Collected;
    c->used = false;
    text = std::string_view(c->fragmentText, c->length);
    return SentenceOutcome::Decoded;
}
