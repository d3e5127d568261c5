#include "tools/brenlow-sim/StopSignal.h"

#include <algorithm>
#include <thread>

namespace stop_signal {

namespace {

volatile std::sig_atomic_t received = 0;

// A signal that comes just before a sleep starts would go unseen for a whole step.
constexpr std::chrono::milliseconds kStep{10};

void Catch(int signo) {
    received = signo;
}

}  // namespace

void Install() {
    struct sigaction action {};
    action.sa_handler = Catch;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int Received() {
    return received;
}

const volatile std::sig_atomic_t* Flag() {
    return &received;
}

bool SleepUntil(std::chrono::steady_clock::time_point until) {
    while (received == 0) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) {
            return true;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(until - now, kStep));
    }
    return false;
}

}  // namespace stop_signal
