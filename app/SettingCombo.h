#pragma once

#include <cstdint>
#include <initializer_list>

#include <wx/choice.h>

// What the five port-settings boxes share: a drop-down list filled once, whose selection
// from code sends no selection-change event.
class SettingCombo : public wxChoice {
public:
    SettingCombo(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size);

    int32_t m_filled = 0;

protected:
    // Replaces the items unless the list was built already.
    void FillOnce(std::initializer_list<const char*> items);
    // Selects item 0, then the first item whose decimal value equals `value`.
    void SelectByTextValue(long value);
    // Selects item `index`; an index outside the list leaves no item selected.
    void SelectByIndex(int index);
    // The decimal value of the selected item's text ("OFF" reads as 0); 0 when none.
    long SelectedTextValue() const;
};
