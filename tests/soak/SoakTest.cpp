// Receiver traffic with faults and unplugged devices through a pseudo-terminal, the serial
// link, the decoder and the poll cycle into a window without a display. BRENLOW_SOAK_SECONDS
// sets the length (60 by default), BRENLOW_SOAK_LINES instead the number of lines to send,
// BRENLOW_SOAK_SEED the traffic.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "app/LineStore.h"
#include "app/PollCycle.h"
#include "platform/PseudoTerminal.h"
#include "platform/posix/DeviceMap.h"
#include "serial/LineLimit.h"
#include "serial/SerialLink.h"
#include "tests/support/RegistrySandbox.h"
#include "tools/brenlow-sim/TrafficGenerator.h"

namespace {

using namespace platform;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kPort = 7;
constexpr auto kPlugged = 12s;        // between unplugs
constexpr size_t kUnlisted = 100000;  // lines sent and not yet listed: the loop has stalled
constexpr long kRssGrowthLimitKiB = 8 * 1024;

double Env(const char* name, double fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && std::atof(text) > 0 ? std::atof(text) : fallback;
}

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A received line as the list must show it.
std::string Shown(std::string line) {
    line.erase(line.find_last_not_of("\r\n") + 1);
    std::replace_if(
        line.begin(), line.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }, '\xB7');
    return line;
}

// The fixture is the window, without a display.
class Soak : public testing::Test, public TargetView {
protected:
    void InsertLineAtTop(const char* line, size_t length) override {
        lines.PushFront(line, length);
        ++inserted;
    }
    void SetControlText(int id, const std::string& text) override { texts[id] = text; }

    bool Plug() {
        char path[256];
        pty.reset(PseudoTerminalOpen(path, sizeof path));
        unlink(entry.c_str());
        return pty != nullptr && symlink(path, entry.c_str()) == 0;
    }

    // Adds a piece of traffic of any length, whole lines or not, and writes what the
    // terminal takes.
    void Send(bool more) {
        for (size_t end = backlog.size() + (more ? random.Below(4096) : 0); backlog.size() < end;) {
            for (const std::string& s : traffic.Next().sentences) {
                backlog += s;
                sent.push_back(s.size() > kLineLimit ? s.substr(s.size() - kLineLimit) : s);
                ++linesSent;
            }
        }
        uint32_t written = 0;
        PseudoTerminalWrite(pty.get(), backlog.data(), static_cast<uint32_t>(backlog.size()), 0,
                            &written);
        backlog.erase(0, written);
        ASSERT_LT(sent.size(), kUnlisted) << "the poll loop stopped taking lines";
    }

    // One poll tick: every line it listed must be the next one sent, and the fields must show
    // the record its last decode concerned.
    void Tick() {
        inserted = 0;
        RunPollTick(source, decoder, *this);
        uint32_t last = 0;
        for (size_t i = inserted; i-- > 0; ++listed) {
            // What an unplugged device still held is lost with it; nothing else may be.
            for (; mayLose > 0 && Shown(sent.front()) != lines.Line(i); --mayLose)
                sent.pop_front();
            ASSERT_TRUE(!sent.empty() && lines.Line(i) == Shown(sent.front()))
                << "listed out of turn (lost, repeated, reordered or never sent): "
                << lines.Line(i);
            const uint32_t mmsi = reference.DecodeSentence(sent.front());
            last = mmsi != 0 ? mmsi : last;
            sent.pop_front();
            mayLose -= mayLose > 0 ? 1 : 0;
        }
        ASSERT_EQ(decoder.MessagesDecoded(), reference.MessagesDecoded());
        AisTarget* r = nullptr;
        if (last != 0 && reference.IsOwnVessel(last) && reference.GetOwnVessel(r)) {
            ASSERT_EQ(texts[1006] + texts[1027] + texts[1033],
                      r->MmsiText() + r->LatitudeText() + "Update");
        } else if (last != 0 && reference.FindTarget(last, r)) {
            ASSERT_EQ(texts[1001] + "|" + texts[1002] + texts[1005] + texts[1007] + texts[1033],
                      std::to_string(reference.TargetCount()) + "|" + r->MmsiText() + r->shipName +
                          r->LatitudeText());
        }
    }

