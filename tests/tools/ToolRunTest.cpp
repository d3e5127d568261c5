// brenlow-dump and brenlow-sim run as a user runs them: options of every kind of nonsense,
// output that cannot be written, signals during long waits, and readers on the terminal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "tests/support/ToolProcess.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

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
    {"sim --replay DIR/absent", "cannot read DIR/absent: No such file or directory"},
    {"sim --replay DIR", "cannot read DIR: not a regular file"},
    {"sim --replay DIR/backwards", "backwards: line 2: the time runs backwards", 2, "DIR/half"},
    {"sim --replay DIR/long --pty", "long: line 1: longer than 1,024 bytes", 2, "DIR/half"},
    {"sim --replay DIR/empty --loop", "", 0},
    {"sim --replay FILE --rate 0", "write error: No space left on device", 2, "/dev/full"},
    {"sim --replay FILE --speed 0", "--speed: bad value \"0\""},
    {"sim --replay FILE --vessels 3", "--vessels does not go with --replay"},
    {"sim --loop", "--loop needs --replay"},
    {"dump --record DIR/recorded", "--record needs --port"},
    {"dump --port 250 --overwrite", "--overwrite needs --record"},
    {"dump --port 250 --record", "--record: missing value"},
    {"dump --port 250 --record FILE",
     "cannot record to DIR/traffic.nmea: File exists (--overwrite"},
    {"dump --port 250 --record DIR/absent/rec", "cannot record to DIR/absent/rec: No such file"},
    {"dump --port 250 --record DIR/fifo --overwrite", "cannot record to DIR/fifo: No such device"},
};

// Recordings that cannot be played as recorded.
const std::pair<const char*, std::string> kBadRecordings[] = {
    {"DIR/backwards", "\\c:1700000001*5E\\A\n\\c:1700000000*5F\\B\n"},
    {"DIR/long", std::string(1023, 'x') + "\r\n"},
    {"DIR/empty", ""},
};

TEST(ToolRun, EveryMisuseEndsWithItsReasonAndStatus) {
    fs::create_directories(Expand("DIR/brenlow/dosdevices"));
    fs::create_symlink("/dev/null", Expand("DIR/brenlow/dosdevices/com251"));
    mkfifo(Expand("DIR/fifo").c_str(), 0600);  // nobody reads it
    Process("sim --count 3000 --rate 0", "FILE").Wait();
    for (const auto& [path, text] : kBadRecordings)
        std::ofstream(Expand(path), std::ios::binary) << text;
    for (const Case& c : kCases) {
        Process run(c.line, c.out);
        EXPECT_EQ(run.Wait(), c.status) << c.line;
        EXPECT_THAT(run.Errors(), testing::HasSubstr(Expand(c.says))) << c.line;
    }
    EXPECT_EQ(Slurp(Expand("DIR/half")), "") << "bad input sends nothing, not even a device path";
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
