// Hours of receiver traffic, with faults and unplugged devices, through the pseudo-terminal,
// the serial link, the decoder and the poll cycle into a window without a display.
// BRENLOW_SOAK_SECONDS sets the length (60 by default); BRENLOW_SOAK_LINES instead runs until
// that many lines were sent; BRENLOW_SOAK_SEED picks the traffic.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "ais/AisDecoder.h"
#include "app/PollCycle.h"
#include "serial/SerialLink.h"
#include "settings/SettingsStore.h"
#include "tests/soak/DeliveryCheck.h"
#include "tests/soak/ExpectedValues.h"
#include "tests/soak/HeadlessView.h"
#include "tests/soak/ListCheck.h"
#include "tests/soak/RecordingSource.h"
#include "tests/soak/SoakStats.h"
#include "tests/soak/TrafficWriter.h"
#include "tests/support/RegistrySandbox.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPortNumber = 7;
constexpr auto kTickPause = std::chrono::milliseconds(5);
constexpr double kWarmUp = 0.25;
constexpr long kRssGrowthLimitKiB = 8 * 1024;
constexpr int kQuietTicksAtEnd = 20;
constexpr auto kEndTimeout = std::chrono::seconds(10);
constexpr size_t kTopLinesChecked = 256;

double EnvNumber(const char* name, double fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') {
        return fallback;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end != text && value > 0 ? value : fallback;
}

// What the fields of the window must show after a tick whose last decode left `record`.
bool ViewShowsLastDecode(const HeadlessView& view, AisDecoder& decoder, const LineEvent& last) {
    if (last.message.own) {
        AisTarget* own = nullptr;
        if (!decoder.GetOwnVessel(own)) {
            return true;  // an own static report before any own position shows nothing
        }
        return view.Text(1006) == own->MmsiText() && view.Text(1027) == own->LatitudeText() &&
               view.Text(1033) == "Update";
    }
    const AisTarget& r = last.record;
    return view.Text(1001) == std::to_string(decoder.TargetCount()) &&
           view.Text(1002) == r.MmsiText() && view.Text(1007) == r.LatitudeText() &&
           view.Text(1005) == std::string(r.shipName, strnlen(r.shipName, sizeof r.shipName)) &&
           view.Text(1033).empty();
}

struct TickTimes {
    DurationHistogram all;
    DurationHistogram fast;
    DurationHistogram realRate;
    uint64_t mostLines = 0;

    void Print(const char* name, const DurationHistogram& h) const {
        std::printf("  tick time %-10s %9llu ticks  p50 %8.0f us  p99 %8.0f us  max %8.0f us\n",
                    name, static_cast<unsigned long long>(h.Count()), h.Quantile(0.5),
                    h.Quantile(0.99), h.Max());
    }
};

void PrintSummary(const DeliveryCheck::Counts& c, const TrafficWriter& writer,
                  const ListCheck& list, const HeadlessView& view, const TickTimes& ticks,
                  long rssStart, long rssWarm, double warmAt, long rssEnd, long rssMax,
                  double seconds) {
    std::printf("\nSoak summary (%.1f s)\n", seconds);
    std::printf("  lines sent %llu (into a device %llu), handed out %llu, listed %zu (cap %zu)\n",
                static_cast<unsigned long long>(writer.linesSent.load()),
                static_cast<unsigned long long>(writer.linesWritten.load()),
                static_cast<unsigned long long>(list.Received()), view.lines.Size(),
                view.lines.Cap());
    std::printf("  messages sent %llu, decoded %llu\n", static_cast<unsigned long long>(c.messages),
                static_cast<unsigned long long>(c.decoded));
    std::printf("  lost to injected faults: unplug %llu (%u unplugs)",
                static_cast<unsigned long long>(c.lostUnplug), writer.unplugs.load());
    for (int f = 1; f <= kFaultKinds; ++f) {
        std::printf(", %s %llu", FaultName(static_cast<Fault>(f)),
                    static_cast<unsigned long long>(c.lostByFault[f]));
    }
    std::printf(", after a damaged fragment %llu\n",
                static_cast<unsigned long long>(c.lostTainted));
    std::printf("  lost otherwise %llu; lines lost within a device %llu; lines never sent %llu\n",
                static_cast<unsigned long long>(c.lostOtherwise),
                static_cast<unsigned long long>(c.linesLostInDevice),
                static_cast<unsigned long long>(c.unmatchedLines));
    std::printf("  wrong decodes %llu, repeated decodes %llu",
                static_cast<unsigned long long>(c.wrongDecodes),
                static_cast<unsigned long long>(c.repeatedDecodes));
    for (int f = 1; f <= kFaultKinds; ++f) {
        if (c.decodedDespiteFault[f] != 0) {
            std::printf(", decoded despite %s %llu", FaultName(static_cast<Fault>(f)),
                        static_cast<unsigned long long>(c.decodedDespiteFault[f]));
        }
    }
    std::printf("\n  reader stalls (writer waited > 2 s) %u\n", writer.windowStalls.load());
    std::printf(
        "  RSS start %ld KiB, after warm-up (%.0f %% of the run) %ld KiB, end %ld KiB, "
        "max %ld KiB, growth after warm-up %ld KiB\n",
        rssStart, warmAt * 100.0, rssWarm, rssEnd, rssMax, rssEnd - rssWarm);
    ticks.Print("all", ticks.all);
    ticks.Print("unthrottled", ticks.fast);
    ticks.Print("45 lines/s", ticks.realRate);
    std::printf("  most lines in one tick %llu\n\n",
                static_cast<unsigned long long>(ticks.mostLines));
    std::fflush(stdout);
}

}  // namespace