    void Ticks(std::chrono::milliseconds most, const std::function<bool()>& done) {
        for (const auto end = Clock::now() + most;
             !done() && !HasFatalFailure() && Clock::now() < end;
             std::this_thread::sleep_for(5ms)) {
            Tick();
        }
    }

    // The device goes with its entry, as a receiver's by-id link does.
    void Unplug() {
        pty.reset();
        unlink(entry.c_str());
        backlog.clear();
        mayLose = sent.size();
        Ticks(1500ms, [] { return false; });
        ASSERT_FALSE(link.IsOpen()) << "the unplugged device still counts as open";
        ASSERT_TRUE(Plug());
        Ticks(5s, [this] { return link.IsOpen(); });
        ASSERT_TRUE(link.IsOpen()) << "the device was not opened again";
    }

    RegistrySandbox sandbox;
    const std::string entry = posix::DeviceMap().EntryPath(kPort);
    std::unique_ptr<PseudoTerminal, void (*)(PseudoTerminal*)> pty{nullptr, &PseudoTerminalClose};
    SerialLink link;
    LineSourceOf<SerialLink> source{link};
    AisDecoder decoder, reference;  // reference: fed the lines listed, straight from what was sent
    LineStore lines;
    std::map<int, std::string> texts;
    const uint64_t seed = static_cast<uint64_t>(Env("BRENLOW_SOAK_SEED", 1));
    TrafficGenerator traffic{{.seed = seed, .faultShare = 0.03}};
    Random random{seed};
    std::string backlog;           // made, not yet written
    std::deque<std::string> sent;  // not yet listed, as the link hands them out
    size_t mayLose = 0;            // how many of those went to an unplugged device
    size_t inserted = 0;           // lines listed by the tick
    uint64_t linesSent = 0, listed = 0;
};

TEST_F(Soak, TrafficWithFaultsAndUnplugsIsListedAndShownExactlyWithFlatMemory) {
    ASSERT_TRUE(sandbox.Ready());
    std::filesystem::create_directories(std::filesystem::path(entry).parent_path());
    ASSERT_TRUE(Plug());
    link.SetPort(kPort);
    ASSERT_EQ(link.Open(), 1);
    const double seconds = Env("BRENLOW_SOAK_SECONDS", 60);
    const double toSend = Env("BRENLOW_SOAK_LINES", 0);
    const auto start = Clock::now();
    const auto progress = [&] {
        return toSend > 0 ? static_cast<double>(linesSent) / toSend
                          : std::chrono::duration<double>(Clock::now() - start).count() / seconds;
    };
    long rssWarm = 0;
    for (auto plugged = start; progress() < 1.0 && !HasFatalFailure();
         std::this_thread::sleep_for(1ms)) {
        Tick();
        Send(true);
        // Warm: a quarter of the run done and the list at its cap.
        if (rssWarm == 0 && progress() >= 0.25 && lines.Size() == lines.Cap())
            rssWarm = PeakResidentKiB();
        if (Clock::now() - plugged > kPlugged) {
            Unplug();
            plugged = Clock::now();
        }
    }
    ASSERT_FALSE(HasFatalFailure());
    sent.erase(sent.begin(), sent.begin() + static_cast<ptrdiff_t>(mayLose));
    Ticks(10s, [this] {
        Send(false);
        return sent.empty() || HasFatalFailure();
    });
    EXPECT_TRUE(sent.empty()) << sent.size() << " lines sent were never listed";
    EXPECT_EQ(lines.Size(), std::min<uint64_t>(listed, lines.Cap()));
    ASSERT_GT(rssWarm, 0) << "the list never filled up, so memory was not measured";
    EXPECT_LT(PeakResidentKiB() - rssWarm, kRssGrowthLimitKiB);
}

}  // namespace
