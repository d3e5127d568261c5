#include "serial/SerialLink.h"

#include <algorithm>

#include "settings/SettingsStore.h"

namespace {

constexpr const char* kSection = "AIS Unit";
constexpr const char kParityLetters[] = "NOEMS";
constexpr auto kReopenInterval = std::chrono::seconds(1);

bool LineSettingsValid(const SerialSettings& s) {
    return s.portNumber > 0 && s.parityIndex >= 0 && s.parityIndex <= 4 && s.dataBits >= 5 &&
           s.dataBits <= 8 && (s.stopBits == 1 || s.stopBits == 2) && s.baudRate > 0;
}

// What may pass by itself: a device plugged in later, a program letting go of the port.
// Other refusals wait for the user.
bool RetriedAfter(platform::CommOpenError error) {
    using platform::CommOpenError;
    return error == CommOpenError::NotPresent || error == CommOpenError::InUse ||
           error == CommOpenError::AccessDenied;
}

}  // namespace

SerialLink::SerialLink()
    : SerialSettings{}, lineTerminator('\n'), portHandle(platform::kInvalidCommHandle) {
    for (const PortSettingRow& row : kPortSettingRows) {
        SetValueOf(*this, row, static_cast<int32_t>(row.defaultValue));
    }
    LoadSettings();
}

SerialLink::~SerialLink() {
    // The owner normally closes first; a handle left open must not outlive the link.
    ReleasePort();
}

void SerialLink::LoadSettings() {
    SettingsScope scope;
    SettingsUpdate update;
    ReleasePort();
    for (const PortSettingRow& row : kPortSettingRows) {
        SetValueOf(*this, row,
                   static_cast<int32_t>(ReadDword(kSection, row.valueName, row.defaultValue)));
    }
    saveStatus = update.Commit();  // the defaults of missing values
    Open();
}

bool SerialLink::SaveSettings() {
    SettingsScope scope;
    SettingsUpdate update;  // five values, one update: a concurrent save never mixes with ours
    for (const PortSettingRow& row : kPortSettingRows) {
        // A 16-bit field is stored sign-extended.
        WriteDword(kSection, row.valueName, static_cast<uint32_t>(ValueOf(*this, row)));
    }
    saveStatus = update.Commit();
    return saveStatus == 0;
}

int16_t SerialLink::Open() {
    return OpenAt(clock());
}

int16_t SerialLink::OpenAt(Clock::time_point now) {
    if (portNumber == 0) {
        return 0;
    }
    if (IsOpen()) {
        return 1;
    }
    lastOpenAttempt = now;
    platform::CommOpenError error = platform::CommOpenError::LineRefused;
    if (LineSettingsValid(*this)) {
        portHandle = platform::CommOpen(portNumber, baudRate, kParityLetters[parityIndex], dataBits,
                                        stopBits, &error);
    }
    if (IsOpen() && rxBuffer.Allocate(0) == nullptr) {
        ReleasePort();
    }
    SetState(error);
    return IsOpen() ? 1 : 0;
}

void SerialLink::Close() {
    ReleasePort();
    SetState(platform::CommOpenError::None);
}

void SerialLink::ReleasePort() {
    if (IsOpen()) {
        platform::CommClose(portHandle);
    }
    portHandle = platform::kInvalidCommHandle;
    rxBuffer.Release();
}

void SerialLink::SetState(platform::CommOpenError error) {
    if (error != openError || IsOpen() != stateOpen) {
        ++stateChanges;
    }
    openError = error;
    stateOpen = IsOpen();
}

bool SerialLink::ReopenDue(Clock::time_point now) const {
    return portNumber != 0 && RetriedAfter(openError) && now - lastOpenAttempt >= kReopenInterval;
}

uint32_t SerialLink::ReadLine(char* buffer, uint32_t limit) {
    if (limit == 0) {
        return 0;  // the buffer has room for the NUL only
    }
    // One moment per call, checked and kept alike, so that ticks of 500 ms try every other one.
    const Clock::time_point now = clock();
    if (!IsOpen()) {
        if (rxBuffer.storage != nullptr) {
            // The device has gone: what it sent before is still handed out.
            const uint32_t length = rxBuffer.TakeLine(buffer, limit, lineTerminator, 0);
            if (length == 0) {
                rxBuffer.Release();  // only an unfinished line was left
            }
            return length;
        }
        if (!ReopenDue(now) || OpenAt(now) == 0) {
            return 0;
        }
    }
    // A line already held goes out first, and a read takes no more than the ring has room
    // for: after a late tick the port may hold far more than the ring, and reading it all
    // would drop whole lines that had arrived intact.
    for (;;) {
        if (const uint32_t held = rxBuffer.TakeLine(buffer, limit, lineTerminator, 0)) {
            return held;
        }
        if (readThisTick >= kReadBound) {
            break;
        }
        const uint32_t room = rxBuffer.size - rxBuffer.Count();
        const uint32_t want =
            room == 0 ? limit : std::min(limit, room);  // 0: a line longer than the ring
        uint32_t got = 0;
        if (platform::CommRead(portHandle, buffer, want, &got) == platform::CommReadStatus::Gone) {
            platform::CommClose(portHandle);
            portHandle = platform::kInvalidCommHandle;
            lastOpenAttempt = now;
            SetState(platform::CommOpenError::NotPresent);
            break;
        }
        if (got == 0) {
            break;
        }
        bytesReceived += got;
        readThisTick += got;
        rxBuffer.Put(buffer, got);
    }
    readThisTick = 0;
    buffer[0] = '\0';
    return 0;
}

void SerialLink::Set(PortSetting setting, int32_t value) {
    SetValueOf(*this, RowOf(setting), value);
    if (setting != PortSetting::Port) {
        rxBuffer.Reset();
    } else if (portNumber == 0) {
        Close();
    }
    SaveSettings();
}
