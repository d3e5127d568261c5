// brenlow-dump as a user runs it: files, standard input, a live port, and its failures.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/JsonFields.h"
#include "tests/support/PayloadBuilder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TestPort.h"

namespace {

const std::string kCorpus = BRENLOW_CORPUS_DIR;

struct DumpRun {
    int status = -1;
    std::vector<std::string> lines;  // standard output
};

DumpRun Dump(const std::string& arguments) {
    DumpRun run;
    std::FILE* out = popen((std::string(BRENLOW_DUMP) + " " + arguments).c_str(), "r");
    if (!out)
        return run;
    char buffer[65536];
    while (std::fgets(buffer, sizeof buffer, out)) {
        std::string line = buffer;
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        run.lines.push_back(line);
    }
    const int status = pclose(out);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string TempFile(const std::string& content) {
    char path[] = "/tmp/brenlow-dump-test-XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

TEST(DumpTool, FaultCollectionGivesOneObjectPerKeptMessage) {
    const DumpRun run = Dump(kCorpus + "/faults.nmea");
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), 53u);
    const JsonFields first(run.lines.front());
    EXPECT_EQ(first.Number("line"), 2);
    EXPECT_EQ(first.Number("type"), 1);
    EXPECT_EQ(first.Bool("own"), false);
    EXPECT_EQ(first.Number("mmsi"), 413434660);
    // The own vessel's report of the collection is marked.
    int own = 0;
    for (const std::string& line : run.lines)
        own += JsonFields(line).Bool("own") == true;
    EXPECT_EQ(own, 1);
}

TEST(DumpTool, FieldsAndTextsOfBothMessageKinds) {
    PayloadBuilder position;
    position.Set(1, 6, 3).Set(9, 30, 257000001).Set(43, 8, 128).Set(90, 27, 30900000);
    PayloadBuilder voyage(424);
    voyage.Set(1, 6, 5).Set(9, 30, 257000001).Text(113, 20, "SAY \"HI\" \\").Set(295, 8, 75);
    const std::string v = voyage.Armoured();
    const std::string file =
        TempFile(Sentence(position.Armoured()) + "noise\n" + Sentence(v.substr(0, 50), 2, 1, "1") +
                 Sentence(v.substr(50), 2, 2, "1", "A", 2));
    const DumpRun run = Dump(file);
    std::remove(file.c_str());
    ASSERT_EQ(run.lines.size(), 2u);

    const JsonFields p(run.lines[0]);
    EXPECT_EQ(p.Number("type"), 3);
    EXPECT_TRUE(run.lines[0].find("\"rateOfTurn\":null") != std::string::npos);
    EXPECT_EQ(p.Number("latitude"), 51.5);
    EXPECT_EQ(p.String("LatitudeText"), "51\xC2\xB0 30.0000' N") << "degree sign in UTF-8";
    EXPECT_FALSE(p.Has("shipName")) << "a position report prints only its own fields";

    const JsonFields s(run.lines[1]);
    EXPECT_EQ(s.Number("line"), 4) << "the line that completed the message";
    EXPECT_EQ(s.String("shipName"), "SAY \"HI\" \\");
    EXPECT_EQ(s.Number("draught"), 7.5);
    EXPECT_EQ(s.String("DraughtText"), "007.5");
    EXPECT_EQ(s.String("etaText"), "n/a");
    EXPECT_FALSE(s.Has("navStatus"));
}

TEST(DumpTool, StandardInputAndUnreadableFiles) {
    const DumpRun fromStdin = Dump("< " + kCorpus + "/faults.nmea");
    EXPECT_EQ(fromStdin.status, 0);
    EXPECT_EQ(fromStdin.lines.size(), 53u);

    const DumpRun missing = Dump("/nonexistent/file.nmea " + kCorpus + "/faults.nmea 2>/dev/null");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.lines.size(), 53u) << "the readable file is still decoded";

    const DumpRun help = Dump("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_FALSE(help.lines.empty());
    EXPECT_EQ(Dump("--port x 2>/dev/null").status, 2);
}

TEST(DumpTool, BinaryJunkIsSurvived) {
    std::string junk;
    for (int i = 0; i < 200000; ++i)
        junk += static_cast<char>((i * 7919) % 256);
    const std::string file = TempFile(junk + "\n" + std::string(3 << 20, 'A') + "\n" +
                                      Sentence("13aDoPhP00PCmi<MEl5KoOw025Ip"));
    const DumpRun run = Dump(file);
    std::remove(file.c_str());
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(JsonFields(run.lines[0]).Number("line"),
              3 + static_cast<int>(std::count(junk.begin(), junk.end(), '\n')));
}

TEST(DumpTool, LivePortIsDecodedWithTheStoredSettings) {
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.Ready());
    TestPort port(9);
    ASSERT_TRUE(port.Ok());
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        std::ifstream in(kCorpus + "/real.nmea");
        std::string line;
        for (int i = 0; i < 20 && std::getline(in, line); ++i) {
            line += "\r\n";
            port.Write(line.data(), line.size());
        }
    });
    const DumpRun run = Dump("--port 9 --seconds 1.5");
    writer.join();
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.lines.size(), 5u);
    EXPECT_EQ(JsonFields(run.lines[0]).Number("mmsi"), 371798000);
    // First use stored the monitor's defaults; the port given for the run is not stored.
    std::ifstream registry(std::string(std::getenv("XDG_CONFIG_HOME")) + "/brenlow/registry.reg");
    std::stringstream text;
    text << registry.rdbuf();
    EXPECT_NE(text.str().find("[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\n"
                              "\"Port Number\"=dword:00000000\n\"Baud Rate\"=dword:00004b00\n"),
              std::string::npos)
        << text.str();
    EXPECT_EQ(Dump("--port 10 --seconds 1 2>/dev/null").status, 2) << "no such port";
}

}  // namespace
