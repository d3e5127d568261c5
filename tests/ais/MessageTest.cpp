// Message fields, multi-sentence reassembly and the station table.
#include <gtest/gtest.h>

#include <cfloat>
#include <tuple>
#include <variant>

#include "tests/support/PayloadBuilder.h"

namespace {

using T = AisTarget;
using V = std::vector<uint32_t>;
constexpr uint32_t kMmsi = 211000042;

PayloadBuilder Report(int type, uint32_t mmsi = kMmsi) {
    return PayloadBuilder(type == 5 ? 424 : 168).Set(1, 6, type).Set(9, 30, mmsi);
}

// `payload` in `total` sentences on sequence `seq`.
std::vector<std::string> Parts(const std::string& payload, int total, const std::string& seq,
                               const std::string& channel = "A",
                               const std::string& address = "!AIVDM") {
    std::vector<std::string> out;
    const size_t step = (payload.size() + total - 1) / total;
    for (int i = 0; i < total; ++i) {
        out.push_back(Sentence(payload.substr(i * step, step), total, i + 1, seq, channel,
                               i + 1 == total ? 2 : 0, address));
    }
    return out;
}

// The MMSIs that a run of sentences completes, in order.
std::vector<uint32_t> Completed(const std::vector<std::string>& sentences) {
    AisDecoder decoder;
    std::vector<uint32_t> out;
    for (const std::string& s : sentences)
        if (const uint32_t mmsi = decoder.DecodeSentence(s))
            out.push_back(mmsi);
    return out;
}

// The field conversions at their edges; the recordings check them on real values.
TEST(MessageFields, ConversionsAndSentinelsAtTheirEdges) {
    AisDecoder decoder;  // each sentence writes every field looked at after it
    using Field = std::variant<double T::*, int32_t T::*>;
    const Field rot = &T::rateOfTurn, lat = &T::latitude, lon = &T::longitude,
                cog = &T::courseOverGround, heading = &T::trueHeading;
    const std::tuple<int, int, int64_t, Field, double> conversions[] = {
        {117, 12, 3600, cog, -1},    {90, 27, 0x4000000, lat, -111.8481},
        {43, 8, 128, rot, DBL_MAX},  {90, 27, 0x3FFFFFF, lat, 111.8481},
        {129, 9, 360, heading, -1},  {62, 28, 0xFFFFFFF, lon, -1 / 6e5},
        {43, 8, 127, rot, 720.0032}, {117, 12, 3599, cog, 359.9},
        {129, 9, 359, heading, 359}};
    for (auto [start, length, raw, field, expected] : conversions) {
        ASSERT_EQ(decoder.DecodeSentence(Sentence(Report(1).Set(start, length, raw).Armoured())),
                  kMmsi);
        const T& t = *decoder.LastMessage().record;
        EXPECT_NEAR(std::visit([&](auto m) { return double(t.*m); }, field), expected, 1e-4)
            << start << " = " << raw;
    }
    const std::tuple<int, int, int, int, const char*> etas[] = {
        {0, 7, 14, 5, "n/a"},         {13, 7, 14, 5, "n/a"}, {3, 0, 14, 5, "n/a"},
        {3, 7, 24, 5, "n/a"},         {3, 7, 14, 60, "n/a"}, {12, 31, 23, 59, "31 Dec  23:59"},
        {1, 1, 0, 5, " 1 Jan  00:05"}};
    for (auto [month, day, hour, minute, text] : etas) {
        PayloadBuilder b = Report(5);
        b.Set(275, 4, month).Set(279, 5, day).Set(284, 5, hour).Set(289, 6, minute);
        ASSERT_EQ(decoder.DecodeSentence(Sentence(b.Armoured())), kMmsi);
        EXPECT_STREQ(decoder.LastMessage().record->etaText, text);
    }
    // Fill bits are no data: types 1-3 need bits 1-137, type 5 bits 1-420; a character not
    // wholly within the data reads as "@". Type, characters, fill, MMSI, letters read.
    const std::string destination = "ABCDEFGHIJKLMNOPQRST";
    const std::tuple<int, int, int, uint32_t, size_t> fills[] = {
        {1, 22, 0, 0, 0}, {1, 23, 1, kMmsi, 0},  {1, 23, 2, 0, 0},      {5, 69, 0, 0, 0},
        {5, 70, 1, 0, 0}, {5, 70, 0, kMmsi, 19}, {5, 71, 5, kMmsi, 19}, {5, 71, 4, kMmsi, 20}};
    for (auto [type, chars, fill, mmsi, letters] : fills) {
        const std::string payload =
            Report(type).Text(303, 20, destination).Armoured().substr(0, chars);
        EXPECT_EQ(decoder.DecodeSentence(Sentence(payload, 1, 1, "", "A", fill)), mmsi)
            << chars << " characters, fill " << fill;
        EXPECT_EQ(decoder.LastOutcome(), mmsi ? SentenceOutcome::Decoded : SentenceOutcome::Length);
        if (mmsi != 0) {
            EXPECT_EQ(decoder.LastMessage().record->destination, destination.substr(0, letters));
        }
    }
}

// The fault recordings hold the common orders; these are the rest, and the limits.
TEST(Reassembly, OrdersOfSentencesAndLimitsOfACollection) {
    const auto a = Parts(Report(5, 1001).Armoured(), 3, "1");
    const std::string otherTotal = Sentence("0000", 2, 2, "1", "A", 2);
    EXPECT_EQ(Completed({a[0], a[1], a[0], a[1], a[2]}), V{1001});
    EXPECT_EQ(Completed({a[0], a[1], a[1], a[2]}), V{});
    EXPECT_EQ(Completed({a[0], otherTotal, a[1], a[2]}), V{});
    const std::string badNumber = WithChecksum("!AIVDM,3,x,1,A,0000,0");
    EXPECT_EQ(Completed({a[0], badNumber, a[1], a[2]}), V{1001})
        << "a refused sentence leaves the collection alone";
    const auto station = Parts(Report(5, 1004).Armoured(), 2, "5");
    const auto own = Parts(Report(5, 1005).Armoured(), 2, "5", "A", "!AIVDO");
    EXPECT_EQ(Completed({station[0], own[0], own[1], station[1]}), (V{1005, 1004}));
    EXPECT_EQ(Completed({station[0], own[1]}), V{}) << "own and station fragments are never joined";
    const std::string message = Report(5, 1004).Armoured();
    EXPECT_EQ(Completed(Parts(message + std::string(1023 - 71, '0'), 9, "7")), V{1004});
    EXPECT_EQ(Completed(Parts(message + std::string(1024 - 71, '0'), 9, "7")), V{});
    // Ids cycle 0-9: a collection silent for 16 sentences may belong to another message.
    for (uint32_t gap : {15u, 16u}) {
        const auto parts = Parts(Report(5, 1005).Armoured(), 2, "3");
        std::vector<std::string> run(gap + 2, Sentence(Report(1, 3000).Armoured()));
        run.front() = parts[0], run.back() = parts[1];
        EXPECT_EQ(Completed(run).back(), gap == 15 ? 1005u : 3000u) << gap;
    }
    // Seventeen keys waiting: the one waiting longest gives way.
    std::vector<std::string> firsts, lasts;
    for (uint32_t i = 0; i < 17; ++i) {
        const auto parts =
            Parts(Report(5, 4000 + i).Armoured(), 2, std::to_string(i % 10), i < 10 ? "A" : "B");
        firsts.push_back(parts[0]);
        lasts.push_back(parts[1]);
    }
    firsts.insert(firsts.end(), {lasts[1], lasts[0], lasts[16]});
    EXPECT_EQ(Completed(firsts), (V{4001, 4016}));
}

TEST(Lookup, StationsOwnVesselAndTheTable) {
    AisDecoder decoder;
    AisTarget* own = nullptr;
    auto ownReport = [](int type) {
        return Sentence(Report(type, 244121341).Armoured(), 1, 1, "", "A", 0, "!AIVDO");
    };
    EXPECT_EQ(decoder.DecodeSentence(ownReport(5)), 244121341u);
    EXPECT_EQ(decoder.GetOwnVessel(own), 0) << "known only from its position report";
    EXPECT_EQ(decoder.IsOwnVessel(244121341), 0);
    // Braced: each call sees what the one before it did.
    ASSERT_EQ((std::tuple{decoder.DecodeSentence(ownReport(1)), decoder.GetOwnVessel(own), own,
                          decoder.IsOwnVessel(244121341), decoder.TargetCount()}),
              std::tuple(244121341u, 1, static_cast<AisTarget*>(&decoder), 1, 0));

    for (uint32_t mmsi : {300u, 100u, 300u, 244121341u, 0u})
        decoder.DecodeSentence(Sentence(Report(1, mmsi).Set(129, 9, 90).Armoured()));
    EXPECT_EQ(decoder.TargetCount(), 3) << "once per MMSI; none for MMSI 0";
    EXPECT_EQ(decoder.MessagesDecoded(), 6u);
    AisTarget* station = nullptr;
    ASSERT_EQ(decoder.FindTarget(300, station), 1);
    decoder.DecodeSentence(Sentence(Report(5, 300).Text(113, 20, "LARINA").Armoured()));
    EXPECT_EQ(decoder.LastMessage().record, station) << "records stay where they are";
    EXPECT_STREQ(station->shipName, "LARINA");
    EXPECT_EQ(station->trueHeading, 90) << "each report writes only its own fields";
    ASSERT_EQ(decoder.FindTarget(244121341, station), 1);
    EXPECT_NE(station, own) << "a station with the own MMSI is a station";
    EXPECT_EQ(decoder.FindTarget(999, station), 0);
    decoder.RemoveAllTargets();
    EXPECT_EQ(decoder.TargetCount(), 0);
    EXPECT_EQ(decoder.FindTarget(300, station), 0);
}

}  // namespace
