#include "tools/brenlow-dump/JsonWriter.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace {

// Unicode code points of Windows-1252 bytes 0x80-0x9F; 0 where the code page has none.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

void JsonWriter::Reserve(size_t bytes) {
    if (used + bytes > kCapacity)
        Flush();
}

void JsonWriter::Flush() {
    errno = 0;
    if (used > 0 && error == 0 && std::fwrite(buffer, 1, used, out) != used)
        error = errno != 0 ? errno : EIO;
    used = 0;
}

bool JsonWriter::Finish() {
    Flush();
    errno = 0;
    if (error == 0 && std::fflush(out) != 0)
        error = errno != 0 ? errno : EIO;
    return error == 0;
}

void JsonWriter::Raw(std::string_view text) {
    Reserve(text.size());
    std::memcpy(buffer + used, text.data(), text.size());
    used += text.size();
}

void JsonWriter::BeginObject() {
    Raw("{");
    first = true;
}

void JsonWriter::EndObject() {
    Raw("}");
    first = false;
}

void JsonWriter::Key(std::string_view key) {
    Reserve(key.size() + 4);
    if (!first)
        buffer[used++] = ',';
    first = false;
    buffer[used++] = '"';
    std::memcpy(buffer + used, key.data(), key.size());
    used += key.size();
    buffer[used++] = '"';
    buffer[used++] = ':';
}

void JsonWriter::Int(int64_t value) {
    Reserve(24);
    used = std::to_chars(buffer + used, buffer + kCapacity, value).ptr - buffer;
}

void JsonWriter::Bool(bool value) {
    Raw(value ? "true" : "false");
}

void JsonWriter::Double(double value) {
    Reserve(32);
    used = std::to_chars(buffer + used, buffer + kCapacity, value).ptr - buffer;
}

void JsonWriter::String(std::string_view cp1252) {
    Reserve(cp1252.size() * 6 + 2);
    char* p = buffer + used;
    *p++ = '"';
    for (char ch : cp1252) {
        const unsigned char c = static_cast<unsigned char>(ch);
        unsigned code = c;
        if (c >= 0x80 && c < 0xA0)
            code = kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : 0xFFFD;
        if (code == '"' || code == '\\') {
            *p++ = '\\';
            *p++ = static_cast<char>(code);
        } else if (code < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            *p++ = '\\';
            *p++ = 'u';
            *p++ = '0';
            *p++ = '0';
            *p++ = kHex[code >> 4];
            *p++ = kHex[code & 15];
        } else if (code < 0x80) {
            *p++ = static_cast<char>(code);
        } else if (code < 0x800) {
            *p++ = static_cast<char>(0xC0 | (code >> 6));
            *p++ = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            *p++ = static_cast<char>(0xE0 | (code >> 12));
            *p++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    *p++ = '"';
    used = p - buffer;
}

void JsonWriter::EndLine() {
    Raw("\n");
    first = true;
}
