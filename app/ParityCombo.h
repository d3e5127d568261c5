#pragma once

#include "app/SettingCombo.h"

// Combo box 1026: the parity names in parity-index order.
class CParityCombo : public SettingCombo {
public:
    void FillList();
    void SetValue(int parityIndex);
    int GetValue() const { return Selection(); }
};
