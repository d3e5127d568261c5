#pragma once

#include "app/SettingCombo.h"

// Combo box 1023: the nine baud rates.
class CBaudCombo : public SettingCombo {
public:
    void SetValue(long baud);
    long GetValue() const { return SelectedTextValue(); }
};
