// What the port box says the port hears, judged from what arrived over the last seconds.
#include "app/Reception.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Clock = Reception::Clock;
using Outcome = SentenceOutcome;

struct Arrival {
    double second;  // after the port opened
    uint64_t bytes;
    std::vector<Outcome> lines;
};

struct Case {
    const char* what;
    std::vector<Arrival> arrivals;
    double judgedAt;
    const char* text;
};

TEST(Reception, JudgesWhatTheLastSecondsBrought) {
    const Outcome ais = Outcome::Decoded, gps = Outcome::OtherNmea, noise = Outcome::NotNmea;
    const Case cases[] = {
        {"just opened", {}, 9.9, "open, listening"},
        {"silence",
         {},
         10.0,
         "open, nothing received for 10 s: is the receiver on, and is this its port?"},
        {"traffic long gone",
         {{1, 50, {ais}}},
         11.5,
         "open, nothing received for 10 s: is the receiver on, and is this its port?"},
        {"the wrong speed",
         {{1, 900, {noise}}, {9.5, 900, {}}},
         10.2,
         "open, bytes but no NMEA lines: is the baud rate right? AIS receivers usually send at "
         "38400, GPS and some VHF radios at 4800"},
        {"a GPS",
         {{2, 70, {gps, gps, noise}}},
         10.5,
         "open, NMEA but no AIS sentences: is this the GPS port?"},
        {"receiving at once",
         {{0.2, 50, {ais}}},
         0.5,
         "receiving: 1 lines, 1 AIS messages decoded, 0 refused"},
        {"receiving, refusals counted by reason",
         {{1,
           9999,
           {ais, ais, Outcome::Checksum, Outcome::Collected, gps, Outcome::Fragment,
            Outcome::Checksum, noise}}},
         3,
         "receiving: 8 lines, 2 AIS messages decoded, 3 refused (checksum 2, fragments 1)"},
    };
    const Clock::time_point opened = Clock::time_point{} + std::chrono::hours(5);
    const auto at = [&](double s) {
        return opened +
               std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
    };
    for (const Case& c : cases) {
        Reception reception;
        reception.PortState(true, opened);
        for (const Arrival& a : c.arrivals) {
            reception.Bytes(a.bytes, at(a.second));
            for (Outcome line : a.lines) {
                reception.Line(line, at(a.second));
            }
        }
        EXPECT_EQ(reception.Text(at(c.judgedAt)), c.text) << c.what;
    }
}

TEST(Reception, TotalsOutliveAReopeningWhichJudgesAfresh) {
    const Clock::time_point t0 = Clock::time_point{} + std::chrono::hours(5);
    Reception reception;
    reception.PortState(true, t0);
    for (int i = 0; i < 1234; ++i) {
        reception.Line(Outcome::Decoded, t0);
    }
    reception.Bytes(60000, t0);
    reception.PortState(false, t0 + std::chrono::seconds(3));
    reception.PortState(true, t0 + std::chrono::seconds(4));
    EXPECT_EQ(reception.Judge(t0 + std::chrono::seconds(5)), Reception::Hearing::Listening);
    EXPECT_EQ(reception.bytes, 60000u);
    reception.Line(Outcome::Decoded, t0 + std::chrono::seconds(6));
    EXPECT_EQ(reception.Text(t0 + std::chrono::seconds(6)),
              "receiving: 1,235 lines, 1,235 AIS messages decoded, 0 refused");
}

}  // namespace
