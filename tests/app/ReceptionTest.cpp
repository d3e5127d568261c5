// What the port box says the port hears, judged from what arrived over the last seconds.
#include "app/Reception.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using Clock = Reception::Clock;
using Outcome = SentenceOutcome;

const Clock::time_point kOpened = Clock::time_point{} + std::chrono::hours(5);

Clock::time_point At(double s) {
    return kOpened + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
}

// At a second after the port opened: so many bytes, and lines of these outcomes.
using Arrival = std::tuple<double, uint64_t, std::vector<Outcome>>;

TEST(Reception, JudgesWhatTheLastSecondsBrought) {
    const Outcome ais = Outcome::Decoded, gps = Outcome::OtherNmea, noise = Outcome::NotNmea,
                  sum = Outcome::Checksum, part = Outcome::Collected, lost = Outcome::Fragment;
    const std::string silent =
        "open, nothing received for 10 s: is the receiver on, and is this its port?";
    // What is said, when, of what arrived.
    const std::tuple<std::string, double, std::vector<Arrival>> cases[] = {
        {"open, listening", 9.9, {}},
        {silent, 10.0, {}},
        {silent, 11.5, {{1, 50, {ais}}}},  // traffic long gone
        {"open, bytes but no NMEA lines: is the baud rate right? AIS receivers usually send at "
         "38400, GPS and some VHF radios at 4800",
         10.2,
         {{1, 900, {noise}}, {9.5, 900, {}}}},
        {"open, NMEA but no AIS sentences: is this the GPS port?",
         10.5,
         {{2, 70, {gps, gps, noise}}}},
        {"receiving: 1 lines, 1 AIS messages decoded, 0 refused", 0.5, {{0.2, 50, {ais}}}},
        {"receiving: 8 lines, 2 AIS messages decoded, 3 refused (checksum 2, fragments 1)",
         3,
         {{1, 9999, {ais, ais, sum, part, gps, lost, sum, noise}}}}};
    for (const auto& [text, judgedAt, arrivals] : cases) {
        Reception reception;
        reception.PortState(true, kOpened);
        for (const auto& [second, bytes, lines] : arrivals) {
            reception.Bytes(bytes, At(second));
            for (Outcome line : lines)
                reception.Line(line, At(second));
        }
        EXPECT_EQ(reception.Text(At(judgedAt)), text);
    }
}

TEST(Reception, TotalsOutliveAReopeningWhichJudgesAfresh) {
    Reception reception;
    reception.PortState(true, kOpened);
    for (int i = 0; i < 1234; ++i)
        reception.Line(Outcome::Decoded, kOpened);
    reception.Bytes(60000, kOpened);
    reception.PortState(false, At(3));
    reception.PortState(true, At(4));
    EXPECT_EQ(reception.Judge(At(5)), Reception::Hearing::Listening);
    EXPECT_EQ(reception.bytes, 60000u);
    reception.Line(Outcome::Decoded, At(6));
    EXPECT_EQ(reception.Text(At(6)),
              "receiving: 1,235 lines, 1,235 AIS messages decoded, 0 refused");
}

}  // namespace
