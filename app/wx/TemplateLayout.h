#pragma once

#include <wx/gdicmn.h>

#include "res/DialogTemplate.h"

class wxWindow;

// Places the template's controls in pixels. GTK combo boxes are taller than the template's
// closed combo height, so everything below the combo row moves down by the difference and
// the groups and the dialog that span that row grow by it. Where the GUI font is wider than
// the template's, everything is stretched sideways so that every label fits.
class TemplateLayout {
public:
    static constexpr int kClosedComboHeight = 12;  // dialog units

    TemplateLayout(const wxWindow& window, const res::DialogTemplate& dialog, int comboHeightPx);

    // Makes room for a label whose text is `textWidthPx` wide; call before placing anything.
    void FitLabel(const res::DialogControl& label, int textWidthPx);

    // The control's rectangle; a combo box gets its natural height.
    wxRect Rect(const res::DialogControl& control) const;
    // Where a label of `height` pixels stands, vertically centred in its rectangle or, in the
    // combo row, on the combo boxes.
    wxPoint LabelPosition(const res::DialogControl& label, int height) const;
    wxSize ClientSize() const;

private:
    wxRect Pixels(int x, int y, int w, int h) const;
    const res::DialogControl* ComboRow() const;

    const wxWindow& window;
    const res::DialogTemplate& dialog;
    int comboHeightPx;
    int thresholdDu = 0;  // rows starting at or below this move down
    int shiftPx = 0;
    double stretch = 1.0;  // sideways
};
