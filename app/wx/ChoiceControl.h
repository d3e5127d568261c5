#pragma once

#include <wx/choice.h>

#include "app/ComboControl.h"

// A port-settings box of the wx window: a drop-down list (GTK offers no other that keeps
// its selection from code silent).
class ChoiceControl : public ComboControl {
public:
    void Bind(wxChoice* choice) { choice_ = choice; }
    wxChoice* Choice() const { return choice_; }

    void ResetContent() override { choice_->Clear(); }
    void AddString(const char* text) override { choice_->Append(text); }
    int GetCount() const override { return static_cast<int>(choice_->GetCount()); }
    void GetLBText(int index, char* text, size_t size) const override;
    int GetCurSel() const override { return choice_->GetSelection(); }
    void SetCurSel(int index) override;
    void SetToolTip(const std::string& text) override;

private:
    wxChoice* choice_ = nullptr;
};
