#pragma once

#include <cstdint>

// The per-user registry, as the settings store uses it. Results are Win32 status codes:
// 0 is success. On Windows each call is the Win32 function named beside it; on Linux it is a
// small registry of our own with the same semantics, kept in a REGEDIT4 text file.
namespace platform {

using RegKey = void*;

inline constexpr long kRegSuccess = 0;         // ERROR_SUCCESS
inline constexpr long kRegNotFound = 2;        // ERROR_FILE_NOT_FOUND
inline constexpr long kRegAccessDenied = 5;    // ERROR_ACCESS_DENIED
inline constexpr long kRegMoreData = 234;      // ERROR_MORE_DATA
inline constexpr uint32_t kRegTypeString = 1;  // REG_SZ
inline constexpr uint32_t kRegTypeBinary = 3;  // REG_BINARY
inline constexpr uint32_t kRegTypeDword = 4;   // REG_DWORD

// HKEY_CURRENT_USER.
RegKey CurrentUserKey();

// RegOpenKeyExA with KEY_QUERY_VALUE: an existing key only.
long RegistryOpenKey(RegKey parent, const char* subKey, RegKey* out);
// RegCreateKeyExA, no class, REG_OPTION_NON_VOLATILE, KEY_WRITE, default security.
long RegistryCreateKey(RegKey parent, const char* subKey, RegKey* out);
// RegQueryValueExA: *size is the buffer size on entry and the value's size on return;
// a value larger than the buffer gives kRegMoreData.
long RegistryQueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                        uint32_t* size);
// RegSetValueExA with REG_DWORD, 4 bytes, least significant first.
long RegistrySetDword(RegKey key, const char* name, uint32_t value);
// RegCloseKey.
long RegistryCloseKey(RegKey key);

}  // namespace platform
