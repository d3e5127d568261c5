#pragma once

#include <chrono>
#include <cstdint>

#include "platform/CommPort.h"
#include "serial/RingBuffer.h"

// What the registry stores and the port controls show.
struct SerialSettings {
    int16_t portNumber;  // 0: no port
    int32_t baudRate;
    int16_t parityIndex;  // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int16_t dataBits;
    int16_t stopBits;
};

// The one COM port the receiver is on: opened for exclusive use, configured from the stored
// settings, read without blocking, one complete line at a time. Every setting change is saved
// at once. A device that vanishes while open is opened again, at most once a second, by later
// reads until it is back.
class SerialLink : public SerialSettings {
public:
    using Clock = std::chrono::steady_clock;
    using ClockFunction = Clock::time_point (*)();

    SerialLink();
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // 1 when open (also when it already was), 0 when no port is set or it cannot be opened.
    int16_t Open();
    void Close();
    bool IsOpen() const { return portHandle != platform::kInvalidCommHandle; }
    // The oldest complete line, LF included, NUL-terminated in `buffer` (`limit` + 1 bytes);
    // 0 when there is none.
    uint32_t ReadLine(char* buffer, uint32_t limit);

    // 0 closes the port and stores "no port".
    void SetPort(int16_t number);
    void SetBaudRate(int32_t rate);
    void SetParity(int16_t index);
    void SetDataBits(int16_t bits);
    void SetStopBits(int16_t bits);
    bool SaveSettings();
    void LoadSettings();

    char lineTerminator;
    RingBuffer rxBuffer;
    platform::CommHandle portHandle;
    // Why the port is closed after the last open attempt or the device's going; None while
    // open or before any attempt.
    platform::CommOpenError openError = platform::CommOpenError::None;
    // Counts open attempts and unplugs, so that a window can tell when to show them anew.
    uint32_t stateChanges = 0;
    // Time source for the reopen pacing; tests replace it.
    ClockFunction clock = &Clock::now;

private:
    void ReleasePort();
    void DeviceGone();
    bool ReopenDue();

    bool reopenPending = false;
    Clock::time_point lastOpenAttempt{};
};
