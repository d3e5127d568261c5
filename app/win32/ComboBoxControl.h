#pragma once

#include <windows.h>

#include "app/ComboControl.h"

// A port-settings box of the Win32 dialog: a standard combo box, driven by its CB_ messages.
class ComboBoxControl : public ComboControl {
public:
    ComboBoxControl() = default;
    ComboBoxControl(const ComboBoxControl&) = delete;
    ComboBoxControl& operator=(const ComboBoxControl&) = delete;

    void Attach(HWND widget) { box = widget; }

    void ResetContent() override;
    void AddString(const char* text) override;
    int GetCount() const override;
    void GetLBText(int index, char* text, size_t size) const override;
    int GetCurSel() const override;
    void SetCurSel(int index) override;
    void SetToolTip(const std::string& text) override;

private:
    HWND box = nullptr;
    HWND tip = nullptr;  // made on first use; the dialog owns and destroys it
};
