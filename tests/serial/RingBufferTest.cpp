// The receive ring: lines out oldest first, across the wrap, and what overflow keeps.
#include "serial/RingBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace std::string_literals;

struct Ring : RingBuffer {
    explicit Ring(uint32_t size = 16) { Allocate(size); }
    // Each part in a Put of its own.
    Ring& In(std::initializer_list<std::string> parts) {
        for (const std::string& bytes : parts)
            Put(bytes.data(), static_cast<uint32_t>(bytes.size()));
        return *this;
    }
    std::string Take(uint32_t limit = 64, int peek = 0, char terminator = '\n') {
        std::string out(size + 1, '#');
        const uint32_t n = TakeLine(out.data(), limit, terminator, peek);
        EXPECT_EQ(out[n], '\0');
        return out.substr(0, n);
    }
    std::string Held() const {
        std::string out(Count() + 1, '#');
        return out.substr(0, CopyOut(out.data()));
    }
};

TEST(RingBuffer, LinesComeOutWholeAndOldestFirst) {
    Ring ring(0);
    EXPECT_EQ(ring.size, RingBuffer::kDefaultSize);
    EXPECT_EQ(ring.Take(), "");
    ring.Put("XY", 0);
    ring.Put("", 0);
    EXPECT_EQ(ring.Take(), "") << "a partial line waits";
    EXPECT_EQ(ring.Held(), "XY");
    ring.In({"Z\r\n", "A\0B\n"s, "\n"});
    EXPECT_EQ((std::vector{ring.Take(), ring.Take(), ring.Take()}),
              (std::vector{"XYZ\r\n"s, "A\0B\n"s, "\n"s}));
    EXPECT_EQ(std::tuple(ring.Count(), ring.readIndex, ring.lastIndex), std::tuple(0u, 0u, 0u));
    ring.In({"Q", "R\nS\n"});
    EXPECT_EQ(ring.Take(64, 1), "QR\n") << "a peek leaves the line";
    EXPECT_EQ(ring.Take(0), "QR\n") << "limit 0: the whole ring";
    EXPECT_EQ(ring.Take(), "S\n");
    ring.In({"ab\0c"s});
    EXPECT_EQ(ring.Take(10, 0, '\0'), "ab\0c"s) << "no terminator: all held";
    ring.In({"0123456"});
    EXPECT_EQ(ring.Take(3, 0, '\0'), "012") << "the oldest bytes, and only they, go";
    EXPECT_EQ(ring.Held(), "3456");
}

TEST(RingBuffer, WrapAroundTheEndOfStorage) {
    Ring ring;
    EXPECT_EQ(ring.In({"0123456789\nabc"}).Take(), "0123456789\n");
    EXPECT_EQ(ring.Count(), 3u);
    uint32_t firstRun = 99;
    ring.In({"de"}).Count(&firstRun);
    EXPECT_EQ(firstRun, 99u) << "held bytes that end at the end of storage do not wrap";
    EXPECT_EQ(ring.lastIndex, 15u);
    ring.In({"fg\n"});
    EXPECT_EQ(ring.lastIndex, 2u);
    EXPECT_EQ(ring.Count(&firstRun), 8u);
    EXPECT_EQ(firstRun, 5u);
    EXPECT_EQ(ring.Take(), "abcdefg\n");
    ring.In({"0123456789abc\n", "x\n"});  // exactly fills the ring
    ring.Take();
    EXPECT_EQ(ring.Take(), "x\n");
}

TEST(RingBuffer, OverflowAndOverlongLines) {
    Ring ring;
    ring.In({"old-old-old", "new-new-new\n"});
    EXPECT_EQ(ring.Held(), "-oldnew-new-new\n") << "the newest bytes stay";
    EXPECT_EQ(ring.readIndex, (ring.lastIndex + 1) % 16);
    ring.Reset();
    ring.In({"0123456789abcdefXYZ"});
    EXPECT_EQ(ring.Held(), "0123456789abcdef") << "an oversized put keeps its first bytes";
    ring.Reset();
    EXPECT_NE(ring.storage, nullptr);
    ring.In({"0123456789\nok\n"});
    EXPECT_EQ(ring.Take(4), "789\n") << "a longer line gives its tail";
    EXPECT_EQ(ring.Take(4), "ok\n");
    ring.Release();
    ring.In({"A\n"});
    EXPECT_EQ(ring.storage, nullptr);
    EXPECT_EQ(ring.Take(), "");
}

}  // namespace
