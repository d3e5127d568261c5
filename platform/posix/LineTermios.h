#pragma once

#include <termios.h>

#include <cstdint>

namespace platform::posix {

// Turns `t` into a raw line with the given settings: no flow control, reads that return at
// once. False, with `t` unchanged, for a rate without a standard speed or any setting out of
// range (parity letters "NOEMS", 5 to 8 data bits, 1 or 2 stop bits).
bool MakeLineTermios(int32_t baudRate, char parityLetter, int dataBits, int stopBits, termios* t);

}  // namespace platform::posix
