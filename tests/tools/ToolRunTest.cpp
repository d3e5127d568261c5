// brenlow-dump and brenlow-sim run as a user runs them: options of every kind of nonsense,
// output that cannot be written, signals during long waits, and readers on the terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/Slurp.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A folder for the whole run, removed at its end; the tools keep their settings there too.
const std::string& Folder() {
    static char path[] = "/tmp/brenlow-tools-XXXXXX";
    static const std::string folder = [] {
        if (!mkdtemp(path))
            return std::string("/nonexistent");
        setenv("XDG_CONFIG_HOME", path, 1);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(path, ec);
        });
        return std::string(path);
    }();
    return folder;
}

// `text` with "FILE" as a recording of traffic and "DIR" as the folder.
std::string Expand(std::string text) {
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"FILE", "DIR/traffic.nmea"}, {"DIR", Folder()}})
        for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
            text.replace(at, from.size(), to);
    return text;
}

// Waits up to `limit` for `ready`.
template <typename Ready>
bool Await(Ready ready, std::chrono::milliseconds limit = 2s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (; !ready(); std::this_thread::sleep_for(2ms))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

// One run of a command line (paths without blanks) with "dump" and "sim" as the tools, as
// Expand says. Standard output goes to `out` ("" closes it), standard error is kept.
class Process {
public:
    Process(const std::string& line, const std::string& out)
        : err("DIR/stderr" + std::to_string(++runs)) {
        const std::string script = "dump() { exec " BRENLOW_DUMP
                                   " \"$@\"; }; sim() { exec " BRENLOW_SIM " \"$@\"; }; " +
                                   Expand(line) + (out.empty() ? " >&-" : " >" + Expand(out)) +
                                   " 2>" + Expand(err) + " </dev/null";
        const char* argv[] = {"sh", "-c", script.c_str(), nullptr};
        if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            pid = -1;
    }
    ~Process() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // The exit status, 256 + N when signal N ended it, -1 when it still ran after `limit`.
    int Wait(std::chrono::milliseconds limit = 10s) {
        int status = 0;
        if (pid <= 0 || !Await([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limit))
            return -1;
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 256 + WTERMSIG(status);
    }
    void Signal(int signo) { kill(pid, signo); }
    std::string Errors() const { return Slurp(Expand(err)); }

private:
    static inline int runs = 0;
    std::string err;
    pid_t pid = -1;
};

struct Case {
    const char* line;
    const char* says;  // on standard error
    int status = 2;
    const char* out = "/dev/null";  // "" closes standard output
};

constexpr Case kCases[] = {
    {"dump --port 3 --seconds nan", "--seconds: bad value \"nan\""},
    {"dump --port 3 --seconds", "--seconds: missing value"},
    {"dump --seconds 1 FILE", "--seconds needs --port"},
    {"dump --port 256", "--port: bad value \"256\""},
    {"dump --port com3", "--port: bad value"},
    {"dump --port 3 FILE", "--port reads no files"},
    {"dump --ports 3", "--ports: unknown option"},
    {"dump DIR/absent", "cannot read DIR/absent: No such file or directory"},
    {"dump DIR", "error reading DIR: Is a directory"},
    {"dump FILE", "write error: No space left on device", 2, "/dev/full"},
    {"dump FILE", "write error: Bad file descriptor", 2, ""},
    {"dump --help", "write error: No space left on device", 2, "/dev/full"},
    {"dump -- FILE", "", 0},
    {"dump --seconds 0.2 --port 250", "COM250 is not present; waiting for it", 0},
    {"dump --summary --seconds 0.2 --port 250",
     "\"hearing\":\"closed\",\"tooltip\":\"closed: not present\"}", 0},
    {"dump --port 251 --seconds 30",
     "cannot open COM251 (19200,N,8,1): the device refuses these line settings"},
    {"sim --vessels 0 --no-own --count 1", "no station"},
    {"sim --rate 1e-12", "--rate: bad value \"1e-12\""},
    {"sim --seconds 0", "--seconds: bad value"},
    {"sim --count 99999999999999999999", "--count: bad value"},
    {"sim --vessels 12x", "--vessels: bad value"},
    {"sim --faults 1.5", "--faults: bad value"},
    {"sim --fault-kinds lost,bogus", "--fault-kinds: bad value"},
    {"sim --own-mmsi 1073741824", "--own-mmsi: bad value"},
    {"sim --count", "--count: missing value"},
    {"sim --bogus 1", "--bogus: unknown option"},
    {"sim --link DIR/com1", "--link needs --pty"},
    {"sim --pty --count 1 --link /dev/null/com1", "cannot link /dev/null/com1"},
    {"sim --count 3", "write error: No space left on device", 2, "/dev/full"},
    {"sim --count 3", "write error: Bad file descriptor", 2, ""},
    {"sim --count 3 --rate 0 --log /dev/full", "cannot write /dev/full: No space left on device"},
};

TEST(ToolRun, EveryMisuseEndsWithItsReasonAndStatus) {
    fs::create_directories(Expand("DIR/brenlow/dosdevices"));
    fs::create_symlink("/dev/null", Expand("DIR/brenlow/dosdevices/com251"));
    Process("sim --count 3000 --rate 0", "FILE").Wait();
    for (const Case& c : kCases) {
        Process run(c.line, c.out);
        EXPECT_EQ(run.Wait(), c.status) << c.line;
        EXPECT_THAT(run.Errors(), testing::HasSubstr(Expand(c.says))) << c.line;
    }
}

// Ctrl-C and SIGTERM end the simulator at once, also in a wait of 1000 s between messages
// and in a write that waits for a reader that never comes; its link goes with it.
TEST(ToolRun, ASignalEndsTheSimulatorAtOnce) {
    for (const auto& [line, signo] : {std::pair{"sim --rate 0.001 --count 5", SIGTERM},
                                      std::pair{"sim --pty --link DIR/com2 --rate 0", SIGINT}}) {
        Process sim(line, "DIR/signalled");
        ASSERT_TRUE(Await([] { return !Slurp(Expand("DIR/signalled")).empty(); })) << line;
        std::this_thread::sleep_for(100ms);  // into the wait
        sim.Signal(signo);
        EXPECT_EQ(sim.Wait(2s), 128 + signo) << line;
        EXPECT_FALSE(fs::exists(Expand("DIR/com2")));
    }
}

// The terminal stays open until the reader has everything, however fast or late it reads.
TEST(ToolRun, EveryMessageCountedReachesTheReader) {
    Process("sim --count 1000 --rate 0 --seed 4", "DIR/sent").Wait();
    for (int run = 0; run < 10 && !HasFailure(); ++run) {
        Process sim("sim --pty --link DIR/pty --count 1000 --rate 0 --seed 4", "/dev/null");
        ASSERT_TRUE(Await([] { return fs::exists(Expand("DIR/pty")); }));
        std::this_thread::sleep_for(run % 2 * 300ms);  // a reader that comes late
        Process("cat DIR/pty", "DIR/got").Wait();
        EXPECT_EQ(sim.Wait(), 0);
        EXPECT_EQ(Slurp(Expand("DIR/got")), Slurp(Expand("DIR/sent"))) << "run " << run;
    }
    // Into brenlow-dump through a COM number: one JSON line per message.
    Process sim("sim --pty --link DIR/brenlow/dosdevices/com7 --count 300 --rate 0", "/dev/null");
    ASSERT_TRUE(Await([] { return fs::exists(Expand("DIR/brenlow/dosdevices/com7")); }));
    Process dump("dump --seconds 1.5 --summary --port 7", "DIR/got");
    EXPECT_EQ(dump.Wait(), 0) << dump.Errors();
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_EQ(std::ranges::count(Slurp(Expand("DIR/got")), '\n'), 300);
    EXPECT_THAT(dump.Errors(), testing::HasSubstr("\"decoded\":300,"));
    EXPECT_THAT(dump.Errors(), testing::HasSubstr("\"tooltip\":\"closed: not present\""))
        << "the simulator has gone";
}

}  // namespace
