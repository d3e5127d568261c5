#include "app/TemplateLayout.h"

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
    : window_(window), dialog_(dialog), comboHeightPx_(comboHeightPx) {
    if (const DialogControl* combo = ComboRow()) {
        thresholdDu_ = combo->y + kClosedComboHeight;
        const int closedPx = Pixels(0, 0, 0, kClosedComboHeight).height;
        shiftPx_ = std::max(0, comboHeightPx_ - closedPx);
    }
}

const DialogControl* TemplateLayout::ComboRow() const {
    for (const DialogControl& c : dialog_.controls) {
        if (IsCombo(c)) {
            return &c;
        }
    }
    return nullptr;
}

wxRect TemplateLayout::Pixels(int x, int y, int w, int h) const {
    const wxPoint pos = window_.ConvertDialogToPixels(wxPoint(x, y));
    const wxSize size = window_.ConvertDialogToPixels(wxSize(w, h));
    return wxRect(pos, size);
}

wxRect TemplateLayout::Rect(const DialogControl& c) const {
    wxRect r = Pixels(c.x, c.y, c.w, c.h);
    if (IsCombo(c)) {
        r.height = comboHeightPx_;
    }
    if (shiftPx_ > 0 && c.y >= thresholdDu_) {
        r.y += shiftPx_;
    } else if (shiftPx_ > 0 && c.y + c.h > thresholdDu_ && !IsCombo(c)) {
        r.height += shiftPx_;
    }
    return r;
}

wxPoint TemplateLayout::LabelPosition(const DialogControl& label, int height) const {
    wxRect r = Rect(label);
    const DialogControl* combo = ComboRow();
    if (combo != nullptr && label.y < combo->y + kClosedComboHeight &&
        label.y + label.h > combo->y) {
        r.y = Rect(*combo).y;
        r.height = comboHeightPx_;
    }
    return wxPoint(r.x, r.y + (r.height - height) / 2);
}

wxSize TemplateLayout::ClientSize() const {
    wxRect r = Pixels(0, 0, dialog_.width, dialog_.height);
    return wxSize(r.width, r.height + shiftPx_);
}
