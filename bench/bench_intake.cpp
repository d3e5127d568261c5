// Line intake: the ring buffer alone, and the serial link reading a pseudo-terminal.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <sstream>
#include <string>
#include <thread>

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

// ReadLine as the poll cycle calls it, fed by a writer thread through a pseudo-terminal.
void SerialLinkIntake(benchmark::State& state) {
    char home[] = "/tmp/brenlow-bench-XXXXXX";
    if (!mkdtemp(home)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    setenv("XDG_CONFIG_HOME", home, 1);
    const std::string map = std::string(home) + "/brenlow/dosdevices";
    std::system(("mkdir -p " + map).c_str());
    char path[256];
    platform::PseudoTerminal* pty = platform::PseudoTerminalOpen(path, sizeof path);
    if (!pty || symlink(path, (map + "/com7").c_str()) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    SetRegistryCompanyName("Veltmark");
    {
        SettingsScope scope;
        WriteDword("AIS Unit", "Port Number", 7);
    }
    SerialLink link;
    const std::string bytes = CorpusBytes();
    char line[1025];
    for (auto _ : state) {
        std::thread writer([&] {
            uint32_t written = 0;
            platform::PseudoTerminalWrite(pty, bytes.data(), static_cast<uint32_t>(bytes.size()),
                                          10000, &written);
        });
        size_t got = 0;
        while (got < bytes.size())
            got += link.ReadLine(line, 1024);
        writer.join();
    }
    link.Close();
    platform::PseudoTerminalClose(pty);
    std::system((std::string("rm -rf ") + home).c_str());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(SerialLinkIntake)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
