#include "platform/posix/Utf16.h"

#include <cstdint>

namespace platform {

bool DecodeUtf16(std::string_view bytes, std::string* out) {
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                     static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    };
    out->reserve(bytes.size());
    for (size_t i = 0; i < units; ++i) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
        }
        if (c < 0x80) {
            out->push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out->push_back(static_cast<char>(0xC0 | c >> 6));
            out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out->push_back(static_cast<char>(0xE0 | c >> 12));
            out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out->push_back(static_cast<char>(0xF0 | c >> 18));
            out->push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return bytes.size() % 2 == 0;
}

void EncodeUtf16(std::string_view text, std::string* out) {
    auto put = [out](uint32_t unit) {
        out->push_back(static_cast<char>(unit & 0xFF));
        out->push_back(static_cast<char>(unit >> 8));
    };
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<uint8_t>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        uint32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        bool whole = lead < 0x80 || (lead >= 0xC0 && lead < 0xF8 && i + length <= text.size());
        for (size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            whole = (next & 0xC0) == 0x80;
            c = c << 6 | (next & 0x3F);
        }
        if (!whole || c > 0x10FFFF) {
            put(lead);
            i += 1;
            continue;
        }
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
        i += length;
    }
}

}  // namespace platform
