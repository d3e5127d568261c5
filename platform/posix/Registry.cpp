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
bool ValidSubKey(std::string_view subKey) {
    if (HasControl(subKey) || subKey.find(']') != std::string_view::npos) {
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

// Opens a key for reading, or creates it (when missing) for writing.
long OpenPath(RegKey parent, const char* subKey, RegKey* out, bool create) {
    std::string path;
    long status = JoinPath(parent, subKey, out, &path);
    if (status != kRegSuccess) {
        return status;
    }
    if (!AlwaysExists(path)) {
        OneUpdate one;
        RegistryFile& file = Current().File();
        if (!file.KeyExists(path)) {
            if (!create) {
                return kRegNotFound;
            }
            file.AddKey(path);  // a file that may not be written fails when the update ends
        }
        status = one.End();  // an open changes nothing: only a create can fail here
        if (status != kRegSuccess) {
            return status;
        }
    }
    *out = new KeyHandle{path, !create, create};
    return kRegSuccess;
}

// The key behind a handle, when it was opened for `right` (canQuery or canSet).
long Opened(RegKey key, bool KeyHandle::*right, const KeyHandle** handle) {
    if (key == nullptr) {
        return kInvalidHandle;
    }
    *handle = static_cast<const KeyHandle*>(key);
    return (*handle)->*right ? kRegSuccess : kRegAccessDenied;
}

const RegistryValue* StoredValue(const RegistryFile& file, const std::string& path,
                                 std::string_view name) {
    const RegistryKey* entry = file.FindKey(path);
    return entry != nullptr ? RegistryFile::FindValue(*entry, name) : nullptr;
}

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
    return OpenPath(parent, subKey, out, false);
}

long RegistryCreateKey(RegKey parent, const char* subKey, RegKey* out) {
    return OpenPath(parent, subKey, out, true);
}

long RegistryQueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                        uint32_t* size) {
    const KeyHandle* handle = nullptr;
    if (const long status = Opened(key, &KeyHandle::canQuery, &handle); status != kRegSuccess) {
        return status;
    }
    if (data != nullptr && size == nullptr) {
        return kInvalidParameter;
    }
    OneUpdate one;
    const RegistryValue* value =
        StoredValue(Current().File(), handle->path, name != nullptr ? name : "");
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
    const KeyHandle* handle = nullptr;
    if (const long status = Opened(key, &KeyHandle::canSet, &handle); status != kRegSuccess) {
        return status;
    }
    const std::string_view valueName = name != nullptr ? name : "";
    if (HasControl(valueName)) {
        return kInvalidParameter;
    }
    OneUpdate one;
    RegistryStorage& storage = Current();
    RegistryFile& file = storage.File();
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value >> 16),
                                  static_cast<uint8_t>(value >> 24)};
    const RegistryValue* stored = StoredValue(file, handle->path, valueName);
    if (stored != nullptr && stored->type == kRegTypeDword && stored->data == bytes) {
        return one.End();  // already so: nothing to write
    }
    if (storage.WriteStatus() != kRegSuccess) {
        return one.End(storage.WriteStatus());
    }
    file.SetValue(file.AddKey(handle->path), valueName, kRegTypeDword, std::move(bytes));
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
