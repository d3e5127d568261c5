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

void SettingCombo::SetValue(long value) {
    FillOnce();
    if (m_row.mapping == ItemMapping::DecimalText) {
        SelectByTextValue(value);
    } else {
        SelectByIndex(value - m_row.indexBase);
    }
}

long SettingCombo::GetValue() const {
    const int index = m_control == nullptr ? -1 : m_control->GetCurSel();
    if (m_row.mapping == ItemMapping::Index) {
        return index + m_row.indexBase;
    }
    return index < 0 ? 0 : ItemValue(*m_control, index);
}

void SettingCombo::FillOnce() {
    if (m_filled != 0 || m_control == nullptr) {
        return;
    }
    m_control->ResetContent();
    for (const char* item : m_row.items) {
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

void SettingCombo::SelectByIndex(long index) {
    if (m_control == nullptr) {
        return;
    }
    const bool inList = index >= 0 && index < m_control->GetCount();
    m_control->SetCurSel(inList ? static_cast<int>(index) : -1);
}
