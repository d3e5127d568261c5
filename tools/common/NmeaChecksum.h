#pragma once

#include <cstdint>
#include <string_view>

// The XOR of the characters of an NMEA sentence's body (between "!" or "$" and "*") or of a
// tag block (between "\" and "*").
inline uint8_t NmeaChecksum(std::string_view body) {
    uint8_t sum = 0;
    for (const char c : body) {
        sum ^= static_cast<uint8_t>(c);
    }
    return sum;
}
