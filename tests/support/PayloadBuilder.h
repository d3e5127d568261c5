#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The decoder's headers come first: the helper Sentence below hides their record of that name.
#include "ais/AisDecoder.h"

// Builds AIS payloads bit by bit and wraps them into NMEA sentences with a correct checksum.
class PayloadBuilder {
public:
    explicit PayloadBuilder(int bits = 168) : bits(bits, 0) {}

    // Writes `value` into the `length` bits starting at bit `start` (numbered from 1); bits
    // beyond the payload's size are left out.
    PayloadBuilder& Set(int start, int length, int64_t value) {
        for (int i = 0; i < length && start - 1 + i < static_cast<int>(bits.size()); ++i)
            bits[start - 1 + i] = static_cast<char>((value >> (length - 1 - i)) & 1);
        return *this;
    }
    // Six-bit text, padded with "@" to `count` characters.
    PayloadBuilder& Text(int start, int count, const std::string& text) {
        for (int i = 0; i < count; ++i)
            Set(start + 6 * i, 6, i < static_cast<int>(text.size()) ? text[i] % 64 : 0);
        return *this;
    }

    std::string Armoured() const {
        std::string out((bits.size() + 5) / 6, '\0');
        for (size_t i = 0; i < out.size() * 6; ++i)
            out[i / 6] = static_cast<char>(out[i / 6] * 2 + (i < bits.size() ? bits[i] : 0));
        for (char& c : out)
            c = static_cast<char>(c < 40 ? c + 48 : c + 56);
        return out;
    }

private:
    std::vector<char> bits;
};

// Any text with a correct "*hh" checksum over the characters after the first, and CR LF.
inline std::string WithChecksum(const std::string& body) {
    unsigned sum = 0;
    for (size_t i = 1; i < body.size(); ++i)
        sum ^= static_cast<unsigned char>(body[i]);
    return body + '*' + "0123456789ABCDEF"[sum >> 4] + "0123456789ABCDEF"[sum & 15] + "\r\n";
}

// "!AIVDM,<total>,<number>,<seq>,<channel>,<payload>,<fill>*hh\r\n"
inline std::string Sentence(const std::string& payload, int total = 1, int number = 1,
                            const std::string& seq = "", const std::string& channel = "A",
                            int fill = 0, const std::string& address = "!AIVDM") {
    return WithChecksum(address + "," + std::to_string(total) + "," + std::to_string(number) + "," +
                        seq + "," + channel + "," + payload + "," + std::to_string(fill));
}
