// Multi-sentence messages: collected per sequential id and channel, never joined wrongly.
#include <gtest/gtest.h>

#include "ais/AisDecoder.h"
#include "tests/support/PayloadBuilder.h"

namespace {

// A type 5 payload (71 characters) for `mmsi` named `name`.
std::string StaticPayload(uint32_t mmsi, const std::string& name) {
    PayloadBuilder b(426);
    b.Set(1, 6, 5).Set(9, 30, mmsi).Text(113, 20, name).Text(303, 20, "BERGEN");
    return b.Armoured();
}

std::string PositionPayload(uint32_t mmsi) {
    PayloadBuilder b;
    b.Set(1, 6, 1).Set(9, 30, mmsi);
    return b.Armoured();
}

// The sentences of `payload` split into `total` parts.
std::vector<std::string> Sentences(const std::string& payload, int total, const std::string& seq,
                                   const std::string& channel = "A") {
    std::vector<std::string> out;
    const size_t step = (payload.size() + total - 1) / total;
    for (int i = 0; i < total; ++i) {
        out.push_back(Sentence(payload.substr(i * step, step), total, i + 1, seq, channel,
                               i + 1 == total ? 2 : 0));
    }
    return out;
}

TEST(Reassembly, TwoAndThreeSentenceMessagesCompleteOnTheirLastSentence) {
    for (int total : {2, 3, 9}) {
        AisDecoder decoder;
        const auto parts = Sentences(StaticPayload(257000001, "NORDLYS"), total, "1");
        for (int i = 0; i + 1 < total; ++i)
            EXPECT_EQ(decoder.DecodeSentence(parts[i]), 0u);
        EXPECT_EQ(decoder.DecodeSentence(parts.back()), 257000001u) << total;
        AisTarget* t = nullptr;
        ASSERT_EQ(decoder.FindTarget(257000001, t), 1);
        EXPECT_STREQ(t->shipName, "NORDLYS");
        EXPECT_STREQ(t->destination, "BERGEN");
    }
}

TEST(Reassembly, InterleavedMessagesBothComplete) {
    AisDecoder decoder;
    const auto a = Sentences(StaticPayload(261204000, "ALPHA"), 2, "1");
    const auto b = Sentences(StaticPayload(367141000, "BRAVO"), 2, "2");
    EXPECT_EQ(decoder.DecodeSentence(a[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(b[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(a[1]), 261204000u);
    EXPECT_EQ(decoder.DecodeSentence(b[1]), 367141000u);
    // The same id on the two channels are two messages too.
    const auto onA = Sentences(StaticPayload(1001, "ON A"), 2, "4", "A");
    const auto onB = Sentences(StaticPayload(1002, "ON B"), 2, "4", "B");
    EXPECT_EQ(decoder.DecodeSentence(onA[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(onB[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(onB[1]), 1002u);
    EXPECT_EQ(decoder.DecodeSentence(onA[1]), 1001u);
}

TEST(Reassembly, SingleSentenceBetweenFragmentsIsDecodedAloneAndLeavesThemPending) {
    AisDecoder decoder;
    const auto parts = Sentences(StaticPayload(431002412, "KAIYO"), 2, "6");
    EXPECT_EQ(decoder.DecodeSentence(parts[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(Sentence(PositionPayload(412761790))), 412761790u);
    EXPECT_EQ(decoder.LastMessage().type, 1);
    EXPECT_EQ(decoder.DecodeSentence(parts[1]), 431002412u);
    EXPECT_EQ(decoder.LastMessage().type, 5);
}

TEST(Reassembly, BrokenSequencesAreDroppedWhole) {
    const auto parts = Sentences(StaticPayload(367334360, "LOST"), 3, "8");
    struct Case {
        const char* what;
        std::vector<int> order;  // indices into parts
    };
    for (const Case& c : {Case{"first missing", {1, 2}}, Case{"middle missing", {0, 2}},
                          Case{"reversed", {2, 1, 0}}, Case{"last twice", {0, 1, 1, 2}}}) {
        AisDecoder decoder;
        for (int i : c.order)
            EXPECT_EQ(decoder.DecodeSentence(parts[i]), 0u) << c.what;
        EXPECT_EQ(decoder.TargetCount(), 0) << c.what;
    }
}

TEST(Reassembly, FirstSentenceAgainRestartsTheMessage) {
    AisDecoder decoder;
    const auto stale = Sentences(StaticPayload(413000001, "STALE"), 2, "6", "B");
    const auto fresh = Sentences(StaticPayload(413591380, "FRESH"), 2, "6", "B");
    EXPECT_EQ(decoder.DecodeSentence(stale[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(fresh[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(fresh[1]), 413591380u);
    EXPECT_EQ(decoder.TargetCount(), 1);
    // A duplicated first sentence is the same case.
    EXPECT_EQ(decoder.DecodeSentence(fresh[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(fresh[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(fresh[1]), 413591380u);
}

TEST(Reassembly, FragmentsOfDifferentKeysOrTotalsAreNotJoined) {
    AisDecoder decoder;
    const auto parts = Sentences(StaticPayload(246690000, "CHANNEL"), 2, "5", "A");
    EXPECT_EQ(decoder.DecodeSentence(parts[0]), 0u);
    EXPECT_EQ(
        decoder.DecodeSentence(Sentences(StaticPayload(246690000, "CHANNEL"), 2, "5", "B")[1]), 0u)
        << "other channel";
    EXPECT_EQ(decoder.DecodeSentence(Sentences(StaticPayload(246690000, "CHANNEL"), 2, "1")[1]), 0u)
        << "other id";
    EXPECT_EQ(decoder.DecodeSentence(parts[1]), 246690000u) << "its own last sentence still fits";

    const auto three = Sentences(StaticPayload(419504000, "TOTALS"), 3, "2");
    EXPECT_EQ(decoder.DecodeSentence(three[0]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(Sentence("00000000", 2, 2, "2", "A", 2)), 0u);
    EXPECT_EQ(decoder.DecodeSentence(three[1]), 0u);
    EXPECT_EQ(decoder.DecodeSentence(three[2]), 0u) << "the total mismatch dropped it";
    EXPECT_EQ(decoder.TargetCount(), 1);
}

TEST(Reassembly, TheCompletingSentenceDecidesOwnVessel) {
    AisDecoder decoder;
    const std::string payload = StaticPayload(244121341, "OWN");
    const std::string first = Sentence(payload.substr(0, 40), 2, 1, "1", "B", 0, "!AIVDM");
    const std::string last = Sentence(payload.substr(40), 2, 2, "1", "B", 2, "!AIVDO");
    EXPECT_EQ(decoder.DecodeSentence(first), 0u);
    EXPECT_EQ(decoder.DecodeSentence(last), 244121341u);
    EXPECT_TRUE(decoder.LastMessage().own);
    EXPECT_STREQ(decoder.shipName, "OWN");
    EXPECT_EQ(decoder.TargetCount(), 0);
}

TEST(Reassembly, JoinedTextOver1023CharactersIsDroppedWithItsCollection) {
    AisDecoder decoder;
    const std::string chunk(120, '0');
    EXPECT_EQ(decoder.DecodeSentence(Sentence("5" + chunk.substr(1), 9, 1, "7")), 0u);
    for (int n = 2; n <= 8; ++n)
        EXPECT_EQ(decoder.DecodeSentence(Sentence(chunk, 9, n, "7")), 0u);
    // 960 collected; 64 more would make 1024.
    EXPECT_EQ(decoder.DecodeSentence(Sentence(std::string(64, '0'), 9, 9, "7")), 0u);
    EXPECT_EQ(decoder.TargetCount(), 0);
}

TEST(Reassembly, AbandonedCollectionIsNotCompletedByALaterMessageWithTheSameId) {
    AisDecoder decoder;
    const auto old = Sentences(StaticPayload(100000001, "OLD"), 2, "3");
    const auto reused = Sentences(StaticPayload(100000002, "REUSED"), 2, "3");
    EXPECT_EQ(decoder.DecodeSentence(old[0]), 0u);  // its last sentence is lost
    // Ids cycle 0-9: by the time "3" comes round again many sentences have passed.
    for (uint32_t i = 0; i <= FragmentStore::kMaxSentencesBetweenFragments; ++i) {
        EXPECT_NE(decoder.DecodeSentence(Sentence(PositionPayload(200000000 + i))), 0u);
    }
    EXPECT_EQ(decoder.DecodeSentence(reused[1]), 0u);  // its first sentence is lost
    AisTarget* t = nullptr;
    EXPECT_EQ(decoder.FindTarget(100000001, t), 0);
}

TEST(Reassembly, ManyPendingKeysNeverBreakTheNewest) {
    AisDecoder decoder;
    std::vector<std::vector<std::string>> messages;
    for (int i = 0; i < 40; ++i) {
        messages.push_back(Sentences(StaticPayload(300000000 + i, "SHIP"), 2,
                                     std::to_string(i % 10), i < 20 ? "A" : "B"));
        decoder.DecodeSentence(messages.back()[0]);
    }
    // The most recent ids on each channel are still pending and complete.
    EXPECT_EQ(decoder.DecodeSentence(messages[39][1]), 300000039u);
    EXPECT_EQ(decoder.DecodeSentence(messages[38][1]), 300000038u);
}

}  // namespace
