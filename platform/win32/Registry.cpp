#include "platform/Registry.h"

#include <windows.h>

namespace platform {

namespace {

HKEY ToHkey(RegKey key) {
    return static_cast<HKEY>(key);
}

}  // namespace

RegKey CurrentUserKey() {
    return HKEY_CURRENT_USER;
}

long RegistryOpenKey(RegKey parent, const char* subKey, RegKey* out) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(ToHkey(parent), subKey, 0, KEY_QUERY_VALUE, &key);
    *out = status == ERROR_SUCCESS ? key : nullptr;
    return status;
}

long RegistryCreateKey(RegKey parent, const char* subKey, RegKey* out) {
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExA(ToHkey(parent), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_WRITE, nullptr, &key, nullptr);
    *out = status == ERROR_SUCCESS ? key : nullptr;
    return status;
}

long RegistryQueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                        uint32_t* size) {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    const LONG status = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, data, &valueSize);
    *type = valueType;
    *size = valueSize;
    return status;
}

long RegistrySetDword(RegKey key, const char* name, uint32_t value) {
    const BYTE bytes[4] = {
        static_cast<BYTE>(value),
        static_cast<BYTE>(value >> 8),
        static_cast<BYTE>(value >> 16),
        static_cast<BYTE>(value >> 24),
    };
    return RegSetValueExA(ToHkey(key), name, 0, REG_DWORD, bytes, sizeof bytes);
}

long RegistryCloseKey(RegKey key) {
    return RegCloseKey(ToHkey(key));
}

// The registry applies every call at once: there is nothing to group.
void RegistryBeginUpdate() {}

long RegistryEndUpdate() {
    return ERROR_SUCCESS;
}

}  // namespace platform
