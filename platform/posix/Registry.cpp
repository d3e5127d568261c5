#include "platform/Registry.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/RegistryFile.h"
#include "platform/posix/RegistryStorage.h"

namespace platform {

namespace {

constexpr long kInvalidHandle = 6;      // ERROR_INVALID_HANDLE
constexpr long kInvalidParameter = 87;  // ERROR_INVALID_PARAMETER

// An open key: its full path and what the handle was opened for, as on Windows
// (KEY_QUERY_VALUE reads values, KEY_WRITE sets them).
struct KeyHandle {
    std::string path;
    bool canQuery;
    bool canSet;
};

KeyHandle currentUser{"HKEY_CURRENT_USER", true, true};

bool AlwaysExists(std::string_view path) {
    return SameName(path, "HKEY_CURRENT_USER") || SameName(path, "HKEY_CURRENT_USER\\Software");
}

// Names that the REGEDIT4 text could not hold again are refused.
bool ValidName(std::string_view name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            return false;
        }
    }
    return true;
}

bool ValidSubKey(std::string_view subKey) {
    if (!ValidName(subKey) || subKey.find(']') != std::string_view::npos) {
        return false;
    }
    return subKey.empty() || (subKey.front() != '\\' && subKey.back() != '\\' &&
                              subKey.find("\\\\") == std::string_view::npos);
}

long JoinPath(RegKey parent, const char* subKey, RegKey* out, std::string* path) {
    if (parent == nullptr || out == nullptr) {
        return kInvalidHandle;
    }
    const std::string_view sub = subKey != nullptr ? subKey : "";
    if (!ValidSubKey(sub)) {
        return kInvalidParameter;
    }
    *path = static_cast<const KeyHandle*>(parent)->path;
    if (!sub.empty()) {
        *path += '\\';
        *path += sub;
    }
    return kRegSuccess;
}

// The update in progress: the file read once under its lock, written back by the outermost
// RegistryEndUpdate.
int updateDepth = 0;
std::unique_ptr<RegistryStorage> update;

RegistryStorage& Current() {
    if (!update) {
        update = std::make_unique<RegistryStorage>();
    }
    return *update;
}

// A call made outside any update is an update of its own.
class OneUpdate {
public:
    OneUpdate() { RegistryBeginUpdate(); }
    ~OneUpdate() { End(); }
    OneUpdate(const OneUpdate&) = delete;
    OneUpdate& operator=(const OneUpdate&) = delete;
    // The call's status, else the write's.
    long End(long status = kRegSuccess) {
        const long written = ended ? kRegSuccess : RegistryEndUpdate();
        ended = true;
        return status != kRegSuccess ? status : written;
    }

private:
    bool ended = false;
};

}  // namespace

void RegistryBeginUpdate() {
    ++updateDepth;
}

long RegistryEndUpdate() {
    if (updateDepth == 0 || --updateDepth > 0) {
        return kRegSuccess;
    }
    const long status = update ? update->Commit() : kRegSuccess;
    update.reset();
    return status;
}

RegKey CurrentUserKey() {
    return &currentUser;
}

long RegistryOpenKey(RegKey parent, const char* subKey, RegKey* out) {
    std::string path;
    const long status = JoinPath(parent, subKey, out, &path);
    if (status != kRegSuccess) {
        return status;
    }
    if (!AlwaysExists(path)) {
        OneUpdate one;
        if (!Current().File().KeyExists(path)) {
            return kRegNotFound;
        }
    }
    *out = new KeyHandle{path, true, false};
    return kRegSuccess;
}

long RegistryCreateKey(RegKey parent, const char* subKey, RegKey* out) {
    std::string path;
    long status = JoinPath(parent, subKey, out, &path);
    if (status != kRegSuccess) {
        return status;
    }
    if (!AlwaysExists(path)) {
        OneUpdate one;
        RegistryFile& file = Current().File();
        if (!file.KeyExists(path)) {
            file.AddKey(path);  // a file that may not be written fails when the update ends
        }
        status = one.End();
        if (status != kRegSuccess) {
            return status;
        }
    }
    *out = new KeyHandle{path, false, true};
    return kRegSuccess;
}

long RegistryQueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                        uint32_t* size) {
    if (key == nullptr) {
        return kInvalidHandle;
    }
    const KeyHandle& handle = *static_cast<const KeyHandle*>(key);
    if (!handle.canQuery) {
        return kRegAccessDenied;
    }
    if (data != nullptr && size == nullptr) {
        return kInvalidParameter;
    }
    OneUpdate one;
    const RegistryKey* entry = Current().File().FindKey(handle.path);
    const RegistryValue* value =
        entry != nullptr ? RegistryFile::FindValue(*entry, name != nullptr ? name : "") : nullptr;
    if (value == nullptr) {
        return kRegNotFound;
    }
    const auto length = static_cast<uint32_t>(value->data.size());
    if (type != nullptr) {
        *type = value->type;
    }
    if (data != nullptr && *size < length) {
        *size = length;
        return kRegMoreData;
    }
    if (data != nullptr) {
        std::copy(value->data.begin(), value->data.end(), data);
    }
    if (size != nullptr) {
        *size = length;
    }
    return kRegSuccess;
}

long RegistrySetDword(RegKey key, const char* name, uint32_t value) {
    if (key == nullptr) {
        return kInvalidHandle;
    }
    const KeyHandle& handle = *static_cast<const KeyHandle*>(key);
    if (!handle.canSet) {
        return kRegAccessDenied;
    }
    const std::string_view valueName = name != nullptr ? name : "";
    if (!ValidName(valueName)) {
        return kInvalidParameter;
    }
    OneUpdate one;
    RegistryStorage& storage = Current();
    RegistryFile& file = storage.File();
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value >> 16),
                                  static_cast<uint8_t>(value >> 24)};
    const RegistryKey* entry = file.FindKey(handle.path);
    const RegistryValue* stored =
        entry != nullptr ? RegistryFile::FindValue(*entry, valueName) : nullptr;
    if (stored != nullptr && stored->type == kRegTypeDword && stored->data == bytes) {
        return one.End();  // already so: nothing to write
    }
    if (storage.WriteStatus() != kRegSuccess) {
        return one.End(storage.WriteStatus());
    }
    file.SetValue(file.AddKey(handle.path), valueName, kRegTypeDword, std::move(bytes));
    return one.End();
}

long RegistryCloseKey(RegKey key) {
    if (key == nullptr) {
        return kInvalidHandle;
    }
    if (key != &currentUser) {
        delete static_cast<KeyHandle*>(key);
    }
    return kRegSuccess;
}

}  // namespace platform
