#include "tools/common/TagBlock.h"

#include <algorithm>
#include <charconv>
#include <cinttypes>
#include <cstdio>

#include "tools/common/NmeaChecksum.h"

namespace {

constexpr size_t kSecondsDigits = 12;  // a longer "c:" counts milliseconds
constexpr size_t kMostDigits = 16;
constexpr int64_t kNoTime = -1;
constexpr int64_t kBadTime = -2;

// `digits` read whole as an unsigned number in `base`, or -1.
int64_t Number(std::string_view digits, int base) {
    uint64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [at, ec] = std::from_chars(digits.data(), end, value, base);
    return ec == std::errc{} && at == end && value <= INT64_MAX ? static_cast<int64_t>(value) : -1;
}

// The last "c:" of the comma-separated `fields` in milliseconds, kNoTime or kBadTime.
int64_t TimeField(std::string_view fields) {
    int64_t ms = kNoTime;
    for (size_t at = 0; at <= fields.size();) {
        const size_t comma = std::min(fields.find(',', at), fields.size());
        const std::string_view field = fields.substr(at, comma - at);
        at = comma + 1;
        if (!field.starts_with("c:"))
            continue;
        const std::string_view digits = field.substr(2);
        const int64_t value = digits.size() <= kMostDigits ? Number(digits, 10) : -1;
        if (value < 0)
            return kBadTime;
        ms = digits.size() <= kSecondsDigits ? value * 1000 : value;
    }
    return ms;
}

}  // namespace

TagBlock SplitTagBlock(std::string_view line) {
    const size_t close = line.starts_with('\\') ? line.find('\\', 1) : std::string_view::npos;
    if (close == std::string_view::npos)
        return {TagBlockKind::None, line, 0};
    const std::string_view block = line.substr(1, close - 1);
    TagBlock out{TagBlockKind::Damaged, line.substr(close + 1), 0};
    const size_t star = block.size() - std::min<size_t>(block.size(), 3);
    if (block.size() < 3 || block[star] != '*' ||
        Number(block.substr(star + 1), 16) != NmeaChecksum(block.substr(0, star)))
        return out;
    const int64_t ms = TimeField(block.substr(0, star));
    out.kind = ms == kNoTime ? TagBlockKind::Untimed
                             : (ms == kBadTime ? TagBlockKind::Damaged : TagBlockKind::Timed);
    out.ms = std::max<int64_t>(ms, 0);
    return out;
}

size_t FormatTagBlock(int64_t unixMs, char (&out)[kTagBlockSize]) {
    // At least 13 digits: a clock near 1970 must not read back as seconds.
    const int body = std::snprintf(out, sizeof out, "\\c:%013" PRId64, unixMs);
    const uint8_t sum = NmeaChecksum(std::string_view(out + 1, static_cast<size_t>(body - 1)));
    return static_cast<size_t>(body + std::snprintf(out + body, sizeof out - body, "*%02X\\", sum));
}
