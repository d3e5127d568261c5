#include "platform/posix/RegistryFile.h"

#include "platform/Registry.h"
#include "platform/posix/RegistryValueText.h"
#include "platform/posix/Utf16.h"

namespace platform {

using namespace regtext;

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

// A path of one or more non-empty names separated by single backslashes. A leading '-' (a
// key that an import deletes) is kept as a key of that name, which no lookup ever asks for.
bool ValidKeyPath(std::string_view path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') {
        return false;
    }
    return path.find("\\\\") == std::string_view::npos;
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
