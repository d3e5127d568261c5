#include "tools/brenlow-sim/SixBitWriter.h"

bool SixBitWriter::PutUnsigned(uint32_t value, int width) {
    if (width < 1 || width > 32 || (width < 32 && value >> width != 0)) {
        return false;
    }
    for (int i = width - 1; i >= 0; --i) {
        bits.push_back(((value >> i) & 1u) != 0 ? '1' : '0');
    }
    return true;
}

bool SixBitWriter::PutSigned(int32_t value, int width) {
    if (width < 2 || width > 32) {
        return false;
    }
    const int64_t limit = int64_t{1} << (width - 1);
    if (value < -limit || value >= limit) {
        return false;
    }
    const uint64_t mask = (uint64_t{1} << width) - 1;
    return PutUnsigned(static_cast<uint32_t>(static_cast<uint64_t>(value) & mask), width);
}

bool SixBitWriter::PutText(std::string_view text, int count) {
    if (static_cast<int>(text.size()) > count) {
        return false;
    }
    for (char ch : text) {
        if (SixBitCode(ch) < 0) {
            return false;
        }
    }
    for (int i = 0; i < count; ++i) {
        const char ch = i < static_cast<int>(text.size()) ? text[i] : '@';
        PutUnsigned(static_cast<uint32_t>(SixBitCode(ch)), 6);
    }
    return true;
}

std::string SixBitWriter::Armour() const {
    std::string out;
    out.reserve(bits.size() / 6 + 1);
    for (size_t i = 0; i < bits.size(); i += 6) {
        int value = 0;
        for (size_t j = i; j < i + 6; ++j) {
            value = value * 2 + (j < bits.size() && bits[j] == '1' ? 1 : 0);
        }
        out.push_back(ArmourChar(value));
    }
    return out;
}

int SixBitWriter::SixBitCode(char ch) {
    const int code = static_cast<unsigned char>(ch);
    if (code >= 64 && code <= 95) {
        return code - 64;
    }
    if (code >= 32 && code <= 63) {
        return code;
    }
    return -1;
}

char SixBitWriter::ArmourChar(int value) {
    return static_cast<char>(value < 40 ? value + 48 : value + 56);
}
