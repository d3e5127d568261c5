#pragma once

#include <wx/choice.h>

#include "app/ComboControl.h"

// A port-settings box of the wx window: a drop-down list (GTK offers no other that keeps
// its selection from code silent).
class ChoiceControl : public ComboControl {
public:
    void Bind(wxChoice* widget) { choice = widget; }

    void ResetContent() override { choice->Clear(); }
    void AddString(const char* text) override { choice->Append(text); }
    int GetCount() const override { return static_cast<int>(choice->GetCount()); }
    void GetLBText(int index, char* text, size_t size) const override;
    int GetCurSel() const override { return choice->GetSelection(); }
    void SetCurSel(int index) override;
    void SetToolTip(const std::string& text) override;

private:
    wxChoice* choice = nullptr;
};
