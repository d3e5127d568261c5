#include "platform/CommPort.h"
#include "platform/win32/CommErrors.h"

#include <windows.h>

#include <cstdio>

namespace platform {

namespace {

HANDLE ToHandle(CommHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

bool ConfigureLine(HANDLE port, int32_t baudRate, char parityLetter, int dataBits, int stopBits) {
    DCB dcb;
    // Only confirms that the handle is a communications device; its settings are not kept.
    if (!GetCommState(port, &dcb))
        return false;
    dcb = DCB{};
    dcb.DCBlength = sizeof(DCB);

    char mode[64];
    std::snprintf(mode, sizeof mode, "%d,%c,%d,%d", static_cast<int>(baudRate), parityLetter,
                  dataBits, stopBits);
    if (!BuildCommDCBA(mode, &dcb))
        return false;
    dcb.fBinary = TRUE;
    if (!SetCommState(port, &dcb))
        return false;

    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // with the others 0: return at once
    return SetCommTimeouts(port, &timeouts) != FALSE;
}

}  // namespace

CommOpenError CommOpenFailure(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
            return CommOpenError::AccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return CommOpenError::InUse;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_DEVICE_REMOVED:
        case ERROR_DEVICE_NOT_CONNECTED:
            return CommOpenError::NotPresent;
        default:
            return CommOpenError::LineRefused;
    }
}

HANDLE OpenComPort(int portNumber) {
    char path[32];
    std::snprintf(path, sizeof path, "\\\\.\\COM%d", portNumber);
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

CommHandle CommOpen(int portNumber, int32_t baudRate, char parityLetter, int dataBits, int stopBits,
                    CommOpenError* error) {
    HANDLE port = OpenComPort(portNumber);
    CommOpenError reason = CommOpenError::None;
    if (port == INVALID_HANDLE_VALUE) {
        reason = CommOpenFailure(GetLastError());
    } else if (!ConfigureLine(port, baudRate, parityLetter, dataBits, stopBits)) {
        CloseHandle(port);
        port = INVALID_HANDLE_VALUE;
        reason = CommOpenError::LineRefused;
    }
    if (error != nullptr) {
        *error = reason;
    }
    return port == INVALID_HANDLE_VALUE ? kInvalidCommHandle : reinterpret_cast<CommHandle>(port);
}

CommReadStatus CommReadFailure(DWORD error) {
    return error == ERROR_TIMEOUT || error == ERROR_COUNTER_TIMEOUT ? CommReadStatus::Ok
                                                                    : CommReadStatus::Gone;
}

CommReadStatus CommRead(CommHandle handle, char* buffer, uint32_t limit, uint32_t* got) {
    DWORD count = 0;
    if (ReadFile(ToHandle(handle), buffer, limit, &count, nullptr)) {
        *got = count;
        return CommReadStatus::Ok;
    }
    *got = 0;
    return CommReadFailure(GetLastError());
}

bool CommPortGroup(int, char*, uint32_t) {
    return false;  // access to a COM port is not granted by group
}

void CommClose(CommHandle handle) {
    if (handle != kInvalidCommHandle)
        CloseHandle(ToHandle(handle));
}

}  // namespace platform
