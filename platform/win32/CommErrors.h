#pragma once

#include <windows.h>

#include "platform/CommPort.h"

namespace platform {

// What a failed ReadFile on a COM port means, by its GetLastError code. A USB receiver pulled
// out fails reads with access denied, bad command, operation aborted or device removed,
// depending on its driver; any failure but a time-out is taken as the device gone, since
// closing and reopening is also what clears a port that a line error has stopped.
CommReadStatus CommReadFailure(DWORD error);

// Why CreateFileA refused a COM port, by its GetLastError code.
CommOpenError CommOpenFailure(DWORD error);

// COM`portNumber` opened for reading and writing, not shared; INVALID_HANDLE_VALUE (with the
// last error set) when refused.
HANDLE OpenComPort(int portNumber);

}  // namespace platform
