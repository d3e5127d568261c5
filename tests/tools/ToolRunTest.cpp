// brenlow-dump and brenlow-sim run as a user runs them: options of every kind of nonsense,
// output that cannot be written, signals during long waits, and readers on the terminal.
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
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

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
            std::filesystem::remove_all(path, ec);
        });
        return std::string(path);
    }();
    return folder;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Waits up to 2 s for `ready`.
template <typename Ready>
bool Await(Ready ready) {
    for (int i = 0; i < 200 && !ready(); ++i)
        std::this_thread::sleep_for(10ms);
    return ready();
}

// One run: "dump" and "sim" name the tools, "DIR" the folder. Standard output goes to `out`
// ("" closes it), standard error is kept.
class Process {
public:
    Process(const std::string& line, const std::string& out)
        : err(Folder() + "/stderr" + std::to_string(++runs)) {
        std::vector<std::string> words;
        std::istringstream split(line);
        for (std::string word; split >> word;) {
            if (word == "dump" || word == "sim")
                word = word == "dump" ? BRENLOW_DUMP : BRENLOW_SIM;
            for (size_t at; (at = word.find("DIR")) != std::string::npos;)
                word.replace(at, 3, Folder());
            words.push_back(word);
        }
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (out.empty())
            posix_spawn_file_actions_addclose(&actions, 1);
        else
            posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
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
        const auto end = std::chrono::steady_clock::now() + limit;
        while (pid > 0 && std::chrono::steady_clock::now() < end) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 256 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(2ms);
        }
        return -1;
    }
    void Signal(int signo) { kill(pid, signo); }
    std::string Errors() const { return Read(err); }

private:
    static inline int runs = 0;
    std::string err;
    pid_t pid = -1;
};

const std::string& NmeaFile() {
    static const std::string file = [] {
        const std::string path = Folder() + "/traffic.nmea";
        Process("sim --count 3000 --rate 0", path).Wait();
        return path;
    }();
    return file;
}

struct Case {
    const char* line;
    const char* out;  // "" closes standard output
    int status;
    const char* says;  // on standard error
};

constexpr Case kCases[] = {
    {"dump --port 3 --seconds nan", "/dev/null", 2, "--seconds: bad value \"nan\""},
    {"dump --seconds inf --port 3", "/dev/null", 2, "--seconds: bad value \"inf\""},
    {"dump --port 3 --seconds 1e300", "/dev/null", 2, "--seconds: bad value"},
    {"dump --port 3 --seconds -1", "/dev/null", 2, "--seconds: bad value"},
    {"dump --port 3 --seconds 0", "/dev/null", 2, "--seconds: bad value"},
    {"dump --port 3 --seconds 2s", "/dev/null", 2, "--seconds: bad value"},
    {"dump --port 3 --seconds", "/dev/null", 2, "--seconds: missing value"},
    {"dump --seconds 1 FILE", "/dev/null", 2, "--seconds needs --port"},
    {"dump FILE --summary", "/dev/null", 2, "--summary needs --port"},
    {"dump --port 0", "/dev/null", 2, "--port: bad value \"0\""},
    {"dump --port 256", "/dev/null", 2, "--port: bad value"},
    {"dump --port 18446744073709551617", "/dev/null", 2, "--port: bad value"},
    {"dump --port com3", "/dev/null", 2, "--port: bad value"},
    {"dump --port 3 FILE", "/dev/null", 2, "--port reads no files"},
    {"dump --ports 3", "/dev/null", 2, "--ports: unknown option"},
    {"dump DIR/absent", "/dev/null", 2, "cannot read DIR/absent: No such file or directory"},
    {"dump DIR", "/dev/null", 2, "error reading DIR: Is a directory"},
    {"dump FILE", "/dev/full", 2, "write error: No space left on device"},
    {"dump FILE", "", 2, "write error: Bad file descriptor"},
    {"dump --help", "/dev/full", 2, "write error: No space left on device"},
    {"dump -- FILE", "/dev/null", 0, ""},
    {"dump --seconds 0.2 --port 250", "/dev/null", 0, "COM250 is not present; waiting for it"},
    {"dump --summary --seconds 0.2 --port 250", "/dev/null", 0,
     "\"hearing\":\"closed\",\"tooltip\":\"closed: not present\"}"},
    {"dump --port 251 --seconds 30", "/dev/null", 2,
     "cannot open COM251 (19200,N,8,1): the device refuses these line settings"},
    {"sim --vessels 0 --no-own --count 1", "/dev/null", 2, "no station"},
    {"sim --rate 1e-12", "/dev/null", 2, "--rate: bad value \"1e-12\""},
    {"sim --rate 1e6", "/dev/null", 2, "--rate: bad value"},
    {"sim --rate nan", "/dev/null", 2, "--rate: bad value"},
    {"sim --rate -1", "/dev/null", 2, "--rate: bad value"},
    {"sim --seconds inf", "/dev/null", 2, "--seconds: bad value"},
    {"sim --seconds 1e300", "/dev/null", 2, "--seconds: bad value"},
    {"sim --seconds 0", "/dev/null", 2, "--seconds: bad value"},
    {"sim --count 0", "/dev/null", 2, "--count: bad value"},
    {"sim --count -1", "/dev/null", 2, "--count: bad value"},
    {"sim --count 99999999999999999999", "/dev/null", 2, "--count: bad value"},
    {"sim --vessels 12x", "/dev/null", 2, "--vessels: bad value"},
    {"sim --vessels 10001", "/dev/null", 2, "--vessels: bad value"},
    {"sim --seed -1", "/dev/null", 2, "--seed: bad value"},
    {"sim --faults nan", "/dev/null", 2, "--faults: bad value"},
    {"sim --faults 1.5", "/dev/null", 2, "--faults: bad value"},
    {"sim --fault-kinds lost,bogus", "/dev/null", 2, "--fault-kinds: bad value"},
    {"sim --static-every 0", "/dev/null", 2, "--static-every: bad value"},
    {"sim --own-mmsi 1073741824", "/dev/null", 2, "--own-mmsi: bad value"},
    {"sim --lat inf", "/dev/null", 2, "--lat: bad value"},
    {"sim --count", "/dev/null", 2, "--count: missing value"},
    {"sim --bogus 1", "/dev/null", 2, "--bogus: unknown option"},
    {"sim --link DIR/com1", "/dev/null", 2, "--link needs --pty"},
    {"sim --pty --count 1 --link /dev/null/com1", "/dev/null", 2, "cannot link /dev/null/com1"},
    {"sim --count 3", "/dev/full", 2, "write error: No space left on device"},
    {"sim --count 3", "", 2, "write error: Bad file descriptor"},
    {"sim --count 3 --rate 0 --log /dev/full", "/dev/null", 2,
     "cannot write /dev/full: No space left on device"},
};

