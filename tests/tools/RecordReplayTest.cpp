// A receiver recorded through a COM port, played back into one, and heard over the network:
// the tools as processes, on pseudo-terminals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "tests/support/ToolProcess.h"
#include "tools/common/TagBlock.h"

namespace {

using namespace std::chrono_literals;

bool Linked(const char* link) {
    return Await([&] { return std::filesystem::exists(Expand(link)); });
}

// Damaged lines too (no cut ones: the monitor takes a line of over 1,024 bytes as its tail).
constexpr const char* kTraffic =
    " --count 300 --rate 300 --seed 5 --faults 0.3 --fault-kinds checksum,noise,nul,lost";

TEST(RecordReplay, TheRecordingIsWhatWasSentAndPlaysBackAsItDecodes) {
    Process(std::string("sim") + kTraffic, "DIR/sent").Wait();
    Process sim(std::string("sim --pty --link DIR/brenlow/dosdevices/com7") + kTraffic,
                "/dev/null");
    ASSERT_TRUE(Linked("DIR/brenlow/dosdevices/com7"));
    Process dump("dump --port 7 --seconds 2 --record DIR/recording", "DIR/live");
    EXPECT_EQ(dump.Wait(), 0) << dump.Errors();
    EXPECT_EQ(sim.Wait(), 0);
    std::ifstream recording(Expand("DIR/recording"), std::ios::binary);
    size_t timed = 0;
    for (std::string line; std::getline(recording, line);)
        timed += SplitTagBlock(line).kind == TagBlockKind::Timed;
    EXPECT_EQ(timed, std::ranges::count(Slurp(Expand("DIR/sent")), '\n'));
    Process("sim --replay DIR/recording --rate 0", "DIR/replayed").Wait();
    EXPECT_EQ(Slurp(Expand("DIR/replayed")), Slurp(Expand("DIR/sent")));
    Process("dump DIR/recording", "DIR/decoded").Wait();
    EXPECT_EQ(Slurp(Expand("DIR/decoded")), Slurp(Expand("DIR/live")));
    Process replay("sim --replay DIR/recording --speed 4 --pty --link DIR/brenlow/dosdevices/com8",
                   "/dev/null");
    ASSERT_TRUE(Linked("DIR/brenlow/dosdevices/com8"));
    Process("dump --port 8 --seconds 2", "DIR/again").Wait();
    EXPECT_EQ(Slurp(Expand("DIR/again")), Slurp(Expand("DIR/live")));
    // A full disk ends the recording at its first line, with the reason.
    Process feed("sim --replay DIR/recording --pty --link DIR/brenlow/dosdevices/com9",
                 "/dev/null");
    ASSERT_TRUE(Linked("DIR/brenlow/dosdevices/com9"));
    Process full("dump --port 9 --seconds 5 --record /dev/full --overwrite", "DIR/full");
    EXPECT_EQ(full.Wait(), 2);
    EXPECT_THAT(full.Errors(), testing::HasSubstr("cannot write /dev/full: No space left on"));
    EXPECT_EQ(Slurp(Expand("DIR/full")), "");
}

// Each line reaches the reader within 50 ms of its recorded time, at any speed, and --loop
// plays the recording again.
TEST(RecordReplay, LinesComeAtTheirRecordedTimes) {
    const int64_t kGaps[] = {0, 40, 300, 5, 600, 120, 900, 10, 700};
    std::ofstream paced(Expand("DIR/paced"), std::ios::binary);
    int64_t ms = 1700000000000;
    for (const int64_t gap : kGaps) {
        char block[kTagBlockSize];
        paced << std::string(block, FormatTagBlock(ms += gap, block)) << "$GPTXT,x*00\r\n";
    }
    paced.close();
    mkfifo(Expand("DIR/fifo").c_str(), 0600);
    for (const double speed : {1.0, 2.5}) {
        Process sim("sim --replay DIR/paced --speed " + std::to_string(speed), "DIR/fifo");
        const int fifo = open(Expand("DIR/fifo").c_str(), O_RDONLY);
        std::vector<std::chrono::steady_clock::time_point> arrived;
        char bytes[4096];
        for (ssize_t n; (n = read(fifo, bytes, sizeof bytes)) > 0;)
            arrived.insert(arrived.end(), std::count(bytes, bytes + n, '\n'),
                           std::chrono::steady_clock::now());
        close(fifo);
        ASSERT_EQ(arrived.size(), std::size(kGaps)) << speed;
        for (size_t i = 0, due = 0; i < arrived.size(); ++i)
            EXPECT_NEAR((arrived[i] - arrived[0]) / 1ms, (due += kGaps[i]) / speed, 50)
                << "line " << i << " at speed " << speed;
    }
    Process("sim --replay DIR/paced --speed 100 --loop --seconds 1", "DIR/looped").Wait();
    std::string looped = Slurp(Expand("DIR/looped")), line = "$GPTXT,x*00\r\n", again;
    while (again.size() < looped.size())
        again += line;
    EXPECT_TRUE(looped.size() > 2 * std::size(kGaps) * line.size() && looped == again);
}

// The README's recipe: a UDP port bridged to a COM number with socat. What the network sends
// decodes as the same lines from a file do.
TEST(RecordReplay, ANetworkReceiverReadsLikeASerialOne) {
    const std::string port = std::to_string(20000 + getpid() % 20000);
    Process("sim --count 100 --rate 0 --seed 6", "DIR/net.nmea").Wait();
    Process("dump DIR/net.nmea", "DIR/net.json").Wait();
    Process bridge(
        "exec socat -u UDP-RECV:" + port + " PTY,link=DIR/brenlow/dosdevices/com10,raw,echo=0",
        "/dev/null");
    ASSERT_TRUE(Linked("DIR/brenlow/dosdevices/com10")) << bridge.Errors();
    Process dump("dump --port 10 --seconds 3", "DIR/net.got");
    std::this_thread::sleep_for(500ms);  // the port is open
    Process("(sim --replay DIR/net.nmea --rate 500 | socat -u - UDP-SENDTO:127.0.0.1:" + port + ")",
            "/dev/null")
        .Wait();
    EXPECT_EQ(dump.Wait(), 0) << dump.Errors();
    EXPECT_EQ(Slurp(Expand("DIR/net.got")), Slurp(Expand("DIR/net.json")));
}

}  // namespace
