#include "platform/DosDevices.h"
#include "platform/win32/CommErrors.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace platform {

bool IsNtPlatform() {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    static_assert(sizeof info == 148);
    info.dwOSVersionInfoSize = 148;
    const BOOL ok = GetVersionExA(&info);
    return ok && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

uint32_t QueryDosDeviceList(char* buffer, uint32_t size) {
    return QueryDosDeviceA(nullptr, buffer, size);
}

bool ProbeComPort(int portNumber) {
    HANDLE port = OpenComPort(portNumber);
    if (port != INVALID_HANDLE_VALUE) {
        CloseHandle(port);
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_GEN_FAILURE;
}

bool ComPortDevice(int portNumber, char* out, uint32_t size) {
    if (size == 0 || portNumber <= 0)
        return false;
    const int length = std::snprintf(out, size, "\\\\.\\COM%d", portNumber);
    return length > 0 && static_cast<uint32_t>(length) < size;
}

}  // namespace platform
