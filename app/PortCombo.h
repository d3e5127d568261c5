#pragma once

#include "app/SettingCombo.h"

// Combo box 1022: "OFF" and the COM port numbers found at start, ascending.
class CPortCombo : public SettingCombo {
public:
    void FillList(bool refresh);
    void SetValue(int port);
    int GetValue() const { return static_cast<int>(SelectedTextValue()); }
    // Names the device behind the selected port number in the tooltip.
    void ShowDevice();
};
