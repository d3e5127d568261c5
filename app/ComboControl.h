#pragma once

#include <cstddef>
#include <string>

// The widget behind one of the five port-settings boxes, as each window provides it.
class ComboControl {
public:
    virtual ~ComboControl() = default;

    virtual void ResetContent() = 0;
    virtual void AddString(const char* text) = 0;
    virtual int GetCount() const = 0;
    // Item `index`'s text, cut to fit and NUL-terminated, in `text` (`size` bytes).
    virtual void GetLBText(int index, char* text, size_t size) const = 0;
    // -1 when no item is selected.
    virtual int GetCurSel() const = 0;
    // -1 (or any index outside the list) selects none. Sends no selection-change event.
    virtual void SetCurSel(int index) = 0;
    // An empty text removes the tooltip.
    virtual void SetToolTip(const std::string& text) = 0;
};
