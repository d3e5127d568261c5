#include "serial/RingBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RingBufferTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(ring.Allocate(0), nullptr); }

    void Put(const std::string& bytes) {
        ring.Put(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }

    // The line TakeLine gives, as a string with its exact bytes.
    std::string Take(uint32_t limit = 1024, int peek = 0) {
        std::string out(limit + 1, '#');
        uint32_t n = ring.TakeLine(out.data(), limit, '\n', peek);
        EXPECT_EQ(out[n], '\0');
        return out.substr(0, n);
    }

    std::string Held() {
        std::string out(ring.Count() + 1, '#');
        uint32_t n = ring.CopyOut(out.data());
        EXPECT_EQ(out[n], '\0');
        return out.substr(0, n);
    }

    RingBuffer ring;
};

TEST_F(RingBufferTest, AllocateGivesEmptyDefaultStorage) {
    EXPECT_EQ(ring.size, 4096u);
    EXPECT_EQ(ring.Count(), 0u);
    EXPECT_EQ(Take(), "");
}

TEST_F(RingBufferTest, PutWithoutLengthTakesText) {
    ring.Put("AB", 0);
    EXPECT_EQ(Held(), "AB");
    ring.Put("", 0);
    EXPECT_EQ(ring.Count(), 2u);
}

TEST_F(RingBufferTest, PartialLineWaitsForItsTerminator) {
    Put("XYZ");
    EXPECT_EQ(Take(), "");
    EXPECT_EQ(Held(), "XYZ");
    Put("\r\n");
    EXPECT_EQ(Take(), "XYZ\r\n");
    EXPECT_EQ(ring.Count(), 0u);
    EXPECT_EQ(ring.readIndex, 0u);
    EXPECT_EQ(ring.lastIndex, 0u);
}

TEST_F(RingBufferTest, LinesComeOutOldestFirst) {
    Put("A\nB\n");
    EXPECT_EQ(Take(), "A\n");
    EXPECT_EQ(Take(), "B\n");
    EXPECT_EQ(Take(), "");
}

TEST_F(RingBufferTest, SingleByteIntoEmptyBufferIsKept) {
    Put("Q");
    Put("R\n");
    EXPECT_EQ(Take(), "QR\n");
}

TEST_F(RingBufferTest, SingleHeldTerminatorIsTaken) {
    Put("\n");
    EXPECT_EQ(Take(), "\n");
    EXPECT_EQ(ring.Count(), 0u);
}

TEST_F(RingBufferTest, NulBytesAreOrdinaryLineBytes) {
    Put(std::string("A\0B\n", 4));
    EXPECT_EQ(Take(), std::string("A\0B\n", 4));
    Put(std::string("\0\n", 2));
    EXPECT_EQ(Take(), std::string("\0\n", 2));
}

TEST_F(RingBufferTest, LineAcrossTheEndOfStorageComesOutWhole) {
    Put(std::string(4090, 'a') + "\n01234");
    Take(4096);
    Put("56789\n");  // continues at index 0
    EXPECT_LT(ring.lastIndex, ring.readIndex);
    uint32_t firstRun = 0;
    EXPECT_EQ(ring.Count(&firstRun), 11u);
    EXPECT_EQ(firstRun, 5u);
    EXPECT_EQ(Take(), "0123456789\n");
    EXPECT_EQ(ring.Count(), 0u);
}

TEST_F(RingBufferTest, TerminatorInSecondRunIsFound) {
    Put(std::string(4093, 'a') + "\nab");
    Take(4096);
    Put("cdef");
    Put("gh\n");
    EXPECT_EQ(Take(), "abcdefgh\n");
}

TEST_F(RingBufferTest, PutEndingAtEndOfStorageContinuesAtZero) {
    Put(std::string(4000, 'a') + "\n");
    Put(std::string(95, 'b'));
    EXPECT_EQ(ring.lastIndex, 4095u);
    Take(4096);
    Put("c\n");
    EXPECT_EQ(ring.lastIndex, 1u);
    EXPECT_EQ(Take(), std::string(95, 'b') + "c\n");
}

TEST_F(RingBufferTest, OverflowKeepsNewestBytes) {
    Put(std::string(3000, 'o'));
    Put(std::string(2000, 'n') + "\n");
    EXPECT_EQ(ring.Count(), 4096u);
    std::string held = Held();
    EXPECT_EQ(held.substr(0, 2095), std::string(2095, 'o'));
    EXPECT_EQ(held.substr(2095), std::string(2000, 'n') + "\n");
    EXPECT_EQ(ring.readIndex, (ring.lastIndex + 1) % 4096);
}

TEST_F(RingBufferTest, OversizedPutKeepsItsFirstBytes) {
    Put(std::string(4096, 'f') + std::string(904, 'x'));
    EXPECT_EQ(ring.readIndex, 0u);
    EXPECT_EQ(ring.lastIndex, 4095u);
    EXPECT_EQ(Held(), std::string(4096, 'f'));
}

TEST_F(RingBufferTest, LongLineGivesItsTailAndIsConsumedWhole) {
    std::string line;
    for (int i = 0; i < 1999; ++i) {
        line += static_cast<char>('a' + i % 26);
    }
    line += "\n";
    Put(line + "next\n");
    EXPECT_EQ(Take(1024), line.substr(2000 - 1024));
    EXPECT_EQ(Take(1024), "next\n");
}

TEST_F(RingBufferTest, PeekLeavesTheLine) {
    Put("A\nB\n");
    EXPECT_EQ(Take(1024, 1), "A\n");
    EXPECT_EQ(Take(1024, 1), "A\n");
    EXPECT_EQ(Take(), "A\n");
    EXPECT_EQ(Take(), "B\n");
}

TEST_F(RingBufferTest, ResetKeepsStorage) {
    Put("stale");
    ring.Reset();
    EXPECT_NE(ring.storage, nullptr);
    Put("new\n");
    EXPECT_EQ(ring.readIndex, 0u);
    EXPECT_EQ(Take(), "new\n");
}

TEST_F(RingBufferTest, NulTerminatorTakesEverythingHeld) {
    Put(std::string("ab\0c", 4));
    std::string out(11, '#');
    EXPECT_EQ(ring.TakeLine(out.data(), 10, '\0', 0), 4u);
    EXPECT_EQ(out.substr(0, 5), std::string("ab\0c\0", 5));
    EXPECT_EQ(ring.Count(), 0u);
}

TEST(RingBufferUnallocated, IgnoresInputAndGivesNothing) {
    RingBuffer ring;
    ring.Put("A\n", 2);
    char out[8] = "junk";
    EXPECT_EQ(ring.TakeLine(out, 7, '\n', 0), 0u);
    EXPECT_EQ(out[0], '\0');
    ring.Allocate(16);
    ring.Release();
    EXPECT_EQ(ring.storage, nullptr);
    EXPECT_EQ(ring.size, 0u);
}

}  // namespace
