#include "tools/brenlow-sim/SimOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <span>
#include <string_view>

namespace {

constexpr std::string_view ValueOptions[] = {
    "--link",         "--log",         "--vessels", "--rate",   "--seed",
    "--static-every", "--own-mmsi",    "--lat",     "--lon",    "--faults",
    "--count",        "--fault-kinds", "--seconds", "--replay", "--speed"};

// What only simulated traffic has, and what only a replay has.
constexpr std::string_view TrafficOnly[] = {
    "--log", "--vessels", "--seed",   "--static-every", "--own-mmsi", "--no-own",
    "--lat", "--lon",     "--faults", "--fault-kinds",  "--count"};
constexpr std::string_view ReplayOnly[] = {"--speed", "--loop"};

bool Listed(std::string_view arg, std::span<const std::string_view> list) {
    return std::find(list.begin(), list.end(), arg) != list.end();
}

constexpr double kYear = 365.0 * 24 * 3600;

// A finite number in [lo, hi], the whole text (NaN fails every comparison).
bool ToDouble(std::string_view text, double lo, double hi, double& out) {
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || std::isspace(static_cast<unsigned char>(copy[0])) ||
        end != copy.c_str() + copy.size() || !(value >= lo && value <= hi)) {
        return false;
    }
    out = value;
    return true;
}

template <typename T>
bool ToInteger(std::string_view text, T lo, T hi, T& out) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < lo || value > hi) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

const char* SimHelpText() {
    return R"(Usage: brenlow-sim [options]

Simulates the AIS traffic a receiver delivers on its serial port: position reports
(types 1, 2 and 3) and two-sentence static and voyage reports (type 5) of moving
vessels as "!AIVDM" sentences, and the own vessel's reports as "!AIVDO", each line
ending in CR LF, with valid armour and checksums unless faults are asked for.
With --replay it plays a recording of a real receiver instead.

Output:
  (default)          write the sentences to standard output
  --pty              create a pseudo-terminal, print its device path on standard
                     output (one line) and write the sentences there; writing waits
                     while nobody reads and the terminal's buffer is full
  --link PATH        with --pty: make PATH a symlink to the device, e.g.
                     $XDG_CONFIG_HOME/brenlow/dosdevices/com7 for COM7
                     (replaces an existing symlink; removed again at the end)
  --log FILE         truth log: one JSON line per message sent, with its raw field
                     values, the lines as sent, "fault" (none, checksum, noise, nul,
                     lost, garbage) and "tainted" (an earlier damaged multi-sentence
                     message may have left a fragment that a decoder joins to this one)

Traffic:
  --vessels N        number of other vessels (default 10, 0..10000; 0 only with
                     the own vessel)
  --rate R           messages per second, 0.001..100000 (default 10); 0 = as fast
                     as possible, simulated time then advancing 0.1 s per message
  --seed S           seed of the fleet, the schedule and the faults (default 1);
                     the same options and seed give the same output
  --static-every N   every N-th report of a station is its static report (default 5;
                     each station starts with one)
  --no-own           no own vessel
  --own-mmsi M       own vessel's MMSI (default 211999990)
  --lat DEG --lon DEG  centre of the area (default 54.45 10.25)

Faults:
  --faults SHARE     share of messages hit by a fault, 0..1 (default 0)
  --fault-kinds LIST comma-separated kinds (default all):
                       checksum  one checksum digit changed
                       noise     1-3 payload characters replaced by stray bytes
                       nul       1-3 NUL bytes before the line or inside the payload
                       lost      one sentence of the message not sent
                       garbage   a 2000-byte garbage line sent in front of the message

Replay (instead of simulated traffic):
  --replay FILE      play FILE, a recording made with brenlow-dump --record or any
                     NMEA log, byte for byte as recorded (a tag block in front of a
                     line taken off, the line's own end kept), paced by the times in
                     the tag blocks ("c:": up to 12 digits seconds, more milliseconds)
  --speed X          play the recorded times X times faster, 0.001..100000 (default 1)
  --rate R           lines per second for lines without a time (default 10; 0 = at
                     once)
  --loop             play FILE again and again (ends with --seconds or a signal)
  FILE is checked whole before anything is sent: a damaged tag block, a line
  over 1,024 bytes with its line end (the monitor would cut it) or a time that
  runs backwards sends nothing and ends with status 2. It must be a regular
  file (it is read twice). The traffic and fault options and --count do not
  go with --replay.

Ending:
  --count N          stop after N messages
  --seconds S        stop after S seconds (0.001 up to a year)
  Without either it runs until interrupted. With --pty, the end waits until the
  reader has taken every byte written, or until nobody has had the device open
  for 2 seconds (with --seconds: for at most 2 seconds past the time).
  Ctrl-C and SIGTERM end it at once, whatever the rate.

  --help             this text

Exit status: 0 when done; 2 on a bad option, an empty fleet, a recording that
cannot be played, or output that cannot be written (the reason on standard
error); 128+N when ended by signal N
(130 for Ctrl-C, 143 for SIGTERM).
)";
}

