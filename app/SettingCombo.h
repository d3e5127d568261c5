#pragma once

#include <cstdint>

#include "app/ComboControl.h"
#include "serial/PortSettings.h"

// A port-settings box, as its setting's row says: the item list built once, and selection by
// an item's decimal value or by index. Bound to its window's widget when the dialog binds its
// controls; until then every operation does nothing.
class SettingCombo {
public:
    explicit SettingCombo(PortSetting setting) : m_row(RowOf(setting)) {}
    virtual ~SettingCombo() = default;

    void Attach(ComboControl* control) { m_control = control; }

    // Builds the list when it is not yet built, then selects the item for `value`.
    virtual void SetValue(long value);
    // The selected item's value; with no item selected, 0 for a decimal box and the row's
    // indexBase - 1 for an index box.
    long GetValue() const;

    int32_t m_filled = 0;

protected:
    // Replaces the items with the row's unless the list was built already.
    void FillOnce();
    // Selects item 0, then the first item whose decimal value equals `value`.
    void SelectByTextValue(long value);
    // Selects item `index`; an index outside the list leaves no item selected.
    void SelectByIndex(long index);

    const PortSettingRow& m_row;
    ComboControl* m_control = nullptr;
};

// The four boxes whose rows say everything; the port box has rules of its own (CPortCombo).
template <PortSetting Setting>
class SettingComboOf : public SettingCombo {
public:
    SettingComboOf() : SettingCombo(Setting) {}
};

using CBaudCombo = SettingComboOf<PortSetting::BaudRate>;
using CDataBitsCombo = SettingComboOf<PortSetting::DataBits>;
using CStopBitsCombo = SettingComboOf<PortSetting::StopBits>;

class CParityCombo : public SettingComboOf<PortSetting::Parity> {
public:
    void FillList() { FillOnce(); }
};
