#pragma once

#include <csignal>
#include <cstdint>

// A pseudo-terminal that stands in for a receiver's serial port: bytes written here are read
// from its device path, through the same terminal code a USB receiver uses.
namespace platform {

struct PseudoTerminal;

// Creates a pseudo-terminal in raw mode (no echo, no CR/LF translation) and writes its device
// path, NUL-terminated, into `path`. The device stays usable while readers come and go.
// Returns nullptr on failure (also when the path does not fit, errno ENAMETOOLONG), with
// nothing left open and errno saying why.
PseudoTerminal* PseudoTerminalOpen(char* path, uint32_t size);

enum class PseudoTerminalStatus { Ok, TimedOut, Failed, Stopped, Gone };

// Writes the `size` bytes, waiting while the terminal's buffer is full (nobody reading) for at
// most `timeoutMs` milliseconds in total. *written receives the count written, which is
// `size` unless the result is TimedOut or Failed.
PseudoTerminalStatus PseudoTerminalWrite(PseudoTerminal* pty, const char* data, uint32_t size,
                                         int timeoutMs, uint32_t* written);

// The last step before closing: waits until a reader has taken every byte written (Ok). Ends
// early when `*stop` becomes non-zero (Stopped), after `timeoutMs` (TimedOut; negative: no
// limit) or when no other process has had the device open for `aloneMs` (Gone: the reader
// left, or never came).
PseudoTerminalStatus PseudoTerminalDrain(PseudoTerminal* pty, int timeoutMs, int aloneMs,
                                         const volatile std::sig_atomic_t* stop);

void PseudoTerminalClose(PseudoTerminal* pty);

}  // namespace platform
