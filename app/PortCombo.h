#pragma once

#include "app/SettingCombo.h"
#include "serial/SerialLink.h"

// Combo box 1022: "OFF" and the COM port numbers found at start, ascending.
class CPortCombo : public SettingCombo {
public:
    void FillList(bool refresh);
    void SetValue(int port);
    int GetValue() const { return static_cast<int>(SelectedTextValue()); }
    // The tooltip: the device behind the selected number and, when it is the link's port and
    // closed, why.
    void ShowDevice(const SerialLink& link);
};
