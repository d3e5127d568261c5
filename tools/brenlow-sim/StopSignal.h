#pragma once

#include <chrono>
#include <csignal>

// Ctrl-C and SIGTERM ask the simulator to stop; every wait of its own looks at the request at
// least every few milliseconds, so it ends at once whatever the rate.
namespace stop_signal {

// Catches SIGINT and SIGTERM without restarting interrupted calls: a write blocked on a full
// pipe returns too.
void Install();

// The signal that asked to stop, or 0.
int Received();

// Stop flag for waits that take one (non-zero once a stop was asked for).
const volatile std::sig_atomic_t* Flag();

// Sleeps until `until`; false when a stop was asked for before or during the sleep.
bool SleepUntil(std::chrono::steady_clock::time_point until);

}  // namespace stop_signal
