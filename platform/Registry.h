#pragma once

#include <cstdint>

// The per-user registry, as the settings store uses it. Results are Win32 status codes:
// 0 is success. On Windows each call is the Win32 function named beside it; on Linux it is a
// small registry of our own with the same semantics, kept in a REGEDIT4 text file.
namespace platform {

using RegKey = void*;

inline constexpr long kRegSuccess = 0;           // ERROR_SUCCESS
inline constexpr long kRegNotFound = 2;          // ERROR_FILE_NOT_FOUND
inline constexpr long kRegPathNotFound = 3;      // ERROR_PATH_NOT_FOUND: no settings folder
inline constexpr long kRegTooManyFiles = 4;      // ERROR_TOO_MANY_OPEN_FILES
inline constexpr long kRegAccessDenied = 5;      // ERROR_ACCESS_DENIED
inline constexpr long kRegNoMemory = 8;          // ERROR_NOT_ENOUGH_MEMORY
inline constexpr long kRegWriteProtect = 19;     // ERROR_WRITE_PROTECT: read-only file system
inline constexpr long kRegWriteFault = 29;       // ERROR_WRITE_FAULT: any other write error
inline constexpr long kRegReadFault = 30;        // ERROR_READ_FAULT
inline constexpr long kRegLocked = 33;           // ERROR_LOCK_VIOLATION: another writer holds on
inline constexpr long kRegCannotMake = 82;       // ERROR_CANNOT_MAKE: no name left for a copy
inline constexpr long kRegDiskFull = 112;        // ERROR_DISK_FULL
inline constexpr long kRegBadFileType = 222;     // ERROR_BAD_FILE_TYPE: not a regular file
inline constexpr long kRegFileTooLarge = 223;    // ERROR_FILE_TOO_LARGE
inline constexpr long kRegMoreData = 234;        // ERROR_MORE_DATA
inline constexpr long kRegQuotaExceeded = 1295;  // ERROR_DISK_QUOTA_EXCEEDED
inline constexpr long kRegLinkLoop = 1921;       // ERROR_CANT_RESOLVE_FILENAME
inline constexpr uint32_t kRegTypeString = 1;    // REG_SZ
inline constexpr uint32_t kRegTypeBinary = 3;    // REG_BINARY
inline constexpr uint32_t kRegTypeDword = 4;     // REG_DWORD

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

// The calls between these two (pairs may nest) are one update: on Linux one read of the file
// under its lock and at most one replacement of it, made by the outermost RegistryEndUpdate,
// which returns that write's status. A call outside any pair is an update of its own. On
// Windows every call is applied at once and RegistryEndUpdate returns 0.
void RegistryBeginUpdate();
long RegistryEndUpdate();

}  // namespace platform