bool ParseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& error) {
    std::string_view trafficOnly;
    std::string_view replayOnly;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        trafficOnly = Listed(arg, TrafficOnly) ? arg : trafficOnly;
        replayOnly = Listed(arg, ReplayOnly) ? arg : replayOnly;
        const bool hasValue = i + 1 < argc;
        const std::string_view value = hasValue ? std::string_view(argv[i + 1]) : "";
        bool ok = true;
        bool usesValue = true;
        TrafficOptions& t = out.traffic;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
            usesValue = false;
        } else if (arg == "--pty") {
            out.pty = true;
            usesValue = false;
        } else if (arg == "--no-own") {
            t.own = false;
            usesValue = false;
        } else if (arg == "--loop") {
            out.loop = true;
            usesValue = false;
        } else if (!hasValue) {
            const bool known = Listed(arg, ValueOptions);
            error = std::string(arg) + (known ? ": missing value" : ": unknown option");
            return false;
        } else if (arg == "--link") {
            out.link = value;
            ok = !value.empty();
        } else if (arg == "--log") {
            out.log = value;
        } else if (arg == "--vessels") {
            ok = ToInteger(value, 0, 10000, t.vessels);
        } else if (arg == "--rate") {
            ok = ToDouble(value, 0.0, 100000.0, t.rate) && (t.rate == 0.0 || t.rate >= 0.001);
        } else if (arg == "--seed") {
            ok = ToInteger<uint64_t>(value, 0, UINT64_MAX, t.seed);
        } else if (arg == "--static-every") {
            ok = ToInteger(value, 1, 1000000, t.staticEvery);
        } else if (arg == "--own-mmsi") {
            ok = ToInteger<uint32_t>(value, 1, (1u << 30) - 1, t.ownMmsi);
        } else if (arg == "--lat") {
            ok = ToDouble(value, -80.0, 80.0, t.latitude);
        } else if (arg == "--lon") {
            ok = ToDouble(value, -179.0, 179.0, t.longitude);
        } else if (arg == "--faults") {
            ok = ToDouble(value, 0.0, 1.0, t.faultShare);
        } else if (arg == "--fault-kinds") {
            ok = ParseFaultKinds(value, t.faultKinds);
        } else if (arg == "--count") {
            ok = ToInteger<uint64_t>(value, 1, UINT64_MAX, out.count);
        } else if (arg == "--seconds") {
            ok = ToDouble(value, 0.001, kYear, out.seconds);
        } else if (arg == "--replay") {
            out.replay = value;
            ok = !value.empty();
        } else if (arg == "--speed") {
            ok = ToDouble(value, 0.001, 100000.0, out.speed);
        } else {
            error = std::string(arg) + ": unknown option";
            return false;
        }
        if (!ok) {
            error = std::string(arg) + ": bad value \"" + std::string(value) + "\"";
            return false;
        }
        i += usesValue ? 1 : 0;
    }
    if (!out.link.empty() && !out.pty) {
        error = "--link needs --pty";
        return false;
    }
    if (!out.replay.empty() && !trafficOnly.empty()) {
        error = std::string(trafficOnly) + " does not go with --replay";
        return false;
    }
    if (out.replay.empty() && !replayOnly.empty()) {
        error = std::string(replayOnly) + " needs --replay";
        return false;
    }
    if (out.traffic.vessels == 0 && !out.traffic.own && !out.help) {
        error = "--vessels 0 with --no-own leaves no station to simulate";
        return false;
    }
    return true;
}
