#include "app/SettingCombo.h"

#include <cstdlib>

SettingCombo::SettingCombo(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size)
    : wxChoice(parent, id, pos, size) {}

void SettingCombo::FillOnce(std::initializer_list<const char*> items) {
    if (m_filled != 0) {
        return;
    }
    Clear();
    for (const char* item : items) {
        Append(item);
    }
    m_filled = 1;
}

namespace {

long TextValue(const wxString& text) {
    return std::atol(text.utf8_str());
}

}  // namespace

void SettingCombo::SelectByTextValue(long value) {
    SelectByIndex(0);
    for (unsigned int i = 0; i < GetCount(); ++i) {
        if (TextValue(GetString(i)) == value) {
            SetSelection(static_cast<int>(i));
            return;
        }
    }
}

void SettingCombo::SelectByIndex(int index) {
    const bool inList = index >= 0 && static_cast<unsigned int>(index) < GetCount();
    SetSelection(inList ? index : wxNOT_FOUND);
}

long SettingCombo::SelectedTextValue() const {
    const int index = GetSelection();
    return index == wxNOT_FOUND ? 0 : TextValue(GetString(static_cast<unsigned int>(index)));
}
