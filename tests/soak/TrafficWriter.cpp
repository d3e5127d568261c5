#include "tests/soak/TrafficWriter.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/posix/DeviceMap.h"

namespace {

constexpr int kWriteTimeoutMs = 2000;
constexpr auto kReaderStall = std::chrono::seconds(2);
constexpr double kReopenWaitSeconds = 5.0;

std::string PortEntry(int number) {
    return platform::posix::DeviceMap().EntryPath(number);
}

}  // namespace

TrafficWriter::TrafficWriter(const TrafficOptions& traffic, const SoakPlan& plan,
                             LinkSignals& signals)
    : generator_(traffic), plan_(plan), signals_(signals), start_(Clock::now()) {}

TrafficWriter::~TrafficWriter() {
    platform::PseudoTerminalClose(pty_);
    unlink(PortEntry(plan_.portNumber).c_str());
}

bool TrafficWriter::Plug() {
    char path[256];
    pty_ = platform::PseudoTerminalOpen(path, sizeof path);
    if (pty_ == nullptr) {
        return false;
    }
    ++session_;
    const std::string entry = PortEntry(plan_.portNumber);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(entry).parent_path(), error);
    unlink(entry.c_str());
    return symlink(path, entry.c_str()) == 0;
}

double TrafficWriter::Progress() const {
    const double done =
        plan_.lines > 0
            ? static_cast<double>(linesSent.load()) / static_cast<double>(plan_.lines)
            : std::chrono::duration<double>(Clock::now() - start_).count() / plan_.seconds;
    return done < 1.0 ? done : 1.0;
}

bool TrafficWriter::Done() const {
    return stop_ || Progress() >= 1.0;
}

void TrafficWriter::Run() {
    start_ = Clock::now();
    const auto seconds = [](double s) {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
    };
    while (!Done()) {
        const auto cycleStart = Clock::now();
        phase = kFast;
        while (!Done() && Clock::now() - cycleStart < seconds(plan_.fastSeconds)) {
            WriteMessage(generator_.Next());
        }
        phase = kRealRate;
        auto due = Clock::now();
        while (!Done() &&
               Clock::now() - cycleStart < seconds(plan_.fastSeconds + plan_.realSeconds)) {
            const SimMessage message = generator_.Next();
            std::this_thread::sleep_until(due);
            due += seconds(static_cast<double>(message.sentences.size()) / plan_.realRate);
            WriteMessage(message);
        }
        if (!Done()) {
            phase = kUnplugged;
            Unplug();
        }
    }
    finished_ = true;
}

void TrafficWriter::Unplug() {
    platform::PseudoTerminalClose(pty_);
    pty_ = nullptr;
    // The device's entry goes with it, as a receiver's by-id link does.
    unlink(PortEntry(plan_.portNumber).c_str());
    ++unplugs;
    ++session_;
    Drop(plan_.unpluggedSeconds, false);
    if (signals_.linkOpen) {
        Fail("the link still counts the unplugged device as open");
        return;
    }
    if (!Plug()) {
        Fail("no new pseudo-terminal for the re-plug");
        return;
    }
    Drop(kReopenWaitSeconds, true);
    if (!signals_.linkOpen) {
        Fail("the link did not open the re-plugged device");
        return;
    }
    unreadSizes_.clear();
    unreadBytes_ = 0;
    consumedSeen_ = 0;
    handedOutBase_ = signals_.linesHandedOut;
}

void TrafficWriter::Drop(double seconds, bool untilOpen) {
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(seconds));
    auto due = Clock::now();
    while (Clock::now() < end && !stop_ && !(untilOpen && signals_.linkOpen)) {
        SentMessage sent{generator_.Next(), session_, true};
        const auto lines = sent.message.sentences.size();
        linesSent += lines;
        Publish(std::move(sent));
        due += std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(lines) / plan_.realRate));
        std::this_thread::sleep_until(due);
    }
}

void TrafficWriter::Publish(SentMessage&& sent) {
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.push_back(std::move(sent));
}

void TrafficWriter::TakeSent(std::deque<SentMessage>& into) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (SentMessage& s : sent_) {
        into.push_back(std::move(s));
    }
    sent_.clear();
}

bool TrafficWriter::WaitForRoom(uint32_t bytes) {
    const auto deadline = Clock::now() + kReaderStall;
    while (!stop_) {
        const uint64_t consumed = signals_.linesHandedOut - handedOutBase_;
        while (consumedSeen_ < consumed && !unreadSizes_.empty()) {
            unreadBytes_ -= unreadSizes_.front();
            unreadSizes_.pop_front();
            ++consumedSeen_;
        }
        if (unreadBytes_ + bytes <= plan_.windowBytes) {
            return true;
        }
        if (Clock::now() > deadline) {
            // Lines the reader never took would hold the window shut: start counting afresh
            // and leave the loss to the checks.
            ++windowStalls;
            unreadSizes_.clear();
            unreadBytes_ = 0;
            consumedSeen_ = 0;
            handedOutBase_ = signals_.linesHandedOut;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    return false;
}

bool TrafficWriter::WriteMessage(const SimMessage& message) {
    std::string bytes;
    for (const std::string& s : message.sentences) {
        bytes += s;
    }
    const auto lines = message.sentences.size();
    if (!WaitForRoom(static_cast<uint32_t>(bytes.size()))) {
        return false;
    }
    linesSent += lines;
    Publish(SentMessage{message, session_, false});
    for (const std::string& s : message.sentences) {
        unreadSizes_.push_back(static_cast<uint32_t>(s.size()));
        unreadBytes_ += s.size();
    }
    uint32_t written = 0;
    const auto status = platform::PseudoTerminalWrite(
        pty_, bytes.data(), static_cast<uint32_t>(bytes.size()), kWriteTimeoutMs, &written);
    if (status != platform::PseudoTerminalStatus::Ok) {
        Fail("writing into the pseudo-terminal failed");
        return false;
    }
    linesWritten += lines;
    return true;
}

void TrafficWriter::Fail(std::string what) {
    failures.push_back(std::move(what));
    stop_ = true;
}
