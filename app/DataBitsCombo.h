#pragma once

#include "app/SettingCombo.h"

// Combo box 1024: 5 to 8 data bits, read by index.
class CDataBitsCombo : public SettingCombo {
public:
    void SetValue(int bits);
    int GetValue() const { return Selection() + 5; }
};
