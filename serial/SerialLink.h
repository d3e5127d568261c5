#pragma once

#include <chrono>
#include <cstdint>

#include "platform/CommPort.h"
#include "serial/PortSettings.h"
#include "serial/RingBuffer.h"

// The one COM port the receiver is on: opened for exclusive use, configured from the stored
// settings, read without blocking, one complete line at a time. Every setting change is saved
// at once. While the stored port is absent or held by another program (at start, after an
// unplug, or when a setting was chosen), later reads try it again at most once a second.
class SerialLink : public SerialSettings {
public:
    using Clock = std::chrono::steady_clock;
    using ClockFunction = Clock::time_point (*)();

    SerialLink();
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Reads with no line to hand out take at most this many bytes in a row: a few times what
    // a 115,200-baud port sends in 500 ms, so junk never holds up the good lines behind it
    // and a port that never pauses still lets a tick end.
    static constexpr uint32_t kReadBound = 4 * 11520 / 2;

    // 1 when open (also when it already was), 0 when no port is set or it cannot be opened.
    int16_t Open();
    // Also ends the retrying of an absent port.
    void Close();
    bool IsOpen() const { return portHandle != platform::kInvalidCommHandle; }
    // The oldest complete line, LF included, NUL-terminated in `buffer` (`limit` + 1 bytes);
    // 0 when the port holds no complete line now, or after kReadBound bytes without one.
    uint32_t ReadLine(char* buffer, uint32_t limit);

    // Stores one setting and saves all five. The port number 0 closes the port and stores "no
    // port"; any other setting empties the receive buffer, and applies at the next Open.
    void Set(PortSetting setting, int32_t value);
    int32_t Get(PortSetting setting) const { return ValueOf(*this, RowOf(setting)); }
    void SetPort(int16_t number) { Set(PortSetting::Port, number); }
    void SetBaudRate(int32_t rate) { Set(PortSetting::BaudRate, rate); }
    void SetParity(int16_t index) { Set(PortSetting::Parity, index); }
    void SetDataBits(int16_t bits) { Set(PortSetting::DataBits, bits); }
    void SetStopBits(int16_t bits) { Set(PortSetting::StopBits, bits); }
    // True when all five values were stored; saveStatus keeps why not.
    bool SaveSettings();
    void LoadSettings();

    char lineTerminator;
    RingBuffer rxBuffer;
    platform::CommHandle portHandle;
    // Why the port is closed after the last open attempt or the device's going; None while
    // open, before any attempt and after Close.
    platform::CommOpenError openError = platform::CommOpenError::None;
    // Counts changes of the open state or its reason, so that a window can tell when to show
    // them anew.
    uint32_t stateChanges = 0;
    // Every byte read from the port.
    uint64_t bytesReceived = 0;
    // 0, or the status of the last SaveSettings that failed until one succeeds.
    long saveStatus = 0;
    // Time source for the reopen pacing; tests replace it.
    ClockFunction clock = &Clock::now;

private:
    void ReleasePort();
    void SetState(platform::CommOpenError error);
    int16_t OpenAt(Clock::time_point now);
    bool ReopenDue(Clock::time_point now) const;

    Clock::time_point lastOpenAttempt{};
    bool stateOpen = false;     // the open state that stateChanges last counted
    uint32_t readThisTick = 0;  // bytes read since ReadLine last found the port empty
};
