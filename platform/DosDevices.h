#pragma once

#include <cstdint>

// What port discovery asks of the system.
namespace platform {

// GetVersionExA succeeded and reports the NT platform (always so on Linux).
bool IsNtPlatform();

// QueryDosDeviceA(NULL, ...): every DOS device name, each NUL-terminated, the list ending
// with an extra NUL. Returns the characters stored, 0 on failure (also when it does not fit).
// On Linux the names are "COMn" for each port number of the per-user device map whose device
// is present; present serial devices without a number get one first.
uint32_t QueryDosDeviceList(char* buffer, uint32_t size);

// Probing path: tries to open \\.\COMn. True when the port is present (opened and closed at
// once, or refused with ERROR_ACCESS_DENIED or ERROR_GEN_FAILURE).
bool ProbeComPort(int portNumber);

// The device behind COM port n for display: "\\.\COMn" on Windows, the resolved device path
// of the map entry on Linux. Returns false when the number is not mapped.
bool ComPortDevice(int portNumber, char* out, uint32_t size);

}  // namespace platform
