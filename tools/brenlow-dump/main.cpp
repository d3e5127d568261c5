// brenlow-dump: decodes AIS NMEA lines to one JSON object per decoded message.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ais/AisDecoder.h"
#include "tools/brenlow-dump/DumpOptions.h"
#include "tools/brenlow-dump/JsonWriter.h"
#include "tools/brenlow-dump/MessageJson.h"
#include "tools/brenlow-dump/PortDump.h"
#include "tools/common/LineReader.h"
#include "tools/common/TagBlock.h"

namespace {

constexpr const char* kShortUsage =
    "Usage: brenlow-dump [FILE...]\n"
    "       brenlow-dump --port N [--seconds S] [--summary] [--record FILE [--overwrite]]\n"
    "Try 'brenlow-dump --help'.\n";

constexpr const char* kUsage =
    "Usage: brenlow-dump [FILE...]\n"
    "       brenlow-dump --port N [--seconds S] [--summary] [--record FILE [--overwrite]]\n"
    "\n"
    "Reads NMEA lines from the files named (or standard input when none is named, or for\n"
    "\"-\"; after \"--\" every argument is a file), passes every line to one AIS decoder and\n"
    "prints one JSON object per line for every message of type 1, 2, 3 or 5 that a line\n"
    "completed:\n"
    "  line   1-based number of the input line that completed the message (per file)\n"
    "  type   message type; own: true for \"!AIVDO\" (own vessel); mmsi\n"
    "  the record fields the message wrote (types 1-3: navStatus, rateOfTurn (null when not\n"
    "  available), speedOverGround, positionAccuracy, latitude, longitude, courseOverGround,\n"
    "  trueHeading; type 5: imoNumber, callSign, shipName, destination, fixType, shipType,\n"
    "  draught, dimToBow, dimToStern, dimToPort, dimToStarboard, etaText)\n"
    "  texts  every field text of the record as the window shows it\n"
    "Only sentences with a valid checksum are decoded; multi-sentence messages are joined\n"
    "per sequential message id and channel. A tag block in front of a line (\"\\...\\\", as\n"
    "in recordings made with --record and other tag-blocked logs) is taken off first.\n"
    "\n"
    "Options, in any order:\n"
    "  --port N     decode live from COM port N (1-255; see the README for the Linux port\n"
    "               map) with the monitor's stored baud rate, parity, data bits and stop\n"
    "               bits (stored with their defaults on first use); \"line\" counts the\n"
    "               lines received. An absent device is waited for (said once on standard\n"
    "               error) until the time is up.\n"
    "  --seconds S  with --port: stop after S seconds (more than 0, up to a year);\n"
    "               without it, run until interrupted (Ctrl-C, SIGTERM)\n"
    "  --summary    with --port: prints at the end one JSON object on standard error with\n"
    "               the counts by reason and what the port box's tooltip would say\n"
    "  --record FILE  with --port: also appends every line received to FILE as the port\n"
    "               gave it, byte for byte (damaged and non-AIS lines too, CR LF kept; a\n"
    "               line over 1,024 bytes as its last 1,024, as the window takes it), each\n"
    "               behind a tag block with the time it was read, to the millisecond:\n"
    "               \\c:1700000000123*hh\\ (\"c:\" in UNIX milliseconds, 13 digits or more,\n"
    "               which tag-block readers tell from seconds by its length; \"*hh\" its\n"
    "               checksum). Each line is written in one piece as it comes: a killed\n"
    "               program loses at most that line. An existing FILE is refused.\n"
    "  --overwrite  with --record: replace an existing FILE\n"
    "  --help       this text\n"
    "\n"
    "Exit status: 0; 2 on a bad option, a file that cannot be read, output that cannot be\n"
    "written (\"write error\"), a recording that cannot be made or written (\"cannot\n"
    "record to\", \"cannot write\") or a port refusal that will not change by itself (the\n"
    "reason on standard error).\n";

int WriteError(int error) {
    std::fprintf(stderr, "brenlow-dump: write error: %s\n", std::strerror(error));
    return 2;
}

// Decodes one stream; stops early when the output has failed. False on a read error.
bool DecodeStream(std::FILE* in, const char* name, AisDecoder& decoder, JsonWriter& json) {
    LineReader reader(in);
    std::string_view line;
    uint64_t lineNumber = 0;
    while (!json.Failed() && reader.Next(line)) {
        ++lineNumber;
        // The window gets no tag blocks from a port; a recording's must not hide its sentences.
        const uint32_t mmsi = decoder.DecodeSentence(SplitTagBlock(line).rest);
        if (mmsi != 0)
            WriteMessageJson(json, lineNumber, mmsi, decoder.LastMessage());
    }
    if (!reader.Failed())
        return true;
    json.Flush();
    std::fprintf(stderr, "brenlow-dump: error reading %s: %s\n", name,
                 std::strerror(reader.Error()));
    return false;
}

int DecodeFiles(const std::vector<const char*>& files, AisDecoder& decoder, JsonWriter& json) {
    if (files.empty())
        return DecodeStream(stdin, "standard input", decoder, json) ? 0 : 2;
    int status = 0;
    for (const char* file : files) {
        if (json.Failed())
            break;
        const bool useStdin = std::strcmp(file, "-") == 0;
        std::FILE* in = useStdin ? stdin : std::fopen(file, "rb");
        if (!in) {
            const int error = errno;
            json.Flush();
            std::fprintf(stderr, "brenlow-dump: cannot read %s: %s\n", file, std::strerror(error));
            status = 2;
            continue;
        }
        if (!DecodeStream(in, useStdin ? "standard input" : file, decoder, json))
            status = 2;
        if (!useStdin)
            std::fclose(in);
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    DumpOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "brenlow-dump: %s\n%s", error.c_str(), kShortUsage);
        return 2;
    }
    // A closed standard output would be taken by the next file or port opened.
    struct stat out {};
    if (fstat(1, &out) != 0)
        return WriteError(errno);
    if (options.help) {
        errno = 0;
        if (std::fputs(kUsage, stdout) < 0 || std::fflush(stdout) != 0)
            return WriteError(errno != 0 ? errno : EIO);
        return 0;
    }
    static AisDecoder decoder;
    static JsonWriter json(stdout);
    int status = options.port != 0 ? DumpPort(options, decoder, json)
                                   : DecodeFiles(options.files, decoder, json);
    if (!json.Finish())
        return WriteError(json.Error());
    errno = 0;
    if (std::fclose(stdout) != 0)
        return WriteError(errno != 0 ? errno : EIO);
    return status;
}
