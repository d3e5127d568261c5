#include "serial/SerialLink.h"

#include <algorithm>

#include "settings/SettingsStore.h"

namespace {

constexpr const char* kSection = "AIS Unit";
constexpr const char kParityLetters[] = "NOEMS";
constexpr auto kReopenInterval = std::chrono::seconds(1);

int16_t Low16(uint32_t value) {
    return static_cast<int16_t>(value & 0xFFFFu);
}

uint32_t SignExtended(int32_t value) {
    return static_cast<uint32_t>(value);
}

bool LineSettingsValid(const SerialSettings& s) {
    return s.portNumber > 0 && s.parityIndex >= 0 && s.parityIndex <= 4 && s.dataBits >= 5 &&
           s.dataBits <= 8 && (s.stopBits == 1 || s.stopBits == 2) && s.baudRate > 0;
}

}  // namespace

SerialLink::SerialLink()
    : SerialSettings{0, 19200, 0, 8, 1},
      lineTerminator('\n'),
      portHandle(platform::kInvalidCommHandle) {
    LoadSettings();
}

SerialLink::~SerialLink() {
    // The owner normally closes first; a handle left open must not outlive the link.
    ReleasePort();
}

void SerialLink::LoadSettings() {
    SettingsScope scope;
    ReleasePort();
    portNumber = Low16(ReadDword(kSection, "Port Number", 0));
    baudRate = static_cast<int32_t>(ReadDword(kSection, "Baud Rate", 19200));
    parityIndex = Low16(ReadDword(kSection, "Parity", 0));
    dataBits = Low16(ReadDword(kSection, "Data Bits", 8));
    stopBits = Low16(ReadDword(kSection, "Stop Bits", 1));
    Open();
}

bool SerialLink::SaveSettings() {
    SettingsScope scope;
    WriteDword(kSection, "Port Number", SignExtended(portNumber));
    WriteDword(kSection, "Baud Rate", SignExtended(baudRate));
    WriteDword(kSection, "Parity", SignExtended(parityIndex));
    WriteDword(kSection, "Data Bits", SignExtended(dataBits));
    return WriteDword(kSection, "Stop Bits", SignExtended(stopBits));
}

int16_t SerialLink::Open() {
    if (portNumber == 0) {
        return 0;
    }
    if (IsOpen()) {
        return 1;
    }
    ++stateChanges;
    openError = platform::CommOpenError::LineRefused;
    if (LineSettingsValid(*this)) {
        portHandle = platform::CommOpen(portNumber, baudRate, kParityLetters[parityIndex], dataBits,
                                        stopBits, &openError);
    }
    if (!IsOpen() || rxBuffer.Allocate(0) == nullptr) {
        ReleasePort();
        return 0;
    }
    reopenPending = false;
    return 1;
}

void SerialLink::Close() {
    reopenPending = false;
    ReleasePort();
}

void SerialLink::ReleasePort() {
    if (IsOpen()) {
        platform::CommClose(portHandle);
    }
    portHandle = platform::kInvalidCommHandle;
    rxBuffer.Release();
}

void SerialLink::DeviceGone() {
    // Lines already received are still handed out; only the handle goes.
    platform::CommClose(portHandle);
    portHandle = platform::kInvalidCommHandle;
    reopenPending = true;
    lastOpenAttempt = clock();
    openError = platform::CommOpenError::NotPresent;
    ++stateChanges;
}

bool SerialLink::ReopenDue() {
    if (!reopenPending || clock() - lastOpenAttempt < kReopenInterval) {
        return false;
    }
    lastOpenAttempt = clock();
    return true;
}

uint32_t SerialLink::ReadLine(char* buffer, uint32_t limit) {
    if (limit == 0) {
        return 0;  // the buffer has room for the NUL only
    }
    if (!IsOpen()) {
        if (rxBuffer.storage != nullptr) {
            uint32_t length = rxBuffer.TakeLine(buffer, limit, lineTerminator, 0);
            if (length == 0) {
                rxBuffer.Release();  // only an unfinished line was left
            }
            return length;
        }
        if (!ReopenDue() || Open() == 0) {
            return 0;
        }
    }
    // A line already held goes out first, and a read takes no more than the ring has room
    // for: after a late tick the port may hold far more than the ring, and reading it all
    // would drop whole lines that had arrived intact.
    if (const uint32_t held = rxBuffer.TakeLine(buffer, limit, lineTerminator, 0)) {
        return held;
    }
    const uint32_t room = rxBuffer.size - rxBuffer.Count();
    const uint32_t want =
        room == 0 ? limit : std::min(limit, room);  // 0: a line longer than the ring
    uint32_t got = 0;
    if (platform::CommRead(portHandle, buffer, want, &got) == platform::CommReadStatus::Gone) {
        DeviceGone();
    } else if (got > 0) {
        rxBuffer.Put(buffer, got);
    }
    return rxBuffer.TakeLine(buffer, limit, lineTerminator, 0);
}

void SerialLink::SetPort(int16_t number) {
    if (number == 0) {
        Close();
    }
    portNumber = number;
    SaveSettings();
}

void SerialLink::SetBaudRate(int32_t rate) {
    baudRate = rate;
    rxBuffer.Reset();
    SaveSettings();
}

void SerialLink::SetParity(int16_t index) {
    parityIndex = index;
    rxBuffer.Reset();
    SaveSettings();
}

void SerialLink::SetDataBits(int16_t bits) {
    dataBits = bits;
    rxBuffer.Reset();
    SaveSettings();
}

void SerialLink::SetStopBits(int16_t bits) {
    stopBits = bits;
    rxBuffer.Reset();
    SaveSettings();
}
