// The bit readers: big-endian fields across six-bit values, never beyond the payload.
#include <gtest/gtest.h>

#include <vector>

#include "ais/AisDecoder.h"

namespace {

std::vector<int8_t> Values(const char* armoured) {
    std::vector<int8_t> v;
    for (const char* p = armoured; *p; ++p)
        v.push_back(static_cast<int8_t>(AisDecoder::SixBitValue(*p)));
    return v;
}

TEST(BitReader, FieldsInsideAndAcrossValues) {
    // Values 0b000001 0b111111 0b101010 0b000011
    const std::vector<int8_t> v = {1, 63, 42, 3};
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 1, 6), 1);
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 6, 1), 1);
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 7, 6), 63) << "a whole value keeps its top bit";
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 6, 3), 0b111);
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 13, 4), 0b1010) << "shifted down inside one value";
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 11, 10), 0b1110101000);
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 1, 24), 0b000001111111101010000011);
}

TEST(BitReader, ThirtyBitFieldAtEveryOffset) {
    const std::vector<int8_t> v = Values("13aDoPhP00PCmi<MEl5KoOw025Ip");
    // The MMSI of this real sentence, then the same bits read from shifted starts.
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 9, 30), 244660099);
    const int64_t wide =
        (int64_t{AisDecoder::ReadUnsigned(v, 1, 30)} << 30) | AisDecoder::ReadUnsigned(v, 31, 30);
    for (int start = 1; start <= 31; ++start) {
        const int64_t expected = (wide >> (60 - (start - 1) - 30)) & ((1 << 30) - 1);
        EXPECT_EQ(AisDecoder::ReadUnsigned(v, start, 30), expected) << start;
    }
}

TEST(BitReader, BitsBeyondThePayloadReadAsZero) {
    const std::vector<int8_t> v = {63, 63};
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 10, 6), 0b111000);
    EXPECT_EQ(AisDecoder::ReadUnsigned(v, 13, 30), 0);
    EXPECT_EQ(AisDecoder::ReadUnsigned(std::span<const int8_t>(), 1, 30), 0);
}

TEST(BitReader, SixBitCharactersMapToTheAisCharacterSet) {
    const std::vector<int8_t> v = {0, 1, 26, 31, 32, 33, 48, 63};
    const char expected[] = "@AZ_ !0?";
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(AisDecoder::ReadSixBitChar(v, 1 + 6 * i), expected[i]);
    // Across a value boundary: bits 4-9 of 0b000111 0b111000.
    const std::vector<int8_t> split = {7, 56};
    EXPECT_EQ(AisDecoder::ReadSixBitChar(split, 4), '?');
    // A character whose six bits are not all present reads as "@".
    EXPECT_EQ(AisDecoder::ReadSixBitChar(split, 8), '@');
}

TEST(BitReader, TextIsTrimmedOnlyAtTheEnd) {
    auto read = [](std::vector<int8_t> v) {
        char out[8];
        AisDecoder::ReadText(v, 1, static_cast<int>(v.size()), out);
        return std::string(out);
    };
    EXPECT_EQ(read({2, 20, 15, 32, 0, 0, 0}), "BTO");
    EXPECT_EQ(read({0, 0, 0, 0, 0, 0, 0}), "");
    EXPECT_EQ(read({32, 32, 32, 32, 32, 32, 32}), "");
    EXPECT_EQ(read({32, 0, 32, 0, 32, 0, 32}), "");
    EXPECT_EQ(read({12, 0, 14, 32, 0, 32, 0}), "L@N");
    EXPECT_EQ(read({0, 0, 10, 49, 51, 48, 2}), "@@J130B");
    EXPECT_EQ(read({12, 1, 18, 9, 14, 1, 32}), "LARINA");
}

}  // namespace
