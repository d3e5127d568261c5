#include "platform/posix/RegistryFile.h"

#include <cstdio>

namespace platform {

namespace {

constexpr uint32_t kTypeString = 1;
constexpr uint32_t kTypeBinary = 3;
constexpr uint32_t kTypeDword = 4;
constexpr size_t kHexBytesPerLine = 25;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
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

bool HasControl(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            return true;
        }
    }
    return false;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// A path of one or more non-empty names separated by single backslashes.
bool ValidKeyPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\' || path.front() == '-') {
        return false;
    }
    return path.find("\\\\") == std::string_view::npos;
}

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

bool ParseHexNumber(std::string_view s, size_t maxDigits, uint32_t* out) {
    if (s.empty() || s.size() > maxDigits) {
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
        if (!ParseHexNumber(Trim(s.substr(0, comma)), 2, &byte)) {
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

bool ParseData(std::string_view s, RegistryValue* value) {
    if (!s.empty() && s.front() == '"') {
        std::string text;
        size_t pos = 0;
        if (!ParseQuoted(s, &pos, &text) || pos != s.size()) {
            return false;
        }
        value->type = kTypeString;
        value->data.assign(text.begin(), text.end());
        value->data.push_back(0);
        return true;
    }
    if (StartsWith(s, "dword:")) {
        uint32_t n = 0;
        const std::string_view digits = s.substr(6);
        // Exactly eight digits, so that a cut-off value is not taken for a smaller one.
        if (digits.size() != 8 || !ParseHexNumber(digits, 8, &n)) {
            return false;
        }
        value->type = kTypeDword;
        value->data = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                       static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)};
        return true;
    }
    if (StartsWith(s, "hex:")) {
        value->type = kTypeBinary;
        return ParseHexBytes(s.substr(4), &value->data);
    }
    if (StartsWith(s, "hex(")) {
        const size_t close = s.find("):");
        return close != std::string_view::npos &&
               ParseHexNumber(s.substr(4, close - 4), 8, &value->type) &&
               ParseHexBytes(s.substr(close + 2), &value->data);
    }
    return false;
}

bool ParseValueLine(std::string_view line, RegistryValue* value) {
    size_t pos = 0;
    if (line.front() == '@') {
        pos = 1;
    } else if (!ParseQuoted(line, &pos, &value->name)) {
        return false;
    }
    const std::string_view rest = TrimLeft(line.substr(pos));
    return !rest.empty() && rest.front() == '=' && ParseData(Trim(rest.substr(1)), value);
}

// Next physical line from *pos, without its line end.
std::string_view NextLine(std::string_view text, size_t* pos) {
    const size_t end = text.find('\n', *pos);
    std::string_view line = text.substr(*pos, end == std::string_view::npos ? end : end - *pos);
    *pos = end == std::string_view::npos ? text.size() : end + 1;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// One line as written, with hex data continued (",\" then an indented line) joined up.
// A continuation must start with a hex digit, so a damaged line never swallows a key line.
std::string NextLogicalLine(std::string_view text, size_t* pos) {
    std::string line(Trim(NextLine(text, pos)));
    while (!line.empty() && line.back() == '\\' && line.front() != '[') {
        size_t next = *pos;
        const std::string_view more = Trim(NextLine(text, &next));
        if (more.empty() || HexDigit(more.front()) < 0) {
            break;  // the trailing backslash makes the line unreadable
        }
        line.pop_back();
        line += more;
        *pos = next;
    }
    return line;
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
    if (value.type != kTypeString || value.data.empty() || value.data.back() != 0) {
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

void AppendData(std::string* out, const RegistryValue& value) {
    char buffer[32];
    if (value.type == kTypeDword && value.data.size() == 4) {
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
    if (value.type == kTypeBinary) {
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

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool RegistryFile::Parse(std::string_view text) {
    bool clean = true;
    bool headerSeen = false;
    RegistryKey* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        const std::string line = NextLogicalLine(text, &pos);
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (!headerSeen) {
            headerSeen = true;
            if (line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00") {
                continue;
            }
            clean = false;
        }
        if (HasControl(line)) {
            clean = false;
            continue;
        }
        if (line.front() == '[') {
            const std::string_view path = std::string_view(line).substr(1, line.size() - 2);
            if (line.size() >= 2 && line.back() == ']' && ValidKeyPath(path)) {
                current = &AddKey(path);
            } else {
                // Values after a key line that cannot be read have no key to go to.
                current = nullptr;
                clean = false;
            }
            continue;
        }
        RegistryValue value;
        if (current != nullptr && ParseValueLine(line, &value)) {
            SetValue(*current, value.name, value.type, std::move(value.data));
        } else {
            clean = false;
        }
    }
    return clean;
}

std::string RegistryFile::Serialise() const {
    std::string out = "REGEDIT4\n";
    for (const RegistryKey& key : keys) {
        out += "\n[" + key.path + "]\n";
        for (const RegistryValue& value : key.values) {
            if (value.name.empty()) {
                out += '@';
            } else {
                AppendQuoted(&out, value.name);
            }
            out += '=';
            AppendData(&out, value);
            out += '\n';
        }
    }
    return out;
}

bool RegistryFile::KeyExists(std::string_view path) const {
    for (const RegistryKey& key : keys) {
        if (SameName(key.path.substr(0, path.size()), path) &&
            (key.path.size() == path.size() || key.path[path.size()] == '\\')) {
            return true;
        }
    }
    return false;
}

const RegistryKey* RegistryFile::FindKey(std::string_view path) const {
    for (const RegistryKey& key : keys) {
        if (SameName(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

RegistryKey& RegistryFile::AddKey(std::string_view path) {
    for (RegistryKey& key : keys) {
        if (SameName(key.path, path)) {
            return key;
        }
    }
    keys.push_back(RegistryKey{std::string(path), {}});
    return keys.back();
}

const RegistryValue* RegistryFile::FindValue(const RegistryKey& key, std::string_view name) {
    for (const RegistryValue& value : key.values) {
        if (SameName(value.name, name)) {
            return &value;
        }
    }
    return nullptr;
}

void RegistryFile::SetValue(RegistryKey& key, std::string_view name, uint32_t type,
                            std::vector<uint8_t> data) {
    for (RegistryValue& value : key.values) {
        if (SameName(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    key.values.push_back(RegistryValue{std::string(name), type, std::move(data)});
}

}  // namespace platform
