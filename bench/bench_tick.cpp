#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ais/AisDecoder.h"
#include "app/LineStore.h"
#include "app/PollCycle.h"
#include "tests/support/PayloadBuilder.h"

namespace {

// A type 1 report of `mmsi` with a correct checksum.
std::string PositionLine(uint32_t mmsi) {
    PayloadBuilder b;
    b.Set(1, 6, 1).Set(9, 30, mmsi).Set(51, 10, 123).Set(62, 28, 6000000).Set(90, 27, 32400000);
    return Sentence(b.Armoured());
}

// The window as the tick sees it, without a display: the bounded line store and field texts.
class HeadlessView : public TargetView {
public:
    void InsertLineAtTop(const char* line, size_t length) override {
        lines.PushFront(line, length);
    }
    void SetControlText(int id, const std::string& text) override {
        benchmark::DoNotOptimize(id);
        benchmark::DoNotOptimize(text.data());
    }
    LineStore lines;
};

class ListSource : public LineSource {
public:
    uint32_t ReadLine(char* buffer, uint32_t limit) override {
        if (next >= end) {
            return 0;
        }
        const std::string& line = (*lines)[next++ % lines->size()];
        const uint32_t n = static_cast<uint32_t>(std::min<size_t>(line.size(), limit));
        std::memcpy(buffer, line.data(), n);
        buffer[n] = '\0';
        return n;
    }
    const std::vector<std::string>* lines = nullptr;
    size_t next = 0;
    size_t end = 0;
};

constexpr int kStations = 10000;

const std::vector<std::string>& StationLines() {
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out;
        for (int i = 0; i < kStations; ++i) {
            out.push_back(PositionLine(200000000u + static_cast<uint32_t>(i)));
        }
        return out;
    }();
    return lines;
}

// One tick of `range(0)` lines with 10,000 stations known and the line list full.
void BM_TickWithFullList(benchmark::State& state) {
    AisDecoder decoder;
    HeadlessView view;
    ListSource source;
    source.lines = &StationLines();
    source.end = LineStore::kDefaultCap + kStations;
    RunPollTick(source, decoder, view);  // one long drain fills the table and the list
    const size_t perTick = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        source.end = source.next + perTick;
        RunPollTick(source, decoder, view);
    }
    state.counters["stations"] = decoder.TargetCount();
    state.counters["lines"] = static_cast<double>(view.lines.Size());
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(perTick));
}
BENCHMARK(BM_TickWithFullList)->Arg(1)->Arg(10)->Arg(100);

// Insertion at the top costs the same whatever the list holds.
void BM_InsertLine(benchmark::State& state) {
    LineStore store;
    const std::string& line = StationLines()[0];
    for (int64_t i = 0; i < state.range(0); ++i) {
        store.PushFront(line.data(), line.size());
    }
    for (auto _ : state) {
        store.PushFront(line.data(), line.size());
    }
    state.counters["lines"] = static_cast<double>(store.Size());
}
BENCHMARK(BM_InsertLine)->Arg(0)->Arg(1000)->Arg(50000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
