#include "app/PortCombo.h"

#include <algorithm>

#include "serial/ListComPorts.h"

void CPortCombo::FillList(bool refresh) {
    if ((m_filled != 0 && !refresh) || m_control == nullptr) {
        return;
    }
    ListComPorts(m_found);
    Build(m_storedPort);
}

void CPortCombo::Build(int storedPort) {
    std::vector<unsigned> ports = m_found;
    // A stored port whose device is away is still the one the link uses.
    if (storedPort > 0 && std::find(ports.begin(), ports.end(), storedPort) == ports.end()) {
        ports.push_back(static_cast<unsigned>(storedPort));
    }
    m_control->ResetContent();
    m_control->AddString("OFF");
    for (unsigned n = 1; n < 100; ++n) {
        for (unsigned port : ports) {
            if (port == n) {
                m_control->AddString(std::to_string(n).c_str());
            }
        }
    }
    m_storedPort = storedPort;
    m_filled = 1;
}

void CPortCombo::SetValue(long port) {
    m_storedPort = static_cast<int>(port);
    FillList(false);
    SelectByTextValue(port);
}

bool CPortCombo::Refresh(int storedPort) {
    if (m_control == nullptr || m_filled == 0) {
        return false;
    }
    std::vector<unsigned> found;
    ListComPorts(found);
    if (found == m_found && storedPort == m_storedPort) {
        return false;
    }
    const long shown = GetValue();
    m_found = std::move(found);
    Build(storedPort);
    SelectByTextValue(shown);
    return true;
}

void CPortCombo::ShowTip(const std::string& text) {
    if (m_control != nullptr && text != m_tip) {
        m_tip = text;
        m_control->SetToolTip(text);
    }
}
