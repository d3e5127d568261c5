#pragma once

#include <cstdint>
#include <string_view>

#include "ais/Sentence.h"
#include "ais/SentenceOutcome.h"

// Collects the sentences of multi-sentence messages, one collection per sequential message id,
// channel and "!AIVDM"/"!AIVDO", so that messages interleaved on the air both complete and
// fragments of different messages are never joined.
class FragmentStore {
public:
    static constexpr int kTextWidth = 1024;  // 1023 characters and a NUL
    static constexpr int kCollections = 16;
    // A collection that has seen no fragment for this many AIS sentences is abandoned: its
    // key (ids cycle 0-9) may by then belong to another message.
    static constexpr uint64_t kMaxSentencesBetweenFragments = 16;

    // Takes one verified sentence. Decoded when it completes a message: `text` then holds the
    // whole payload (valid until the next call); else Collected, Fragment or Length.
    SentenceOutcome Take(const Sentence& sentence, std::string_view& text);

private:
    struct Collection {
        bool used = false;
        bool own = false;
        int total = 0;
        int fragmentCount = 0;  // sentences collected
        uint64_t lastSentence = 0;
        int seqIdLength = 0;
        int channelLength = 0;
        int length = 0;
        char seqId[Sentence::kFieldWidth] = {};
        char channel[Sentence::kFieldWidth] = {};
        char fragmentText[kTextWidth] = {};
    };

    Collection* Find(const Sentence& sentence);
    Collection& Start(const Sentence& sentence);
    bool Stale(const Collection& c) const {
        return sentenceCount - c.lastSentence > kMaxSentencesBetweenFragments;
    }

    Collection collections[kCollections];
    uint64_t sentenceCount = 0;
};
