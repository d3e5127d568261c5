#pragma once

#include <cstdint>

// One serial (COM) port, opened for exclusive use and read without blocking.
namespace platform {

using CommHandle = std::intptr_t;
inline constexpr CommHandle kInvalidCommHandle = -1;

// Why a port could not be opened.
enum class CommOpenError {
    None,
    NotPresent,        // no such port, or its device has gone
    InUse,             // another program holds it
    PermissionDenied,  // Linux: the user may not open the device (group dialout)
    AccessDenied,      // Windows: refused, which there means another program holds it
    LineRefused,       // the device does not take these line settings, or is no serial port
};

// Opens COM port `portNumber` and sets the line: baud rate, parity letter (one of "NOEMS"),
// data bits, stop bits; raw binary bytes, no flow control, reads that return at once.
// Returns kInvalidCommHandle on any failure, with nothing left open, and the reason in
// `*error` when given.
CommHandle CommOpen(int portNumber, int32_t baudRate, char parityLetter, int dataBits, int stopBits,
                    CommOpenError* error = nullptr);

enum class CommReadStatus { Ok, Gone };

// Reads what the port holds now, at most `limit` bytes, into `buffer`; *got receives the
// count (possibly 0). Gone means the device has vanished (unplugged): close the handle.
CommReadStatus CommRead(CommHandle handle, char* buffer, uint32_t limit, uint32_t* got);

void CommClose(CommHandle handle);

// The group that owns port n's device, whose members may open it ("dialout" on Debian,
// "uucp" elsewhere); false where the system has no such thing or the device is not there.
bool CommPortGroup(int portNumber, char* out, uint32_t size);

}  // namespace platform