TEST(Soak, TrafficWithFaultsAndUnplugsIsDecodedExactlyAndStaysBounded) {
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.Ready());
    SetRegistryCompanyName("Veltmark");

    SoakPlan plan;
    plan.portNumber = kPortNumber;
    plan.seconds = EnvNumber("BRENLOW_SOAK_SECONDS", 60.0);
    plan.lines = static_cast<uint64_t>(EnvNumber("BRENLOW_SOAK_LINES", 0.0));
    TrafficOptions traffic;
    traffic.vessels = 10;
    traffic.seed = static_cast<uint64_t>(EnvNumber("BRENLOW_SOAK_SEED", 1.0));
    traffic.faultShare = 0.03;
    traffic.faultKinds = kAllFaults;

    LinkSignals signals;
    TrafficWriter writer(traffic, plan, signals);
    ASSERT_TRUE(writer.Plug());
    SerialLink link;
    link.SetBaudRate(38400);
    link.SetPort(kPortNumber);
    ASSERT_EQ(link.Open(), 1);
    signals.linkOpen = true;

    AisDecoder decoder;
    HeadlessView view;
    RecordingSource source(link, decoder, signals);
    DeliveryCheck delivery;
    ListCheck list(view.lines.Cap());
    TickTimes ticks;
    uint64_t capExceeded = 0;
    uint64_t viewMismatches = 0;
    uint64_t listFullChecks = 0;
    uint64_t listFullFailures = 0;
    double nextFullCheck = 0.1;
    const long rssStart = ResidentKiB();
    long rssWarm = 0;
    long rssMax = rssStart;
    double warmAt = 0.0;

    const auto start = Clock::now();
    std::thread writerThread([&writer] { writer.Run(); });
    std::deque<SentMessage> sent;
    int quietTicks = 0;
    Clock::time_point finishedAt{};
    for (;;) {
        const int phase = writer.phase;
        source.StartTick();
        const auto t0 = Clock::now();
        RunPollTick(source, decoder, view);
        const double micros = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        source.NoteDecodes();
        ticks.all.Add(micros);
        (phase == TrafficWriter::kFast ? ticks.fast : ticks.realRate).Add(micros);
        ticks.mostLines = std::max<uint64_t>(ticks.mostLines, source.Count());

        writer.TakeSent(sent);
        delivery.Take(sent);
        const LineEvent* lastDecode = nullptr;
        for (size_t i = 0; i < source.Count(); ++i) {
            const LineEvent& e = source.Event(i);
            delivery.Line(e);
            list.Add(e.line);
            if (e.decodes != 0) {
                lastDecode = &e;
            }
        }
        if (source.Count() != 0 &&
            !list.TopMatches(view.lines, std::min(source.Count(), kTopLinesChecked))) {
            ++list.mismatches;
        }
        if (view.lines.Size() > view.lines.Cap()) {
            ++capExceeded;
        }
        if (lastDecode != nullptr && !ViewShowsLastDecode(view, decoder, *lastDecode)) {
            ++viewMismatches;
        }

        const double progress = writer.Progress();
        const long rss = ResidentKiB();
        rssMax = std::max(rssMax, rss);
        // Warm: a quarter of the run done and the list at its cap.
        if (rssWarm == 0 && progress >= kWarmUp && view.lines.Size() == view.lines.Cap()) {
            rssWarm = rss;
            warmAt = progress;
        }
        if (progress >= nextFullCheck) {
            ++listFullChecks;
            listFullFailures += list.AllMatch(view.lines) ? 0 : 1;
            nextFullCheck += 0.1;
        }

        if (writer.Finished()) {
            if (finishedAt == Clock::time_point{}) {
                finishedAt = Clock::now();
            }
            quietTicks = source.Count() == 0 ? quietTicks + 1 : 0;
            if (quietTicks >= kQuietTicksAtEnd || Clock::now() - finishedAt > kEndTimeout) {
                break;
            }
        }
        std::this_thread::sleep_for(kTickPause);
    }
    writerThread.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    writer.TakeSent(sent);
    delivery.Take(sent);
    delivery.Finish(writer.Session());
    const long rssEnd = ResidentKiB();
    link.Close();

    const DeliveryCheck::Counts& c = delivery.Totals();
    PrintSummary(c, writer, list, view, ticks, rssStart, rssWarm, warmAt, rssEnd, rssMax, seconds);
    for (const std::string& p : delivery.Problems()) {
        ADD_FAILURE() << p;
    }
    for (const std::string& f : writer.failures) {
        ADD_FAILURE() << "receiver: " << f;
    }

    // Every message was followed, and every one the faults spared was decoded exactly.
    EXPECT_GT(c.decoded, 0u);
    EXPECT_EQ(c.messages, c.decoded + c.lostUnplug + c.lostTainted + c.lostOtherwise +
                              c.lostByFault[1] + c.lostByFault[2] + c.lostByFault[3] +
                              c.lostByFault[4] + c.lostByFault[5]);
    EXPECT_EQ(c.lostOtherwise, 0u);
    EXPECT_EQ(c.linesLostInDevice, 0u);
    EXPECT_EQ(c.unmatchedLines, 0u);
    EXPECT_EQ(c.wrongDecodes, 0u);
    EXPECT_EQ(c.repeatedDecodes, 0u);
    EXPECT_EQ(source.orphanDecodes, 0u);
    if (plan.lines > 0 || plan.seconds >= plan.fastSeconds + plan.realSeconds + 5.0) {
        EXPECT_GT(writer.unplugs.load(), 0u);
        EXPECT_GT(c.lostUnplug, 0u);
    }

    // The records hold what was decoded last for each station.
    for (const auto& [key, state] : delivery.Stations()) {
        AisTarget* record = nullptr;
        const int known =
            key.first ? decoder.GetOwnVessel(record) : decoder.FindTarget(key.second, record);
        ASSERT_TRUE(known && record != nullptr) << "station " << key.second;
        if (state.hasPosition) {
            EXPECT_EQ(PositionMismatch(*record, state.position), "") << "station " << key.second;
        }
        if (state.hasStatic) {
            EXPECT_EQ(StaticMismatch(*record, state.statics), "") << "station " << key.second;
        }
    }
    EXPECT_EQ(decoder.TargetCount(), traffic.vessels);

    // The list holds the newest lines in order, never more than its cap.
    EXPECT_EQ(list.mismatches, 0u);
    EXPECT_EQ(capExceeded, 0u);
    EXPECT_EQ(listFullFailures, 0u) << "of " << listFullChecks << " full comparisons";
    EXPECT_TRUE(list.AllMatch(view.lines));
    EXPECT_EQ(view.lines.Size(), std::min<uint64_t>(list.Received(), view.lines.Cap()));
    EXPECT_EQ(viewMismatches, 0u);

    // Memory is flat once the list is full.
    ASSERT_GT(rssWarm, 0) << "the list never filled up, so memory was not measured";
    EXPECT_LT(rssEnd - rssWarm, kRssGrowthLimitKiB);
}
