#include "app/SettingCombo.h"

#include <cstdlib>

namespace {

constexpr size_t kItemTextSize = 20;

long ItemValue(const ComboControl& control, int index) {
    char text[kItemTextSize];
    control.GetLBText(index, text, sizeof text);
    return std::atol(text);
}

}  // namespace

void SettingCombo::FillOnce(std::initializer_list<const char*> items) {
    if (m_filled != 0 || m_control == nullptr) {
        return;
    }
    m_control->ResetContent();
    for (const char* item : items) {
        m_control->AddString(item);
    }
    m_filled = 1;
}

void SettingCombo::SelectByTextValue(long value) {
    if (m_control == nullptr) {
        return;
    }
    m_control->SetCurSel(0);
    for (int i = 0; i < m_control->GetCount(); ++i) {
        if (ItemValue(*m_control, i) == value) {
            m_control->SetCurSel(i);
            return;
        }
    }
}

void SettingCombo::SelectByIndex(int index) {
    if (m_control == nullptr) {
        return;
    }
    const bool inList = index >= 0 && index < m_control->GetCount();
    m_control->SetCurSel(inList ? index : -1);
}

int SettingCombo::Selection() const {
    return m_control == nullptr ? -1 : m_control->GetCurSel();
}

long SettingCombo::SelectedTextValue() const {
    const int index = Selection();
    return index < 0 ? 0 : ItemValue(*m_control, index);
}
