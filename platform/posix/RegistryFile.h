#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegistryValue {
    std::string name;  // empty for a key's default value ("@")
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct RegistryKey {
    std::string path;  // full path with its root, e.g. HKEY_CURRENT_USER\Software\Veltmark
    std::vector<RegistryValue> values;
};

// Key and value names compare like Windows: ASCII letters without regard to case.
bool SameName(std::string_view a, std::string_view b);

// The registry as REGEDIT4 text: every key as a section, in file order, with its values.
class RegistryFile {
public:
    // Reads the text, keeping every key and value that parses. False when any part of it
    // could not be read (that part is left out).
    bool Parse(std::string_view text);
    std::string Serialise() const;

    // A key exists when it or any key below it is listed.
    bool KeyExists(std::string_view path) const;
    const RegistryKey* FindKey(std::string_view path) const;
    // The key, appended with no values when missing.
    RegistryKey& AddKey(std::string_view path);
    const std::vector<RegistryKey>& Keys() const { return keys; }

    static const RegistryValue* FindValue(const RegistryKey& key, std::string_view name);
    // Replaces a value of the same name (keeping that name's spelling) or appends one.
    static void SetValue(RegistryKey& key, std::string_view name, uint32_t type,
                         std::vector<uint8_t> data);

private:
    std::vector<RegistryKey> keys;
};

}  // namespace platform
