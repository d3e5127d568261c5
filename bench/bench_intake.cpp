// Line intake: the ring buffer alone, and the serial link reading a pseudo-terminal.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/CorpusLines.h"
#include "platform/PseudoTerminal.h"
#include "serial/RingBuffer.h"
#include "serial/SerialLink.h"
#include "settings/SettingsStore.h"

namespace {

std::string CorpusBytes() {
    std::string bytes;
    for (const std::string& line : CorpusLines())
        bytes += line;
    return bytes;
}

void RingBufferIntake(benchmark::State& state) {
    const std::string bytes = CorpusBytes();
    RingBuffer ring;
    ring.Allocate(0);
    char line[1025];
    uint64_t lines = 0;
    for (auto _ : state) {
        for (size_t at = 0; at < bytes.size(); at += 1024) {
            const uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(1024, bytes.size() - at));
            ring.Put(bytes.data() + at, chunk);
            while (ring.TakeLine(line, 1024, '\n', 0) != 0)
                ++lines;
        }
    }
    benchmark::DoNotOptimize(lines);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(RingBufferIntake)->Unit(benchmark::kMillisecond);

// A pseudo-terminal mapped as COM7 in a private settings folder, and a link reading it.
struct LinkOnPty {
    LinkOnPty() {
        if (!mkdtemp(home)) {
            return;
        }
        setenv("XDG_CONFIG_HOME", home, 1);
        const std::string map = std::string(home) + "/brenlow/dosdevices";
        std::system(("mkdir -p " + map).c_str());
        entry = map + "/com7";
        if (!Plug()) {
            return;
        }
        SetRegistryCompanyName("Veltmark");
        {
            SettingsScope scope;
            WriteDword("AIS Unit", "Port Number", 7);
        }
        link = std::make_unique<SerialLink>();
    }
    ~LinkOnPty() {
        link.reset();
        if (pty) {
            platform::PseudoTerminalClose(pty);
        }
        std::system((std::string("rm -rf ") + home).c_str());
    }
    // False, with the benchmark skipped, when there is no link.
    bool Ready(benchmark::State& state) const {
        if (!link) {
            state.SkipWithError("no pseudo-terminal");
        }
        return link != nullptr;
    }
    // A new device under COM7, as a receiver plugged in again.
    bool Plug() {
        char path[256];
        pty = platform::PseudoTerminalOpen(path, sizeof path);
        unlink(entry.c_str());
        return pty != nullptr && symlink(path, entry.c_str()) == 0;
    }
    void Unplug() {
        platform::PseudoTerminalClose(pty);
        pty = nullptr;
    }
    // What does not fit within `timeoutMs` is lost, as a UART's overflow is.
    void Write(const std::string& bytes, int timeoutMs = 10000) {
        uint32_t written = 0;
        platform::PseudoTerminalWrite(pty, bytes.data(), static_cast<uint32_t>(bytes.size()),
                                      timeoutMs, &written);
    }
    char home[32] = "/tmp/brenlow-bench-XXXXXX";
    std::string entry;
    platform::PseudoTerminal* pty = nullptr;
    std::unique_ptr<SerialLink> link;
};

// ReadLine as fast as it can be called, fed by a writer thread.
void SerialLinkIntake(benchmark::State& state) {
    LinkOnPty port;
    if (!port.Ready(state)) {
        return;
    }
    const std::string bytes = CorpusBytes();
    char line[1025];
    for (auto _ : state) {
        std::thread writer([&] { port.Write(bytes); });
        size_t got = 0;
        while (got < bytes.size())
            got += port.link->ReadLine(line, 1024);
        writer.join();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(SerialLinkIntake)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the window takes in: every 500 ms a tick reads lines until ReadLine gives 0, while the
// port brings what 115,200 baud carries in 500 ms. Argument 1: a 2,000-byte junk line every
// 20 lines. "intake" is the bytes a second of the lines the ticks handed out (a junk line
// counts with its last 1,024 bytes); what they leave waits in the port until it overflows.
void TickIntake(benchmark::State& state) {
    LinkOnPty port;
    if (!port.Ready(state)) {
        return;
    }
    constexpr size_t kPerTick = 115200 / 10 / 2;
    std::string traffic;
    const std::vector<std::string> lines = CorpusLines();
    for (size_t i = 0; traffic.size() < 4 * 1024 * 1024; ++i) {
        traffic += lines[i % lines.size()];
        if (state.range(0) != 0 && i % 20 == 19)
            traffic += std::string(2000, '\x5a') + "\r\n";
    }
    char line[1025];
    size_t sent = 0;
    uint64_t taken = 0;
    uint64_t ticks = 0;
    for (auto _ : state) {
        port.Write(traffic.substr(sent % (traffic.size() - kPerTick), kPerTick), 0);
        sent += kPerTick;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        while (const uint32_t length = port.link->ReadLine(line, 1024))
            taken += length;
        ++ticks;
    }
    state.counters["intake_Bps"] = static_cast<double>(taken) * 2 / static_cast<double>(ticks);
    state.counters["offered_Bps"] = kPerTick * 2;
}
BENCHMARK(TickIntake)->Arg(0)->Arg(1)->Iterations(200)->Unit(benchmark::kMillisecond);

// From a receiver's return to its first line in the window, which ticks every 500 ms: the
// receiver is pulled out for two seconds, comes back at a different moment of the tick each time
// and sends at once.
void ReplugLatency(benchmark::State& state) {
    LinkOnPty port;
    if (!port.Ready(state)) {
        return;
    }
    using Clock = std::chrono::steady_clock;
    char line[1025];
    Clock::time_point nextTick = Clock::now();
    const auto tick = [&] {
        std::this_thread::sleep_until(nextTick);
        nextTick += std::chrono::milliseconds(500);
        uint32_t lines = 0;
        while (port.link->ReadLine(line, 1024) != 0)
            ++lines;
        return lines;
    };
    int cycle = 0;
    std::vector<double> latencies;
    for (auto _ : state) {
        port.Unplug();
        while (port.link->IsOpen())
            tick();
        for (int away = 0; away < 4; ++away)  // two seconds away, tried meanwhile
            tick();
        // Back at another moment of the tick each cycle.
        std::this_thread::sleep_until(nextTick - std::chrono::milliseconds(500) +
                                      std::chrono::milliseconds(97 * ++cycle % 500));
        const Clock::time_point back = Clock::now();
        if (!port.Plug()) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        port.Write("!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*6E\r\n");
        while (tick() == 0) {
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - back).count();
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1000);
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = latencies[latencies.size() / 2];
    state.counters["worst_ms"] = latencies.back();
}
BENCHMARK(ReplugLatency)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
