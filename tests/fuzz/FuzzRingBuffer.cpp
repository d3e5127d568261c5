// Drives the ring buffer with an arbitrary sequence of operations and compares every result
// with a plain queue that follows the documented rules.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "serial/RingBuffer.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

struct Model {
    uint32_t capacity = 0;  // 0 while unallocated
    std::deque<char> held;

    // Only the first `capacity` bytes of one write count; then the oldest bytes give way.
    void Put(const std::string& bytes) {
        if (capacity == 0)
            return;
        const size_t length = std::min<size_t>(bytes.size(), capacity);
        held.insert(held.end(), bytes.begin(), bytes.begin() + length);
        while (held.size() > capacity)
            held.pop_front();
    }

    std::string TakeLine(uint32_t limit, char terminator, bool peek) {
        if (capacity == 0 || held.empty())
            return {};
        if (limit == 0 || limit > capacity)
            limit = capacity;
        size_t lineLength = held.size();
        if (terminator != '\0') {
            auto found = std::find(held.begin(), held.end(), terminator);
            if (found == held.end())
                return {};
            lineLength = static_cast<size_t>(found - held.begin()) + 1;
        }
        const size_t resultLength = std::min<size_t>(lineLength, limit);
        std::string result(held.begin() + static_cast<ptrdiff_t>(lineLength - resultLength),
                           held.begin() + static_cast<ptrdiff_t>(lineLength));
        if (!peek) {
            const size_t consumed = terminator != '\0' ? lineLength : resultLength;
            held.erase(held.begin(), held.begin() + static_cast<ptrdiff_t>(consumed));
        }
        return result;
    }
};

void CheckHeld(const RingBuffer& ring, const Model& model) {
    uint32_t firstRun = UINT32_MAX;
    const uint32_t count = ring.Count(&firstRun);
    FUZZ_CHECK(count == model.held.size());
    if (firstRun != UINT32_MAX)
        FUZZ_CHECK(firstRun < count && firstRun == ring.size - ring.readIndex);
    if (ring.storage == nullptr)
        return;
    std::vector<char> out(count + 1, '#');
    FUZZ_CHECK(ring.CopyOut(out.data()) == count);
    FUZZ_CHECK(out[count] == '\0');
    FUZZ_CHECK(std::equal(model.held.begin(), model.held.end(), out.begin()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    RingBuffer ring;
    Model model;
    FUZZ_CHECK(ring.Allocate(0) != nullptr);
    model.capacity = RingBuffer::kDefaultSize;

    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 7)) {
            case 0:
            case 1:
            case 2: {
                const auto length = input.ConsumeIntegralInRange<uint32_t>(0, 5000);
                std::string bytes = input.ConsumeBytesAsString(length);
                // Mostly LF-rich text, so that lines form.
                if (input.ConsumeBool())
                    std::replace(bytes.begin(), bytes.end(), '~', '\n');
                ring.Put(bytes.data(), static_cast<uint32_t>(bytes.size()));
                model.Put(bytes);
                break;
            }
            case 3: {  // length 0: the bytes are a NUL-terminated text
                std::string text = input.ConsumeRandomLengthString(300);
                ring.Put(text.c_str(), 0);
                model.Put(std::string(text.c_str()));
                break;
            }
            case 4:
            case 5: {
                const auto limit = input.ConsumeIntegralInRange<uint32_t>(0, 5000);
                const char terminator = input.ConsumeIntegralInRange(0, 7) == 0 ? '\0' : '\n';
                const bool peek = input.ConsumeIntegralInRange(0, 3) == 0;
                const uint32_t room = limit == 0 ? std::max(ring.size, 1u) : limit;
                std::vector<char> out(room + 1, '#');
                const uint32_t n = ring.TakeLine(out.data(), limit, terminator, peek ? 1 : 0);
                const std::string expected = model.TakeLine(limit, terminator, peek);
                FUZZ_CHECK(n == expected.size());
                FUZZ_CHECK(out[n] == '\0');
                FUZZ_CHECK(std::memcmp(out.data(), expected.data(), n) == 0);
                break;
            }
            case 6:
                ring.Reset();
                model.held.clear();
                break;
            case 7: {  // small capacities wrap after a few bytes
                const auto capacity = input.ConsumeIntegralInRange<uint32_t>(0, 64);
                if (input.ConsumeIntegralInRange(0, 3) == 0) {
                    ring.Release();
                    model = Model{};
                } else {
                    FUZZ_CHECK(ring.Allocate(capacity) != nullptr);
                    model = Model{capacity == 0 ? RingBuffer::kDefaultSize : capacity, {}};
                }
                break;
            }
        }
        CheckHeld(ring, model);
    }
    return 0;
}
