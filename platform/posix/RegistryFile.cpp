#include "platform/posix/RegistryFile.h"

#include <cstdio>

#include "platform/Registry.h"

namespace platform {

namespace {

constexpr size_t kHexBytesPerLine = 25;
constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

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

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// A path of one or more non-empty names separated by single backslashes. A leading '-' (a
// key that an import deletes) is kept as a key of that name, which no lookup ever asks for.
bool ValidKeyPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') {
        return false;
    }
    return path.find("\\\\") == std::string_view::npos;
}

// UTF-16LE code units as UTF-8, lone surrogates included (as three bytes each), so that
// writing back gives the same units. False when a byte is left over.
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

// The reverse of DecodeUtf16. A byte that starts no sequence stands for itself (Latin-1).
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

// The name and what follows its '='; false when the line holds no name and '='.
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

// One line as read: continued hex data (",\" then a line starting with a hex digit) joined
// up in `text`, the physical lines as they were in `written`.
struct LogicalLine {
    std::string text;
    std::string written;
    bool ended = false;  // its last physical line had a line end
};

class LineReader {
public:
    explicit LineReader(std::string_view text) : text(text) {}
    bool More() const { return pos < text.size(); }

    LogicalLine Next() {
        LogicalLine line;
        std::string_view physical = Physical(&pos, &line.ended);
        line.written = physical;
        line.text = Trim(physical);
        while (!line.text.empty() && line.text.back() == '\\' && line.text.front() != '[' &&
               line.text.front() != ';') {
            size_t next = pos;
            bool ended = false;
            const std::string_view more = Physical(&next, &ended);
            const std::string_view trimmed = Trim(more);
            if (trimmed.empty() || HexDigit(trimmed.front()) < 0) {
                break;  // the trailing backslash makes the line unreadable
            }
            line.text.pop_back();
            line.text += trimmed;
            line.written += '\n';
            line.written += more;
            line.ended = ended;
            pos = next;
        }
        return line;
    }

    // The line end that the text uses first: CR LF, else LF (also for CR alone).
    static std::string_view LineEnd(std::string_view text) {
        const size_t end = text.find_first_of("\r\n");
        return end != std::string_view::npos && text.substr(end, 2) == "\r\n" ? "\r\n" : "\n";
    }

private:
    // Next line from *at without its line end (CR LF, LF or CR).
    std::string_view Physical(size_t* at, bool* ended) const {
        const size_t end = text.find_first_of("\r\n", *at);
        const std::string_view line =
            text.substr(*at, end == std::string_view::npos ? end : end - *at);
        *ended = end != std::string_view::npos;
        *at = !*ended ? text.size() : text.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
        return line;
    }

    std::string_view text;
    size_t pos = 0;
};

// The last of `lines` (each ending in '\n') is blank.
bool EndsWithBlankLine(std::string_view lines) {
    if (lines.empty()) {
        return false;
    }
    lines.remove_suffix(1);
    const size_t start = lines.rfind('\n');
    return Trim(lines.substr(start == std::string_view::npos ? 0 : start + 1)).empty();
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

}  // namespace

bool HasControl(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            return true;
        }
    }
    return false;
}

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

bool RegistryFile::Parse(std::string_view bytes) {
    *this = RegistryFile();
    bool clean = true;
    std::string decoded;
    std::string_view text = bytes;
    if (bytes.substr(0, 2) == kUtf16Bom) {
        encoding = Encoding::Utf16Le;
        clean = DecodeUtf16(bytes.substr(2), &decoded);
        text = decoded;
    } else if (bytes.substr(0, 3) == kUtf8Bom) {
        encoding = Encoding::Utf8Bom;
        text.remove_prefix(3);
    }
    lineEnd = LineReader::LineEnd(text);
    bool headerSeen = false;
    RegistryKey* current = nullptr;
    std::string kept;  // lines kept as written, waiting for what follows them
    auto keepBelow = [&]() -> std::string& {
        return current != nullptr ? current->below : keys.empty() ? preamble : keys.back().below;
    };
    LineReader reader(text);
    while (reader.More()) {
        LogicalLine line = reader.Next();
        if (line.text.empty() || line.text.front() == ';') {
            (kept += line.written) += '\n';
            continue;
        }
        if (!headerSeen) {
            headerSeen = true;
            if (line.text == kHeader4 || line.text == kHeader5) {
                header = line.text;
                continue;
            }
            clean = false;
        }
        if (HasControl(line.text)) {
            clean = false;
            continue;
        }
        if (line.text.front() == '[') {
            keepBelow() += kept;
            kept.clear();
            const std::string_view path = std::string_view(line.text).substr(1);
            if (line.text.back() == ']' && ValidKeyPath(path.substr(0, path.size() - 1))) {
                current = &Section(path.substr(0, path.size() - 1), true);
            } else {
                // Values after a key line that cannot be read have no key to go to.
                current = nullptr;
                clean = false;
            }
            continue;
        }
        RegistryValue value;
        std::string_view data;
        if (current == nullptr || !SplitValueLine(line.text, &value.name, &data)) {
            clean = false;
            continue;
        }
        if (data == "-") {
            (kept += line.written) += '\n';  // a value that an import deletes
            continue;
        }
        // Hex data may go on over several lines: a last one without its line end may have
        // been cut off.
        if (!ParseData(data, &value) || (!line.ended && StartsWith(data, "hex"))) {
            clean = false;
            continue;
        }
        value.written = std::move(line.written);
        value.above = std::move(kept);
        kept.clear();
        Keep(current, std::move(value));
    }
    keepBelow() += kept;
    return clean;
}

