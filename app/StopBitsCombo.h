#pragma once

#include "app/SettingCombo.h"

// Combo box 1025: 1 or 2 stop bits, read by index.
class CStopBitsCombo : public SettingCombo {
public:
    void SetValue(int stopBits);
    int GetValue() const { return Selection() + 1; }
};
