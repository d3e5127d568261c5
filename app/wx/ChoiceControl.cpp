#include "app/wx/ChoiceControl.h"

#include <algorithm>
#include <cstring>
#include <string>

void ChoiceControl::GetLBText(int index, char* text, size_t size) const {
    if (size == 0) {
        return;
    }
    const std::string item = choice->GetString(static_cast<unsigned>(index)).utf8_string();
    const size_t length = std::min(item.size(), size - 1);
    std::memcpy(text, item.data(), length);
    text[length] = '\0';
}

void ChoiceControl::SetCurSel(int index) {
    const bool inList = index >= 0 && index < GetCount();
    choice->SetSelection(inList ? index : wxNOT_FOUND);
}

void ChoiceControl::SetToolTip(const std::string& text) {
    if (text.empty()) {
        choice->UnsetToolTip();
    } else {
        choice->SetToolTip(wxString::FromUTF8(text));
    }
}