void RegistryFile::Keep(RegistryKey* key, RegistryValue value) {
    const auto [at, added] = key->byName.try_emplace(Fold(value.name), key->values.size());
    if (added) {
        key->values.push_back(std::move(value));
        return;
    }
    // The later of two values of one name is the one an import leaves.
    RegistryValue& earlier = key->values[at->second];
    earlier.above += value.above;
    earlier.type = value.type;
    earlier.data = std::move(value.data);
    earlier.written = std::move(value.written);
}

std::string RegistryFile::Serialise() const {
    std::string out = header + "\n" + preamble;
    for (const RegistryKey& key : keys) {
        out += '[';
        out += key.path;
        out += "]\n";
        for (const RegistryValue& value : key.values) {
            out += value.above;
            if (value.written.empty()) {
                AppendValue(&out, value);
            } else {
                out += value.written;
            }
            out += '\n';
        }
        out += key.below;
    }
    std::string ended;
    if (lineEnd != "\n") {
        ended.reserve(out.size() + out.size() / 16);
        for (char c : out) {
            if (c == '\n') {
                ended += lineEnd;
            } else {
                ended += c;
            }
        }
        out.swap(ended);
    }
    switch (encoding) {
        case Encoding::Utf16Le: {
            std::string wide(kUtf16Bom);
            EncodeUtf16(out, &wide);
            return wide;
        }
        case Encoding::Utf8Bom:
            return std::string(kUtf8Bom) + out;
        case Encoding::Ansi:
            break;
    }
    return out;
}

bool RegistryFile::KeyExists(std::string_view path) const {
    return index.find(Fold(path)) != index.end();
}

const RegistryKey* RegistryFile::FindKey(std::string_view path) const {
    const auto found = index.find(Fold(path));
    return found != index.end() && found->second >= 0 ? &keys[static_cast<size_t>(found->second)]
                                                      : nullptr;
}

RegistryKey& RegistryFile::AddKey(std::string_view path) {
    return Section(path, false);
}

RegistryKey& RegistryFile::Section(std::string_view path, bool parsing) {
    const std::string folded = Fold(path);
    const auto [found, added] = index.try_emplace(folded, -1);
    if (found->second >= 0) {
        return keys[static_cast<size_t>(found->second)];
    }
    found->second = static_cast<long>(keys.size());
    if (added) {
        // Each key above it exists from now on; those already listed have theirs listed too.
        for (size_t cut = folded.rfind('\\'); cut != std::string::npos && cut > 0;
             cut = folded.rfind('\\', cut - 1)) {
            if (!index.try_emplace(folded.substr(0, cut), -1).second) {
                break;
            }
        }
    }
    if (!parsing) {
        // Set apart by a blank line, as regedit writes keys.
        std::string& before = keys.empty() ? preamble : keys.back().below;
        if (!EndsWithBlankLine(before)) {
            before += '\n';
        }
        changed = true;
    }
    keys.push_back(RegistryKey{std::string(path), {}, parsing ? "" : "\n", {}});
    return keys.back();
}

const RegistryValue* RegistryFile::FindValue(const RegistryKey& key, std::string_view name) {
    const auto found = key.byName.find(Fold(name));
    return found != key.byName.end() ? &key.values[found->second] : nullptr;
}

void RegistryFile::SetValue(RegistryKey& key, std::string_view name, uint32_t type,
                            std::vector<uint8_t> data) {
    const auto found = key.byName.find(Fold(name));
    if (found == key.byName.end()) {
        key.byName.emplace(Fold(name), key.values.size());
        key.values.push_back(RegistryValue{std::string(name), type, std::move(data), {}, {}});
        changed = true;
        return;
    }
    RegistryValue& value = key.values[found->second];
    if (value.type != type || value.data != data) {
        value.type = type;
        value.data = std::move(data);
        value.written.clear();
        changed = true;
    }
}

}  // namespace platform
