#pragma once

#include <cstdint>
#include <initializer_list>

#include "app/ComboControl.h"

// What the five port-settings boxes share: an item list built once, selection by an item's
// decimal value or by index. Bound to its window's widget when the dialog binds its controls;
// until then every operation does nothing.
class SettingCombo {
public:
    void Attach(ComboControl* control) { m_control = control; }

    int32_t m_filled = 0;

protected:
    // Replaces the items unless the list was built already.
    void FillOnce(std::initializer_list<const char*> items);
    // Selects item 0, then the first item whose decimal value equals `value`.
    void SelectByTextValue(long value);
    // Selects item `index`; an index outside the list leaves no item selected.
    void SelectByIndex(int index);
    // -1 when none.
    int Selection() const;
    // The decimal value of the selected item's text ("OFF" reads as 0); 0 when none.
    long SelectedTextValue() const;

    ComboControl* m_control = nullptr;
};
