#include "platform/posix/RegistryValueText.h"

#include <cstdio>

#include "platform/Registry.h"

namespace platform::regtext {

namespace {

constexpr size_t kHexBytesPerLine = 25;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

}  // namespace

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Fold(std::string_view s) {
    std::string folded(s);
    for (char& c : folded) {
        c = Lower(c);
    }
    return folded;
}

std::string_view Trim(std::string_view s) {
    s = TrimLeft(s);
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

namespace {

// A quoted text at s[*pos] with the escapes \\ and \"; *pos moves past the closing quote.
bool ParseQuoted(std::string_view s, size_t* pos, std::string* out) {
    if (*pos >= s.size() || s[*pos] != '"') {
        return false;
    }
    for (size_t i = *pos + 1; i < s.size(); ++i) {
        if (s[i] == '"') {
            *pos = i + 1;
            return true;
        }
        if (s[i] == '\\') {
            if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
                return false;
            }
            ++i;
        }
        out->push_back(s[i]);
    }
    return false;
}

// Exactly `digits` hex digits when exact, else 1 to `digits`: a cut-off number is refused.
bool ParseHexNumber(std::string_view s, size_t digits, bool exact, uint32_t* out) {
    if (s.empty() || s.size() > digits || (exact && s.size() != digits)) {
        return false;
    }
    uint32_t n = 0;
    for (char c : s) {
        const int d = HexDigit(c);
        if (d < 0)
            return false;
        n = n << 4 | static_cast<uint32_t>(d);
    }
    *out = n;
    return true;
}

bool ParseHexBytes(std::string_view s, std::vector<uint8_t>* out) {
    s = Trim(s);
    while (!s.empty()) {
        const size_t comma = s.find(',');
        uint32_t byte = 0;
        if (!ParseHexNumber(Trim(s.substr(0, comma)), 2, true, &byte)) {
            return false;
        }
        out->push_back(static_cast<uint8_t>(byte));
        if (comma == std::string_view::npos) {
            break;
        }
        s = Trim(s.substr(comma + 1));
        if (s.empty()) {
            return false;
        }
    }
    return true;
}

void AppendQuoted(std::string* out, std::string_view text) {
    out->push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out->push_back('\\');
        }
        out->push_back(c);
    }
    out->push_back('"');
}

bool IsPlainString(const RegistryValue& value) {
    if (value.type != kRegTypeString || value.data.empty() || value.data.back() != 0) {
        return false;
    }
    for (size_t i = 0; i + 1 < value.data.size(); ++i) {
        // The reader skips lines with control characters, so such texts are written as hex.
        const uint8_t c = value.data[i];
        if (c < 0x20 && c != '\t') {
            return false;
        }
    }
    return true;
}

}  // namespace

bool ParseData(std::string_view s, RegistryValue* value) {
    if (!s.empty() && s.front() == '"') {
        std::string text;
        size_t pos = 0;
        if (!ParseQuoted(s, &pos, &text) || pos != s.size()) {
            return false;
        }
        value->type = kRegTypeString;
        value->data.assign(text.begin(), text.end());
        value->data.push_back(0);
        return true;
    }
    if (StartsWith(s, "dword:")) {
        uint32_t n = 0;
        if (!ParseHexNumber(s.substr(6), 8, true, &n)) {
            return false;
        }
        value->type = kRegTypeDword;
        value->data = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                       static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
        return true;
    }
    if (StartsWith(s, "hex:")) {
        value->type = kRegTypeBinary;
        return ParseHexBytes(s.substr(4), &value->data);
    }
    if (StartsWith(s, "hex(")) {
        const size_t close = s.find("):");
        return close != std::string_view::npos &&
               ParseHexNumber(s.substr(4, close - 4), 8, false, &value->type) &&
               ParseHexBytes(s.substr(close + 2), &value->data);
    }
    return false;
}

bool SplitValueLine(std::string_view line, std::string* name, std::string_view* data) {
    size_t pos = 0;
    if (!line.empty() && line.front() == '@') {
        pos = 1;
    } else if (!ParseQuoted(line, &pos, name)) {
        return false;
    }
    const std::string_view rest = TrimLeft(line.substr(pos));
    if (rest.empty() || rest.front() != '=') {
        return false;
    }
    *data = Trim(rest.substr(1));
    return true;
}

void AppendValue(std::string* out, const RegistryValue& value) {
    if (value.name.empty()) {
        *out += '@';
    } else {
        AppendQuoted(out, value.name);
    }
    *out += '=';
    char buffer[32];
    if (value.type == kRegTypeDword && value.data.size() == 4) {
        const uint32_t n = uint32_t{value.data[0]} | uint32_t{value.data[1]} << 8 |
                           uint32_t{value.data[2]} << 16 | uint32_t{value.data[3]} << 24;
        std::snprintf(buffer, sizeof buffer, "dword:%08x", n);
        *out += buffer;
        return;
    }
    if (IsPlainString(value)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()),
                                           value.data.size() - 1));
        return;
    }
    if (value.type == kRegTypeBinary) {
        *out += "hex:";
    } else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
        *out += buffer;
    }
    for (size_t i = 0; i < value.data.size(); ++i) {
        if (i > 0) {
            *out += i % kHexBytesPerLine == 0 ? ",\\\n  " : ",";
        }
        std::snprintf(buffer, sizeof buffer, "%02x", value.data[i]);
        *out += buffer;
    }
}

}  // namespace platform::regtext
