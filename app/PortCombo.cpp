#include "app/PortCombo.h"

#include <cstdio>
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
    ShowDevice();
}

void CPortCombo::ShowDevice() {
    if (m_control == nullptr) {
        return;
    }
    char device[256];
    const int port = GetValue();
    const bool mapped = port > 0 && platform::ComPortDevice(port, device, sizeof device);
    m_control->SetToolTip(mapped ? device : "");
}
