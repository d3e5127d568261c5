#pragma once

#include <cstdint>

// One serial (COM) port, opened for exclusive use and read without blocking.
namespace platform {

using CommHandle = std::intptr_t;
inline constexpr CommHandle kInvalidCommHandle = -1;

// Opens COM port `portNumber` and sets the line: baud rate, parity letter (one of "NOEMS"),
// data bits, stop bits; raw binary bytes, no flow control, reads that return at once.
// Returns kInvalidCommHandle on any failure, with nothing left open.
CommHandle CommOpen(int portNumber, int32_t baudRate, char parityLetter, int dataBits,
                    int stopBits);

enum class CommReadStatus { Ok, Gone };

// Reads what the port holds now, at most `limit` bytes, into `buffer`; *got receives the
// count (possibly 0). Gone means the device has vanished (unplugged): close the handle.
CommReadStatus CommRead(CommHandle handle, char* buffer, uint32_t limit, uint32_t* got);

void CommClose(CommHandle handle);

}  // namespace platform
