// brenlow-sim: AIS traffic for the monitor, the soak test and the decoder's round trips.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/PseudoTerminal.h"
#include "tools/brenlow-sim/SimOptions.h"
#include "tools/brenlow-sim/TrafficGenerator.h"
#include "tools/brenlow-sim/TruthLog.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

using Clock = std::chrono::steady_clock;
constexpr int kDrainMs = 2000;

// Where the sentences go: standard output or the pseudo-terminal.
class Output {
public:
    explicit Output(platform::PseudoTerminal* pty) : pty(pty) {}

    // False when the output has failed, or the deadline passed while nobody read.
    bool Write(const std::string& bytes, Clock::time_point deadline, bool flush) {
        if (pty == nullptr) {
            return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
                   (!flush || std::fflush(stdout) == 0);
        }
        uint32_t done = 0;
        while (done < bytes.size()) {
            // Short waits, so a stop request is seen while nobody reads.
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            const int wait = static_cast<int>(std::min<long long>(left.count(), 200));
            uint32_t written = 0;
            const auto status = platform::PseudoTerminalWrite(
                pty, bytes.data() + done, static_cast<uint32_t>(bytes.size() - done),
                wait < 0 ? 0 : wait, &written);
            done += written;
            if (status == platform::PseudoTerminalStatus::Failed || stopRequested != 0 ||
                (status == platform::PseudoTerminalStatus::TimedOut && Clock::now() >= deadline)) {
                return done == bytes.size();
            }
        }
        return true;
    }

private:
    platform::PseudoTerminal* pty;
};

bool MakeLink(const std::string& link, const char* target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(link, ec))) {
        fs::remove(link, ec);
    }
    const fs::path parent = fs::path(link).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent, ec);
    }
    fs::create_symlink(target, link, ec);
    return !ec;
}

int Run(const SimOptions& options) {
    std::FILE* log = nullptr;
    if (!options.log.empty()) {
        log = std::fopen(options.log.c_str(), "w");
        if (log == nullptr) {
            std::fprintf(stderr, "brenlow-sim: cannot write %s\n", options.log.c_str());
            return 1;
        }
    }
    platform::PseudoTerminal* pty = nullptr;
    if (options.pty) {
        char path[256];
        pty = platform::PseudoTerminalOpen(path, sizeof path);
        if (pty == nullptr) {
            std::fprintf(stderr, "brenlow-sim: cannot create a pseudo-terminal\n");
            return 1;
        }
        if (!options.link.empty() && !MakeLink(options.link, path)) {
            std::fprintf(stderr, "brenlow-sim: cannot link %s\n", options.link.c_str());
            platform::PseudoTerminalClose(pty);
            return 1;
        }
        std::printf("%s\n", path);
        std::fflush(stdout);
    }

    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    TrafficGenerator traffic(options.traffic);
    Output output(pty);
    const double rate = options.traffic.rate;
    const auto start = Clock::now();
    const auto end = options.seconds > 0.0
                         ? start + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(options.seconds))
                         : Clock::time_point::max();
    int status = 0;
    for (uint64_t sent = 0; options.count == 0 || sent < options.count; ++sent) {
        if (rate > 0.0) {
            std::this_thread::sleep_until(
                std::min(end, start + std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::duration<double>(sent / rate))));
        }
        if (stopRequested != 0 || Clock::now() >= end) {
            break;
        }
        const SimMessage message = traffic.Next();
        std::string bytes;
        for (const std::string& line : message.sentences) {
            bytes += line;
        }
        if (!output.Write(bytes, end, rate > 0.0)) {
            if (pty == nullptr) {
                status = 1;
            }
            break;
        }
        if (log != nullptr) {
            std::fprintf(log, "%s\n", TruthLine(message).c_str());
            std::fflush(log);
        }
    }

    std::fflush(stdout);
    if (pty != nullptr && stopRequested == 0) {
        // Closing hangs the line up and drops what the reader has not taken yet.
        platform::PseudoTerminalDrain(pty, kDrainMs);
    }
    if (log != nullptr) {
        std::fclose(log);
    }
    if (!options.link.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(options.link, ec))) {
            std::filesystem::remove(options.link, ec);
        }
    }
    platform::PseudoTerminalClose(pty);
    return status;
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
        std::fputs(SimHelpText(), stdout);
        return 0;
    }
    return Run(options);
}
