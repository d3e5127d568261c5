#pragma once

#include <string>
#include <vector>

#include "app/SettingCombo.h"

// Combo box 1022: "OFF" and the COM port numbers 1 to 99 that are present, ascending, with the
// stored port among them even while its device is absent.
class CPortCombo : public SettingCombo {
public:
    CPortCombo() : SettingCombo(PortSetting::Port) {}
    void FillList(bool refresh);
    void SetValue(long port) override;
    // Asks port discovery again; when the ports present have changed, rebuilds the list with
    // `storedPort` in it and keeps the choice shown. True when it rebuilt the list.
    bool Refresh(int storedPort);
    // An empty text removes the tooltip.
    void ShowTip(const std::string& text);

private:
    void Build(int storedPort);

    std::vector<unsigned> m_found;  // what discovery gave for the list shown
    int m_storedPort = 0;
    std::string m_tip;
};
