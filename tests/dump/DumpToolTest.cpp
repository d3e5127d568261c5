// brenlow-dump as a user runs it: files, a live port, bad usage.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>

#include "tests/support/PayloadBuilder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TestPort.h"

// Exit status and standard output.
static std::pair<int, std::vector<std::string>> Dump(const std::string& arguments) {
    std::FILE* out = popen((BRENLOW_DUMP " " + arguments + " 2>/dev/null").c_str(), "r");
    std::vector<std::string> lines;
    for (char line[4096]; out != nullptr && std::fgets(line, sizeof line, out) != nullptr;)
        lines.emplace_back(line);
    const int status = out != nullptr ? pclose(out) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, lines};
}

TEST(DumpTool, DecodesFilesAndALivePortAndRefusesBadUsage) {
    RegistrySandbox sandbox;  // the port's line settings are read, and stored on first use
    ASSERT_TRUE(sandbox.Ready());
    const std::string position = Sentence("15RTgt0PAso;90TKcjM8h6g208CQ");
    const std::string voyage =
        PayloadBuilder(424).Set(1, 6, 5).Set(9, 30, 1).Text(113, 20, "SAY \"HI\" \\").Armoured();
    const std::string file = testing::TempDir() + "dump.nmea";
    std::ofstream(file) << position << "noise\n"
                        << Sentence(voyage.substr(0, 50), 2, 1, "1")
                        << Sentence(voyage.substr(50), 2, 2, "1", "A", 2);
    auto [status, lines] = Dump(file + " /nonexistent.nmea");
    EXPECT_EQ(status, 2) << "a file that cannot be read";
    ASSERT_EQ(lines.size(), 2u) << "the readable one is decoded";
    using ::testing::HasSubstr;
    EXPECT_THAT(lines[0], HasSubstr("\"LatitudeText\":\"48\xC2\xB0 22.8980' N\""));
    EXPECT_THAT(lines[1], HasSubstr("\"line\":4,"));
    EXPECT_THAT(lines[1], HasSubstr("\"shipName\":\"SAY \\\"HI\\\" \\\\\""));
    EXPECT_EQ(Dump("--port x").first, 2);
    EXPECT_EQ(Dump("--port 9 --seconds 1").first, 2) << "no such port";
    TestPort port(9);
    ASSERT_TRUE(port.Ok() && port.Write(position.data(), position.size()));
    std::tie(status, lines) = Dump("--port 9 --seconds 1");
    EXPECT_EQ(status, 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0], HasSubstr("\"mmsi\":371798000"));
}
