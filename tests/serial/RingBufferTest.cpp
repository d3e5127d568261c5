// The receive ring: lines out oldest first, across the wrap, and what overflow keeps.
#include "serial/RingBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Ring : RingBuffer {
    explicit Ring(uint32_t size = 16) { Allocate(size); }
    Ring& operator<<(const std::string& bytes) {
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
    ring << "Z\r\n" << std::string("A\0B\n", 4) << "\n";
    EXPECT_EQ(ring.Take(), "XYZ\r\n");
    EXPECT_EQ(ring.Take(), std::string("A\0B\n", 4));
    EXPECT_EQ(ring.Take(), "\n");
    EXPECT_EQ(ring.Count(), 0u);
    EXPECT_EQ(ring.readIndex, 0u);
    EXPECT_EQ(ring.lastIndex, 0u);
    ring << "Q";
    ring << "R\nS\n";
    EXPECT_EQ(ring.Take(64, 1), "QR\n") << "a peek leaves the line";
    EXPECT_EQ(ring.Take(0), "QR\n") << "limit 0: the whole ring";
    EXPECT_EQ(ring.Take(), "S\n");
    ring << std::string("ab\0c", 4);
    EXPECT_EQ(ring.Take(10, 0, '\0'), std::string("ab\0c", 4)) << "no terminator: all held";
    ring << "0123456";
    EXPECT_EQ(ring.Take(3, 0, '\0'), "012") << "the oldest bytes, and only they, go";
    EXPECT_EQ(ring.Held(), "3456");
}

TEST(RingBuffer, WrapAroundTheEndOfStorage) {
    Ring ring;
    ring << "0123456789\nabc";
    ring.Take();
    EXPECT_EQ(ring.Count(), 3u);
    uint32_t firstRun = 99;
    ring << "de";
    ring.Count(&firstRun);
    EXPECT_EQ(firstRun, 99u) << "held bytes that end at the end of storage do not wrap";
    EXPECT_EQ(ring.lastIndex, 15u);
    ring << "fg\n";
    EXPECT_EQ(ring.lastIndex, 2u);
    EXPECT_EQ(ring.Count(&firstRun), 8u);
    EXPECT_EQ(firstRun, 5u);
    EXPECT_EQ(ring.Take(), "abcdefg\n");
    ring << "0123456789abc\n"
         << "x\n";  // terminator found in the second run
    ring.Take();
    EXPECT_EQ(ring.Take(), "x\n");
}

TEST(RingBuffer, OverflowAndOverlongLines) {
    Ring ring;
    ring << "old-old-old"
         << "new-new-new\n";
    EXPECT_EQ(ring.Count(), 16u);
    EXPECT_EQ(ring.Held(), "-oldnew-new-new\n") << "the newest bytes stay";
    EXPECT_EQ(ring.readIndex, (ring.lastIndex + 1) % 16);
    ring.Reset();
    ring << "0123456789abcdefXYZ";
    EXPECT_EQ(ring.Held(), "0123456789abcdef") << "an oversized put keeps its first bytes";
    ring.Reset();
    EXPECT_NE(ring.storage, nullptr);
    ring << "0123456789\nok\n";
    EXPECT_EQ(ring.Take(4), "789\n") << "a longer line gives its tail";
    EXPECT_EQ(ring.Take(4), "ok\n");
    ring.Release();
    ring << "A\n";
    EXPECT_EQ(ring.storage, nullptr);
    EXPECT_EQ(ring.Take(), "");
}

}  // namespace
