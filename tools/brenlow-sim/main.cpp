// brenlow-sim: AIS traffic for the monitor, the soak test and the decoder's round trips, or a
// recording played back.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/PseudoTerminal.h"
#include "tools/brenlow-sim/Replay.h"
#include "tools/brenlow-sim/SimOptions.h"
#include "tools/brenlow-sim/SimOutput.h"
#include "tools/brenlow-sim/StopSignal.h"
#include "tools/brenlow-sim/TrafficGenerator.h"
#include "tools/brenlow-sim/TruthLog.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::PseudoTerminalStatus;

constexpr int kAloneMs = 2000;  // a reader away this long is not coming back
constexpr int kFailed = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "brenlow-sim: %s\n", message.c_str());
    return kFailed;
}

int Fail(const std::string& what, const char* why) {
    return Fail(what + ": " + why);
}

// A closed standard stream would be taken by the next file opened: the pseudo-terminal
// would get the messages meant for standard error. False when standard output is closed.
bool StandardStreamsOpen() {
    if (fcntl(1, F_GETFD) < 0) {
        return false;
    }
    for (const int fd : {0, 2}) {
        if (fcntl(fd, F_GETFD) < 0) {
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0 && null != fd) {
                dup2(null, fd);
                close(null);
            }
        }
    }
    return true;
}

bool MakeLink(const std::string& link, const char* target, std::error_code& ec) {
    namespace fs = std::filesystem;
    if (fs::is_symlink(fs::symlink_status(link, ec))) {
        fs::remove(link, ec);
    }
    const fs::path parent = fs::path(link).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent, ec);
    }
    ec.clear();
    fs::create_symlink(target, link, ec);
    return !ec;
}

// What a run holds, given back on every way out.
struct Held {
    std::FILE* log = nullptr;
    platform::PseudoTerminal* pty = nullptr;
    std::string link;

    ~Held() {
        if (log != nullptr) {
            std::fclose(log);
        }
        if (!link.empty()) {
            std::error_code ec;
            if (std::filesystem::is_symlink(std::filesystem::symlink_status(link, ec))) {
                std::filesystem::remove(link, ec);
            }
        }
        platform::PseudoTerminalClose(pty);
    }
};

Clock::duration Seconds(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// With --seconds the drain ends 2 s after the time at the latest; without, it waits.
int DrainLimitMs(const SimOptions& options, Clock::time_point end) {
    if (options.seconds <= 0.0) {
        return -1;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0)) + kAloneMs;
}

// Simulated traffic until the count, the time or a signal ends it. Returns the exit status.
int Simulate(const SimOptions& options, Held& held, SimOutput& output, Clock::time_point end) {
    TrafficGenerator traffic(options.traffic);
    const double rate = options.traffic.rate;
    const auto start = Clock::now();
    for (uint64_t sent = 0; options.count == 0 || sent < options.count; ++sent) {
        const SimMessage message = traffic.Next();
        std::string bytes;
        for (const std::string& line : message.sentences) {
            bytes += line;
        }
        const Sent result =
            output.WriteAt(bytes, start + Seconds(rate > 0.0 ? sent / rate : 0), end, rate > 0.0);
        if (result == Sent::Failed) {
            return Fail("write error", std::strerror(errno));
        }
        if (result == Sent::Ended) {
            break;
        }
        if (held.log != nullptr &&
            (std::fprintf(held.log, "%s\n", TruthLine(message).c_str()) < 0 ||
             std::fflush(held.log) != 0)) {
            return Fail("cannot write " + options.log, std::strerror(errno));
        }
    }
    return 0;
}

// Sends the traffic or the replay, then waits for the reader to take it all. Returns the exit
// status.
int Send(const SimOptions& options, Held& held, Replay& replay) {
    SimOutput output(held.pty);
    const auto end =
        options.seconds > 0.0 ? Clock::now() + Seconds(options.seconds) : Clock::time_point::max();
    if (options.replay.empty()) {
        if (const int status = Simulate(options, held, output, end); status != 0) {
            return status;
        }
    } else {
        std::string error;
        if (replay.Play(options, output, end, error) == Sent::Failed) {
            return error.empty() ? Fail("write error", std::strerror(errno)) : Fail(error);
        }
    }
    if (stop_signal::Received() == 0 && std::fflush(stdout) != 0) {
        return Fail("write error", std::strerror(errno));
    }
    if (held.pty != nullptr && stop_signal::Received() == 0) {
        // Closing hangs the line up and drops what the reader has not taken yet.
        if (platform::PseudoTerminalDrain(held.pty, DrainLimitMs(options, end), kAloneMs,
                                          stop_signal::Flag()) == PseudoTerminalStatus::Failed) {
            return Fail("pseudo-terminal", std::strerror(errno));
        }
    }
    return 0;
}

int Run(const SimOptions& options) {
    if (!StandardStreamsOpen()) {
        return Fail("write error", std::strerror(EBADF));
    }
    stop_signal::Install();
    Replay replay;
    std::string error;
    if (!options.replay.empty() && !replay.Open(options.replay, error)) {
        return Fail(error);
    }
    Held held;
    if (!options.log.empty()) {
        held.log = std::fopen(options.log.c_str(), "w");
        if (held.log == nullptr) {
            return Fail("cannot write " + options.log, std::strerror(errno));
        }
    }
    if (options.pty) {
        char path[256];
        held.pty = platform::PseudoTerminalOpen(path, sizeof path);
        if (held.pty == nullptr) {
            return Fail("cannot create a pseudo-terminal", std::strerror(errno));
        }
        std::error_code ec;
        if (!options.link.empty()) {
            if (!MakeLink(options.link, path, ec)) {
                return Fail("cannot link " + options.link, ec.message().c_str());
            }
            held.link = options.link;
        }
        if (std::printf("%s\n", path) < 0 || std::fflush(stdout) != 0) {
            return Fail("write error", std::strerror(errno));
        }
    }
    const int status = Send(options, held, replay);
    const int signo = stop_signal::Received();
    return signo != 0 ? 128 + signo : status;
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "brenlow-sim: %s (see --help)\n", error.c_str());
        return 2;
    }
    if (options.help) {
        return std::fputs(SimHelpText(), stdout) < 0 || std::fflush(stdout) != 0
                   ? Fail("write error", std::strerror(errno))
                   : 0;
    }
    return Run(options);
}
