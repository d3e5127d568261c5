#include "app/PortCombo.h"

#include <vector>

#include "platform/DosDevices.h"
#include "serial/ListComPorts.h"

void CPortCombo::FillList(bool refresh) {
    if (m_filled != 0 && !refresh) {
        return;
    }
    std::vector<unsigned> ports;
    ListComPorts(ports);
    Clear();
    Append("OFF");
    for (unsigned n = 1; n < 100; ++n) {
        for (unsigned port : ports) {
            if (port == n) {
                Append(wxString::Format("%u", n));
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
    char device[256];
    const int port = GetValue();
    if (port > 0 && platform::ComPortDevice(port, device, sizeof device)) {
        SetToolTip(wxString::FromUTF8(device));
    } else {
        UnsetToolTip();
    }
}
