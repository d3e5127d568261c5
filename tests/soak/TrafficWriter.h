#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/PseudoTerminal.h"
#include "tests/soak/RecordingSource.h"
#include "tools/brenlow-sim/TrafficGenerator.h"

// How the receiver behaves over the run: cycles of unthrottled traffic, then traffic at the
// rate of a busy 38,400-baud receiver, then an unplug and a re-plug of the device.
struct SoakPlan {
    int portNumber = 7;
    double seconds = 60.0;   // run length, unless `lines` is set
    uint64_t lines = 0;      // stop after this many lines were sent; 0: use `seconds`
    double realRate = 45.0;  // lines per second of the busy receiver
    double fastSeconds = 10.0;
    double realSeconds = 3.0;
    double unpluggedSeconds = 1.5;
    uint32_t windowBytes = 16384;  // unread bytes allowed: four times the link's receive buffer
};

// A message as the receiver sent it: into which device (session) or none, when it went out
// while the device was unplugged or not yet opened again.
struct SentMessage {
    SimMessage message;
    uint32_t session = 0;
    bool dropped = false;
};

// The receiver: runs the traffic generator on its own thread and writes each message into a
// pseudo-terminal linked as COM `portNumber`. The reader must not fall far behind: at most
// `windowBytes` written bytes wait unread, as a receiver with flow control would hold back.
class TrafficWriter {
public:
    TrafficWriter(const TrafficOptions& traffic, const SoakPlan& plan, LinkSignals& signals);
    ~TrafficWriter();

    // Makes the first device and its link; false when that fails.
    bool Plug();
    void Run();
    void RequestStop() { stop_ = true; }
    bool Finished() const { return finished_; }

    // Moves every message sent since the last call into `into`, oldest first.
    void TakeSent(std::deque<SentMessage>& into);

    // The device being written; read after Run has ended.
    uint32_t Session() const { return session_; }
    // Share of the run done, 0..1.
    double Progress() const;

    std::atomic<uint64_t> linesSent{0};     // including those lost while unplugged
    std::atomic<uint64_t> linesWritten{0};  // into a device
    std::atomic<uint32_t> unplugs{0};
    std::atomic<uint32_t> windowStalls{0};
    enum Phase { kFast, kRealRate, kUnplugged };
    std::atomic<int> phase{kFast};
    std::vector<std::string> failures;  // read after Run has ended

private:
    using Clock = std::chrono::steady_clock;

    bool Done() const;
    void Unplug();
    void Drop(double seconds, bool untilOpen);
    void Publish(SentMessage&& sent);
    bool WaitForRoom(uint32_t bytes);
    bool WriteMessage(const SimMessage& message);
    void Fail(std::string what);

    TrafficGenerator generator_;
    SoakPlan plan_;
    LinkSignals& signals_;
    platform::PseudoTerminal* pty_ = nullptr;
    uint32_t session_ = 0;
    Clock::time_point start_;

    // Lines written into the current device and not yet taken by the reader.
    std::deque<uint32_t> unreadSizes_;
    uint64_t unreadBytes_ = 0;
    uint64_t handedOutBase_ = 0;
    uint64_t consumedSeen_ = 0;

    std::mutex mutex_;
    std::deque<SentMessage> sent_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
};
