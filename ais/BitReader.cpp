#include "ais/AisDecoder.h"

// Bits are numbered from 1: bit 1 is the most significant bit of the first six-bit value.
int32_t AisDecoder::ReadUnsigned(std::span<const int8_t> values, int start, int length) {
    const int first = (start - 1) / 6;
    const int last = (start + length - 2) / 6;
    const int count = static_cast<int>(values.size());
    uint64_t bits = 0;
    for (int i = first; i <= last; ++i) {
        bits = (bits << 6) | static_cast<uint64_t>(i < count ? values[i] & 63 : 0);
    }
    const int behind = (last + 1) * 6 - (start + length - 1);
    return static_cast<int32_t>((bits >> behind) & ((uint64_t{1} << length) - 1));
}

char AisDecoder::ReadSixBitChar(std::span<const int8_t> values, int bits, int start) {
    if (start + 5 > bits || start + 5 > static_cast<int>(values.size()) * 6)
        return '@';
    const int v = ReadUnsigned(values, start, 6);
    return static_cast<char>(v < 32 ? v + 64 : v);
}

void AisDecoder::ReadText(std::span<const int8_t> values, int bits, int start, int count,
                          char* out) {
    for (int i = 0; i < count; ++i)
        out[i] = ReadSixBitChar(values, bits, start + 6 * i);
    out[count] = '\0';
    for (int i = count - 1; i >= 0 && (out[i] == '@' || out[i] == ' '); --i)
        out[i] = '\0';
}
