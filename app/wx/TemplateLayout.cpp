#include "app/wx/TemplateLayout.h"

#include <algorithm>

#include <wx/window.h>

using res::ControlKind;
using res::DialogControl;

namespace {

bool IsCombo(const DialogControl& c) {
    return c.kind == ControlKind::DropDownList || c.kind == ControlKind::DropDownCombo;
}

}  // namespace

TemplateLayout::TemplateLayout(const wxWindow& window, const res::DialogTemplate& dialog,
                               int comboHeightPx)
    : window(window), dialog(dialog), comboHeightPx(comboHeightPx) {
    if (const DialogControl* combo = ComboRow()) {
        thresholdDu = combo->y + kClosedComboHeight;
        const int closedPx = Pixels(0, 0, 0, kClosedComboHeight).height;
        shiftPx = std::max(0, comboHeightPx - closedPx);
    }
}

const DialogControl* TemplateLayout::ComboRow() const {
    for (const DialogControl& c : dialog.controls) {
        if (IsCombo(c)) {
            return &c;
        }
    }
    return nullptr;
}

void TemplateLayout::FitLabel(const DialogControl& label, int textWidthPx) {
    const int width = window.ConvertDialogToPixels(wxSize(label.w, 0)).GetWidth();
    if (width > 0 && textWidthPx > width) {
        stretch = std::max(stretch, static_cast<double>(textWidthPx) / width);
    }
}

wxRect TemplateLayout::Pixels(int x, int y, int w, int h) const {
    const wxPoint pos = window.ConvertDialogToPixels(wxPoint(x, y));
    const wxSize size = window.ConvertDialogToPixels(wxSize(w, h));
    const int left = static_cast<int>(pos.x * stretch + 0.5);
    const int right = static_cast<int>((pos.x + size.GetWidth()) * stretch + 0.5);
    return wxRect(left, pos.y, right - left, size.GetHeight());
}

wxRect TemplateLayout::Rect(const DialogControl& c) const {
    wxRect r = Pixels(c.x, c.y, c.w, c.h);
    if (IsCombo(c)) {
        r.height = comboHeightPx;
    }
    if (shiftPx > 0 && c.y >= thresholdDu) {
        r.y += shiftPx;
    } else if (shiftPx > 0 && c.y + c.h > thresholdDu && !IsCombo(c)) {
        r.height += shiftPx;
    }
    return r;
}

wxPoint TemplateLayout::LabelPosition(const DialogControl& label, int height) const {
    wxRect r = Rect(label);
    const DialogControl* combo = ComboRow();
    if (combo != nullptr && label.y < combo->y + kClosedComboHeight &&
        label.y + label.h > combo->y) {
        r.y = Rect(*combo).y;
        r.height = comboHeightPx;
    }
    return wxPoint(r.x, r.y + (r.height - height) / 2);
}

wxSize TemplateLayout::ClientSize() const {
    wxRect r = Pixels(0, 0, dialog.width, dialog.height);
    return wxSize(r.width, r.height + shiftPx);
}
