#include "app/PortCombo.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/DosDevices.h"
#include "serial/ListComPorts.h"

void CPortCombo::FillList(bool refresh) {
    if ((m_filled != 0 && !refresh) || m_control == nullptr) {
        return;
    }
    std::vector<unsigned> ports;
    ListComPorts(ports);
    m_control->ResetContent();
    m_control->AddString("OFF");
    for (unsigned n = 1; n < 100; ++n) {
        for (unsigned port : ports) {
            if (port == n) {
                char text[4];
                std::snprintf(text, sizeof text, "%u", n);
                m_control->AddString(text);
            }
        }
    }
    m_filled = 1;
}

void CPortCombo::SetValue(int port) {
    FillList(false);
    SelectByTextValue(port);
}

namespace {

using platform::CommOpenError;

struct ReasonText {
    CommOpenError reason;
    const char* text;
};

constexpr std::array kReasonTexts = {
    ReasonText{CommOpenError::NotPresent, "not present"},
    ReasonText{CommOpenError::InUse, "in use by another program"},
    ReasonText{CommOpenError::PermissionDenied,
               "permission denied: add yourself to the group dialout, then log in again"},
    ReasonText{CommOpenError::AccessDenied, "access denied (in use)"},
    ReasonText{CommOpenError::LineRefused, "the device refuses these line settings"},
};

}  // namespace

void CPortCombo::ShowDevice(const SerialLink& link) {
    if (m_control == nullptr) {
        return;
    }
    std::string tip;
    char device[256];
    const int port = GetValue();
    if (port > 0 && platform::ComPortDevice(port, device, sizeof device)) {
        tip = device;
    }
    if (port > 0 && port == link.portNumber && !link.IsOpen()) {
        for (const ReasonText& r : kReasonTexts) {
            if (r.reason == link.openError) {
                tip += (tip.empty() ? "closed: " : "\nclosed: ") + std::string(r.text);
            }
        }
    }
    m_control->SetToolTip(tip);
}
