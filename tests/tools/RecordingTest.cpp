// What brenlow-sim --replay makes of a recording: the bytes it sends, when, and what it refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/brenlow-sim/ReplayClock.h"
#include "tools/common/TagBlock.h"

namespace {

std::string T(int64_t ms) {
    char block[kTagBlockSize];
    return std::string(block, FormatTagBlock(ms, block));
}

struct Case {
    std::string file;
    double speed, rate;
    std::string played;  // each line sent "@" its due time in ms, then the error, if any
};

const std::string kLong = std::string(1022, 'x') + "\r\n";  // 1,024 bytes: the longest
const std::string kDamaged = "line 1: damaged tag block (its \"*hh\" or its \"c:\")";

const Case kCases[] = {
    {T(1e12) + "A\r\n" + T(1e12 + 250) + "B\r\n" + "C\n" + T(1e12 + 1000) + "D", 2, 10,
     "A\r\n@0|B\r\n@125|C\n@225|D@500|"},
    {"\\c:1700000000*5F\\X\n\\s:kplex,c:1700000002*52\\Y\n", 1, 0, "X\n@0|Y\n@2000|"},
    {"\\s:r1*0a\\$GPGGA\n\\no close\n\n", 1, 0, "$GPGGA\n@0|\\no close\n@0|\n@0|"},
    {T(2000) + "P\n" + "Q\n" + T(2500) + "R\n" + T(2500) + "S\n", 1, 1,
     "P\n@0|Q\n@1000|R\n@1000|S\n@1000|"},
    {"\\c:1700000000*00\\X\n", 1, 0, kDamaged},
    {"\\c:12a*3B\\X\n", 1, 0, kDamaged},
    {"\\c:12345678901234567*68\\X\n", 1, 0, kDamaged},
    {"\\c:1700000000\\X\n", 1, 0, kDamaged},
    {T(1000) + "A\n" + T(900) + "B\n", 1, 0,
     "A\n@0|line 2: the time runs backwards (100 ms before line 1)"},
    {kLong + "y" + kLong, 1, 0,
     kLong + "@0|line 2: longer than 1,024 bytes (the monitor would cut it)"},
};

TEST(Recording, PlaysEveryLineAsRecordedAtItsTimeAndRefusesWhatItCannot) {
    EXPECT_EQ(T(1700000000123), "\\c:1700000000123*6F\\");
    EXPECT_EQ(T(999), "\\c:0000000000999*60\\") << "never read back as seconds";
    for (const Case& c : kCases) {
        // Not tmpfile(): on Windows it writes to the drive's root folder.
        std::FILE* file = std::fopen("recording-test.nmea", "w+b");
        ASSERT_NE(file, nullptr);
        std::fwrite(c.file.data(), 1, c.file.size(), file);
        std::rewind(file);
        RecordingReader reader(file);
        ReplayClock clock(c.speed, c.rate);
        std::string played;
        for (ReplayLine line; reader.Next(line);) {
            const auto due = std::chrono::round<std::chrono::milliseconds>(clock.Due(line));
            played += std::string(line.bytes) + "@" + std::to_string(due.count()) + "|";
        }
        EXPECT_EQ(played + reader.Error(), c.played) << c.file;
        std::fclose(file);
    }
    std::remove("recording-test.nmea");
}

}  // namespace
