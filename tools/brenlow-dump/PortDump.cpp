#include "tools/brenlow-dump/PortDump.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "serial/SerialLink.h"
#include "settings/ModuleInfo.h"
#include "settings/SettingsStore.h"
#include "tools/brenlow-dump/MessageJson.h"

namespace {

std::atomic<bool> interrupted{false};

void Interrupt(int) {
    interrupted = true;
}

}  // namespace

int DumpPort(int port, double seconds, AisDecoder& decoder, JsonWriter& json) {
    // The monitor's settings: a receiver is checked with the line settings it is used with.
    SetRegistryCompanyName("Veltmark");
    ModuleInfo::fileTitle = "Brenlow";
    SerialLink link;
    link.Close();
    link.portNumber = static_cast<int16_t>(port);  // for this run only, not stored
    if (!link.Open()) {
        std::fprintf(
            stderr, "brenlow-dump: cannot open COM%d (%d,%c,%d,%d)\n", port, link.baudRate,
            link.parityIndex >= 0 && link.parityIndex <= 4 ? "NOEMS"[link.parityIndex] : '?',
            link.dataBits, link.stopBits);
        return 2;
    }
    std::signal(SIGINT, Interrupt);
    std::signal(SIGTERM, Interrupt);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    char line[1025];
    uint64_t lineNumber = 0;
    while (!interrupted && (seconds <= 0 || Clock::now() < end)) {
        const uint32_t length = link.ReadLine(line, 1024);
        if (length == 0) {
            json.Flush();
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        ++lineNumber;
        const uint32_t mmsi = decoder.DecodeSentence(std::string_view(line, length));
        if (mmsi != 0)
            WriteMessageJson(json, lineNumber, mmsi, decoder.LastMessage());
    }
    link.Close();
    json.Flush();
    std::fflush(stdout);
    return 0;
}
