#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Builds an AIS message bit by bit, most significant bit first, and armours it into the
// six-bit payload characters of an NMEA encapsulation sentence.
class SixBitWriter {
public:
    // Unsigned field of `bits` bits (1..32). False, and nothing written, when the value does
    // not fit.
    bool PutUnsigned(uint32_t value, int bits);
    // Two's complement field of `bits` bits (2..32). False when the value does not fit.
    bool PutSigned(int32_t value, int bits);
    // `count` characters of the six-bit character set, padded with "@". False when the text
    // is longer or holds a character outside the set (lower case is not folded).
    bool PutText(std::string_view text, int count);

    int BitCount() const { return static_cast<int>(bits.size()); }
    // The payload characters; the last one is padded with zero bits, whose number FillBits
    // gives.
    std::string Armour() const;
    int FillBits() const { return (6 - BitCount() % 6) % 6; }

    // Six-bit character code of an ASCII character ("@".."_" 0..31, " ".."?" 32..63), or -1.
    static int SixBitCode(char ch);
    // Armour character of a six-bit value 0..63.
    static char ArmourChar(int value);

private:
    std::string bits;  // one '0' or '1' per bit: simple, and messages are short
};
