#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

struct RegistryValue {
    std::string name;  // empty for a key's default value ("@")
    uint32_t type = 0;
    std::vector<uint8_t> data;
    std::string written;  // its line(s) as read, '\n' between them; empty once set anew
    std::string above;    // lines kept above it (comments, blank lines), each ending in '\n'
};

struct RegistryKey {
    std::string path;  // full path with its root, e.g. HKEY_CURRENT_USER\Software\Veltmark
    std::vector<RegistryValue> values;
    std::string below;                               // lines kept after its last value
    std::unordered_map<std::string, size_t> byName;  // folded value name -> index in values
};

// Key and value names compare like Windows: ASCII letters without regard to case.
bool SameName(std::string_view a, std::string_view b);
// A control character other than tab: a line that holds one cannot be read back.
bool HasControl(std::string_view s);

// A registry file: every key as a section with its values, comments and blank lines, in file
// order. Reads REGEDIT4 and version 5.00 text, 8-bit (with or without a UTF-8 byte-order
// mark) or UTF-16LE with its byte-order mark, and writes back in the header, encoding and line
// end it read; what was not changed is written back as it was read.
class RegistryFile {
public:
    // Reads the bytes, keeping every key and value that parses. False when any part could not
    // be read (that part is left out): also a value cut off or a text without its header.
    bool Parse(std::string_view bytes);
    std::string Serialise() const;
    // True once a key or value was added or changed since Parse.
    bool Changed() const { return changed; }

    // A key exists when it or any key below it is listed.
    bool KeyExists(std::string_view path) const;
    const RegistryKey* FindKey(std::string_view path) const;
    // The key, appended with no values when missing.
    RegistryKey& AddKey(std::string_view path);
    const std::vector<RegistryKey>& Keys() const { return keys; }

    static const RegistryValue* FindValue(const RegistryKey& key, std::string_view name);
    // Replaces a value of the same name (keeping that name's spelling) or appends one.
    void SetValue(RegistryKey& key, std::string_view name, uint32_t type,
                  std::vector<uint8_t> data);

private:
    enum class Encoding { Ansi, Utf8Bom, Utf16Le };

    RegistryKey& Section(std::string_view path, bool parsing);
    void Keep(RegistryKey* key, RegistryValue value);

    std::vector<RegistryKey> keys;
    std::unordered_map<std::string, long> index;  // folded path -> keys index; -1: only below
    std::string header = "REGEDIT4";
    std::string preamble;  // lines between the header and the first key
    std::string lineEnd = "\n";
    Encoding encoding = Encoding::Ansi;
    bool changed = false;
};

}  // namespace platform