TEST(ToolRun, EveryMisuseEndsWithItsReasonAndStatus) {
    std::filesystem::create_directories(Folder() + "/brenlow/dosdevices");
    std::filesystem::create_symlink("/dev/null", Folder() + "/brenlow/dosdevices/com251");
    for (const Case& c : kCases) {
        std::string line = c.line, says = c.says;
        for (size_t at; (at = line.find("FILE")) != std::string::npos;)
            line.replace(at, 4, NmeaFile());
        for (size_t at; (at = says.find("DIR")) != std::string::npos;)
            says.replace(at, 3, Folder());
        Process run(line, c.out);
        EXPECT_EQ(run.Wait(), c.status) << c.line;
        EXPECT_NE(run.Errors().find(says), std::string::npos) << c.line << ": " << run.Errors();
    }
}

// Ctrl-C and SIGTERM end the simulator at once, also in a wait of 1000 s between messages
// and in a write that waits for a reader that never comes; its link goes with it.
TEST(ToolRun, ASignalEndsTheSimulatorAtOnce) {
    const std::string out = Folder() + "/signalled";
    for (const auto& [line, signo] : {std::pair{"sim --rate 0.001 --count 5", SIGTERM},
                                      std::pair{"sim --pty --link DIR/com2 --rate 0", SIGINT}}) {
        Process sim(line, out);
        ASSERT_TRUE(Await([&] { return !Read(out).empty(); })) << line;
        std::this_thread::sleep_for(100ms);  // into the wait
        sim.Signal(signo);
        EXPECT_EQ(sim.Wait(2s), 128 + signo) << line;
        EXPECT_NE(access((Folder() + "/com2").c_str(), F_OK), 0);
    }
}

// The terminal stays open until the reader has everything, however fast or late it reads.
TEST(ToolRun, EveryMessageCountedReachesTheReader) {
    const std::string sent = Folder() + "/sent", got = Folder() + "/got", link = Folder() + "/pty";
    Process("sim --count 1000 --rate 0 --seed 4", sent).Wait();
    for (int run = 0; run < 10 && !HasFailure(); ++run) {
        Process sim("sim --pty --link DIR/pty --count 1000 --rate 0 --seed 4", "/dev/null");
        ASSERT_TRUE(Await([&] { return access(link.c_str(), F_OK) == 0; }));
        std::this_thread::sleep_for(run % 2 * 300ms);  // a reader that comes late
        Process("cat " + link, got).Wait();
        EXPECT_EQ(sim.Wait(), 0);
        EXPECT_EQ(Read(got), Read(sent)) << "run " << run;
    }
    // Into brenlow-dump through a COM number: one JSON line per message.
    Process sim("sim --pty --link DIR/brenlow/dosdevices/com7 --count 300 --rate 0", "/dev/null");
    ASSERT_TRUE(
        Await([&] { return access((Folder() + "/brenlow/dosdevices/com7").c_str(), F_OK) == 0; }));
    Process dump("dump --seconds 1.5 --summary --port 7", got);
    EXPECT_EQ(dump.Wait(), 0) << dump.Errors();
    EXPECT_EQ(sim.Wait(), 0);
    const std::string json = Read(got);
    EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 300);
    EXPECT_NE(dump.Errors().find("\"decoded\":300,"), std::string::npos) << dump.Errors();
    EXPECT_NE(dump.Errors().find("\"tooltip\":\"closed: not present\""), std::string::npos)
        << "the simulator has gone";
}

}  // namespace
