// The receive ring: lines out oldest first, across the wrap, and what overflow keeps.
#include "serial/RingBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace std::string_literals;
// Braced lists are evaluated left to right: {ring.Take(), ring.Take()} takes in that order.
using Strings = std::vector<std::string>;

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
    // Everything held, left in place: a peek with no terminator.
    std::string Held() { return Take(0, 1, '\0'); }
};

TEST(RingBuffer, LinesComeOutWholeAndOldestFirst) {
    Ring ring(0);
    EXPECT_EQ((std::tuple{ring.size, ring.Take()}), std::tuple(RingBuffer::kDefaultSize, ""s));
    ring.Put("XY", 0);
    ring.Put("", 0);
    EXPECT_EQ((Strings{ring.Take(), ring.Held()}), (Strings{"", "XY"})) << "a partial line waits";
    EXPECT_EQ((Strings{ring.In({"Z\r\n", "A\0B\n"s, "\n"}).Take(), ring.Take(), ring.Take()}),
              (Strings{"XYZ\r\n", "A\0B\n"s, "\n"}));
    EXPECT_EQ(std::tuple(ring.Count(), ring.readIndex, ring.lastIndex), std::tuple(0u, 0u, 0u));
    EXPECT_EQ((Strings{ring.In({"Q", "R\nS\n"}).Take(64, 1), ring.Take(0), ring.Take()}),
              (Strings{"QR\n", "QR\n", "S\n"}))
        << "a peek leaves the line; limit 0: the whole ring";
    EXPECT_EQ(ring.In({"ab\0c"s}).Take(10, 0, '\0'), "ab\0c"s) << "no terminator: all held";
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
    EXPECT_EQ((std::vector{ring.In({"fg\n"}).lastIndex, ring.Count(&firstRun), firstRun}),
              (std::vector<uint32_t>{2, 8, 5}));
    EXPECT_EQ(ring.Take(), "abcdefg\n");
    EXPECT_EQ((Strings{ring.In({"0123456789abc\n", "x\n"}).Take(), ring.Take()}),
              (Strings{"0123456789abc\n", "x\n"}))
        << "the two lines fill the ring exactly";
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
    EXPECT_EQ(ring.In({"A\n"}).Take(), "");
    EXPECT_EQ(ring.storage, nullptr);
}

}  // namespace
