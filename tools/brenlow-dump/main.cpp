// brenlow-dump: decodes AIS NMEA lines to one JSON object per decoded message.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ais/AisDecoder.h"
#include "tools/brenlow-dump/JsonWriter.h"
#include "tools/brenlow-dump/LineReader.h"
#include "tools/brenlow-dump/MessageJson.h"
#include "tools/brenlow-dump/PortDump.h"

namespace {

constexpr const char* kUsage =
    "Usage: brenlow-dump [FILE...]\n"
    "       brenlow-dump --port N [--seconds S]\n"
    "\n"
    "Reads NMEA lines from the files named (or standard input when none is named, or for\n"
    "\"-\"), passes every line to one AIS decoder and prints one JSON object per line for\n"
    "every message of type 1, 2, 3 or 5 that a line completed:\n"
    "  line   1-based number of the input line that completed the message (per file)\n"
    "  type   message type; own: true for \"!AIVDO\" (own vessel); mmsi\n"
    "  the record fields the message wrote (types 1-3: navStatus, rateOfTurn (null when not\n"
    "  available), speedOverGround, positionAccuracy, latitude, longitude, courseOverGround,\n"
    "  trueHeading; type 5: imoNumber, callSign, shipName, destination, fixType, shipType,\n"
    "  draught, dimToBow, dimToStern, dimToPort, dimToStarboard, etaText)\n"
    "  texts  every field text of the record as the window shows it\n"
    "Only sentences with a valid checksum are decoded; multi-sentence messages are joined\n"
    "per sequential message id and channel.\n"
    "\n"
    "\n"
    "--port N decodes live from COM port N (see the README for the Linux port map) with the\n"
    "monitor's stored baud rate, parity, data bits and stop bits (stored with their defaults\n"
    "on first use), for S seconds or until interrupted; \"line\" counts the lines received.\n"
    "\n"
    "Exit status: 0, or 2 when a file cannot be read or the port cannot be opened.\n";

void DecodeStream(std::FILE* in, AisDecoder& decoder, JsonWriter& json, bool& failed) {
    LineReader reader(in);
    std::string_view line;
    uint64_t lineNumber = 0;
    while (reader.Next(line)) {
        ++lineNumber;
        const uint32_t mmsi = decoder.DecodeSentence(line);
        if (mmsi != 0)
            WriteMessageJson(json, lineNumber, mmsi, decoder.LastMessage());
    }
    failed = reader.Failed();
}

// "--port N [--seconds S]": true and the values when given; `bad` when malformed.
bool PortOptions(int argc, char** argv, int& port, double& seconds, bool& bad) {
    if (argc < 2 || std::strcmp(argv[1], "--port") != 0)
        return false;
    char* end = nullptr;
    port = argc > 2 ? static_cast<int>(std::strtol(argv[2], &end, 10)) : 0;
    bad = argc < 3 || *end != '\0' || port < 1 || port > 255;
    seconds = 0;
    if (argc == 5 && std::strcmp(argv[3], "--seconds") == 0) {
        seconds = std::strtod(argv[4], &end);
        bad = bad || *end != '\0' || seconds <= 0;
    } else if (argc != 3) {
        bad = true;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    static AisDecoder decoder;
    static JsonWriter json(stdout);
    int port = 0;
    double seconds = 0;
    bool bad = false;
    if (PortOptions(argc, argv, port, seconds, bad)) {
        if (bad) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        return DumpPort(port, seconds, decoder, json);
    }
    int status = 0;
    if (argc < 2) {
        bool failed = false;
        DecodeStream(stdin, decoder, json, failed);
        if (failed) {
            std::fprintf(stderr, "brenlow-dump: cannot read standard input\n");
            status = 2;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const bool useStdin = std::strcmp(argv[i], "-") == 0;
        std::FILE* in = useStdin ? stdin : std::fopen(argv[i], "rb");
        if (!in) {
            json.Flush();
            std::fprintf(stderr, "brenlow-dump: cannot read %s: %s\n", argv[i],
                         std::strerror(errno));
            status = 2;
            continue;
        }
        bool failed = false;
        DecodeStream(in, decoder, json, failed);
        if (failed) {
            json.Flush();
            std::fprintf(stderr, "brenlow-dump: error reading %s\n", argv[i]);
            status = 2;
        }
        if (!useStdin)
            std::fclose(in);
    }
    json.Flush();
    return status;
}
