// Arbitrary writes and line reads, against a plain string kept by the documented rules: a
// write keeps at most a capacity's worth of its bytes and the oldest held ones give way; a
// read gives the oldest complete line, or its last `limit` bytes, and consumes it whole.
#include <fuzzer/FuzzedDataProvider.h>

#include "serial/RingBuffer.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    RingBuffer ring;  // small capacities wrap after a few bytes
    FUZZ_CHECK(ring.Allocate(in.ConsumeIntegralInRange<uint32_t>(0, 64)) != nullptr);
    char out[RingBuffer::kDefaultSize + 1];
    std::string held;
    while (in.remaining_bytes() > 0) {
        const std::string bytes = in.ConsumeRandomLengthString(2 * ring.size);
        ring.Put(bytes.data(), static_cast<uint32_t>(bytes.size()));
        held += bytes.substr(0, ring.size);
        held.erase(0, held.size() > ring.size ? held.size() - ring.size : 0);
        const size_t limit = in.ConsumeIntegralInRange<size_t>(1, ring.size);
        const uint32_t n = ring.TakeLine(out, static_cast<uint32_t>(limit), '\n', 0);
        std::string line = held.substr(0, held.find('\n') + 1);
        held.erase(0, line.size());
        line.erase(0, line.size() - std::min(line.size(), limit));
        FUZZ_CHECK(std::string(out, n) == line && out[n] == 0 && ring.Count() == held.size());
    }
    return 0;
}
