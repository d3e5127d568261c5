#include "app/PortState.h"

#include <array>

#include "platform/DosDevices.h"
#include "settings/SettingsStore.h"

namespace {

using platform::CommOpenError;

struct ReasonText {
    CommOpenError reason;
    const char* text;
};

constexpr std::array kReasonTexts = {
    ReasonText{CommOpenError::NotPresent, "not present"},
    ReasonText{CommOpenError::InUse, "in use by another program"},
    ReasonText{CommOpenError::PermissionDenied, "permission denied"},
    ReasonText{CommOpenError::AccessDenied, "access denied (in use)"},
    ReasonText{CommOpenError::LineRefused, "the device refuses these line settings"},
};

void AddLine(std::string& text, const std::string& line) {
    if (!line.empty()) {
        text += (text.empty() ? "" : "\n") + line;
    }
}

}  // namespace

std::string PortDevice(int port) {
    char device[256];
    return port > 0 && platform::ComPortDevice(port, device, sizeof device) ? device : "";
}

std::string ClosedReason(const SerialLink& link) {
    if (link.IsOpen() || link.portNumber == 0) {
        return {};
    }
    for (const ReasonText& r : kReasonTexts) {
        if (r.reason != link.openError) {
            continue;
        }
        std::string reason = r.text;
        char group[64];
        if (r.reason == CommOpenError::PermissionDenied) {
            // Whoever owns the device: dialout on Debian and Ubuntu, uucp on others.
            const bool known = platform::CommPortGroup(link.portNumber, group, sizeof group);
            reason += ": add yourself to the group " + std::string(known ? group : "dialout") +
                      ", then log in again";
        }
        return reason;
    }
    return {};
}

std::string PortStateText(const SerialLink& link, const Reception& reception,
                          Reception::Clock::time_point now) {
    std::string text = PortDevice(link.portNumber);
    if (link.IsOpen()) {
        AddLine(text, reception.Text(now));
    } else if (const std::string reason = ClosedReason(link); !reason.empty()) {
        AddLine(text, "closed: " + reason);
    }
    if (link.saveStatus != 0) {
        AddLine(text, std::string("settings not saved: ") + SettingsStatusText(link.saveStatus));
    }
    return text;
}
