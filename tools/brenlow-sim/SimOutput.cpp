#include "tools/brenlow-sim/SimOutput.h"

#include <algorithm>
#include <cstdio>

#include "tools/brenlow-sim/StopSignal.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::PseudoTerminalStatus;

constexpr int kWriteStepMs = 10;  // a stop request is seen while nobody reads

}  // namespace

Sent SimOutput::Write(std::string_view bytes, Clock::time_point deadline, bool flush) {
    if (pty == nullptr) {
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
                        (!flush || std::fflush(stdout) == 0);
        return ok ? Sent::Ok : (stop_signal::Received() != 0 ? Sent::Ended : Sent::Failed);
    }
    uint32_t done = 0;
    while (done < bytes.size()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int wait = static_cast<int>(std::clamp<long long>(left.count(), 0, kWriteStepMs));
        uint32_t written = 0;
        const auto status = platform::PseudoTerminalWrite(
            pty, bytes.data() + done, static_cast<uint32_t>(bytes.size() - done), wait, &written);
        done += written;
        if (status == PseudoTerminalStatus::Failed) {
            return Sent::Failed;
        }
        if (stop_signal::Received() != 0 || Clock::now() >= deadline) {
            return done == bytes.size() ? Sent::Ok : Sent::Ended;
        }
    }
    return Sent::Ok;
}

Sent SimOutput::WriteAt(std::string_view bytes, Clock::time_point due, Clock::time_point end,
                        bool paced) {
    if ((paced && !stop_signal::SleepUntil(std::min(end, due))) || stop_signal::Received() != 0 ||
        Clock::now() >= end) {
        return Sent::Ended;
    }
    return Write(bytes, end, paced);
}
