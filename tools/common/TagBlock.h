#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The tag block in front of a recorded line, "\c:1700000000123*hh\": the time the line arrived
// as UNIX time in milliseconds in "c:", and "*hh" the XOR of the characters between "\" and "*".
// Read back, a "c:" of up to 12 digits is taken as seconds, a longer one as milliseconds: other
// tools write both.
enum class TagBlockKind { None, Untimed, Timed, Damaged };

struct TagBlock {
    TagBlockKind kind = TagBlockKind::None;
    std::string_view rest;  // what follows the block; the whole line when there is none
    int64_t ms = 0;         // Timed: UNIX time in milliseconds
};

// Splits one tag block ("\...\") off the front of `line`. Damaged: no valid "*hh", or a "c:"
// that is not 1 to 16 digits.
TagBlock SplitTagBlock(std::string_view line);

constexpr size_t kTagBlockSize = 32;

// Writes the block for `unixMs` (not negative) into `out`; returns its length.
size_t FormatTagBlock(int64_t unixMs, char (&out)[kTagBlockSize]);
