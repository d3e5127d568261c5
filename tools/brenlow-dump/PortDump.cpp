#include "tools/brenlow-dump/PortDump.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include "app/PortState.h"
#include "app/Reception.h"
#include "serial/LineLimit.h"
#include "serial/SerialLink.h"
#include "settings/ModuleInfo.h"
#include "settings/SettingsStore.h"
#include "tools/brenlow-dump/LineRecorder.h"
#include "tools/brenlow-dump/MessageJson.h"

namespace {

std::atomic<bool> interrupted{false};

void Interrupt(int) {
    interrupted = true;
}

// A refusal that no waiting mends: the user has to change something first.
bool Final(platform::CommOpenError error) {
    return error == platform::CommOpenError::PermissionDenied ||
           error == platform::CommOpenError::LineRefused;
}

void WriteSummary(const SerialLink& link, const Reception& reception,
                  Reception::Clock::time_point now) {
    JsonWriter json(stderr);
    json.BeginObject();
    json.Key("bytes");
    json.Int(static_cast<int64_t>(reception.bytes));
    json.Key("lines");
    json.Int(static_cast<int64_t>(reception.lines));
    json.Key("outcomes");
    json.BeginObject();
    for (int i = 0; i < kSentenceOutcomeCount; ++i) {
        json.Key(OutcomeName(static_cast<SentenceOutcome>(i)));
        json.Int(static_cast<int64_t>(reception.outcomes[static_cast<size_t>(i)]));
    }
    json.EndObject();
    json.Key("hearing");
    json.String(link.IsOpen() ? Reception::HearingName(reception.Judge(now)) : "closed");
    json.Key("tooltip");
    json.String(PortStateText(link, reception, now));
    json.EndObject();
    json.EndLine();
}

}  // namespace

int DumpPort(const DumpOptions& options, AisDecoder& decoder, JsonWriter& json) {
    const int port = options.port;
    const double seconds = options.seconds;
    LineRecorder recorder;
    if (!recorder.Open(options.record, options.overwrite))
        return 2;
    // A line's time is when it was read: a short idle wait keeps that close to its arrival.
    const auto idle = std::chrono::milliseconds(recorder.IsOpen() ? 2 : 20);
    // The monitor's settings: a receiver is checked with the line settings it is used with.
    SetRegistryCompanyName("Veltmark");
    ModuleInfo::fileTitle = "Brenlow";
    SerialLink link;
    link.Close();
    link.portNumber = static_cast<int16_t>(port);  // for this run only, not stored
    std::signal(SIGINT, Interrupt);
    std::signal(SIGTERM, Interrupt);

    using Clock = Reception::Clock;
    const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(seconds));
    const auto running = [&] { return !interrupted && (seconds <= 0 || Clock::now() < end); };
    Reception reception;
    char line[kLineLimit + 1];
    uint64_t lineNumber = 0;
    uint64_t bytesCounted = 0;
    bool toldWaiting = false;
    int status = 0;
    link.Open();
    while (running() && !json.Failed()) {  // output nobody can take ends the run
        if (!link.IsOpen() && Final(link.openError)) {
            std::fprintf(
                stderr, "brenlow-dump: cannot open COM%d (%d,%c,%d,%d): %s\n", port, link.baudRate,
                link.parityIndex >= 0 && link.parityIndex <= 4 ? "NOEMS"[link.parityIndex] : '?',
                link.dataBits, link.stopBits, ClosedReason(link).c_str());
            status = 2;
            break;
        }
        if (!link.IsOpen() && !toldWaiting) {
            std::fprintf(stderr, "brenlow-dump: COM%d is %s; waiting for it\n", port,
                         ClosedReason(link).c_str());
            toldWaiting = true;
        }
        reception.PortState(link.IsOpen(), Clock::now());
        const uint32_t length = link.ReadLine(line, kLineLimit);
        const auto now = Clock::now();
        reception.PortState(link.IsOpen(), now);
        reception.Bytes(link.bytesReceived - bytesCounted, now);
        bytesCounted = link.bytesReceived;
        if (length == 0) {
            json.Flush();
            std::this_thread::sleep_for(idle);
            continue;
        }
        const auto unixMs = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        if (recorder.IsOpen() && !recorder.Write(std::string_view(line, length), unixMs.count())) {
            status = 2;
            break;
        }
        ++lineNumber;
        const uint32_t mmsi = decoder.DecodeSentence(std::string_view(line, length));
        reception.Line(decoder.LastOutcome(), now);
        if (mmsi != 0)
            WriteMessageJson(json, lineNumber, mmsi, decoder.LastMessage());
    }
    json.Flush();
    if (options.summary)
        WriteSummary(link, reception, Clock::now());
    link.Close();
    return status;
}
