#pragma once

#include "app/SettingCombo.h"

// Combo box 1025: 1 or 2 stop bits, read by index.
class CStopBitsCombo : public SettingCombo {
public:
    using SettingCombo::SettingCombo;

    void SetValue(int stopBits);
    int GetValue() const { return GetSelection() + 1; }
};
