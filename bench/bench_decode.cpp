// DecodeSentence over the real corpus, one core.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "ais/AisDecoder.h"
#include "bench/CorpusLines.h"

namespace {

void DecodeSentence(benchmark::State& state) {
    const std::vector<std::string> lines = CorpusLines();
    if (lines.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    AisDecoder decoder;
    uint64_t decoded = 0;
    for (auto _ : state) {
        for (const std::string& line : lines)
            decoded += decoder.DecodeSentence(line) != 0;
    }
    benchmark::DoNotOptimize(decoded);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
    state.counters["sentences/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * lines.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(DecodeSentence)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
