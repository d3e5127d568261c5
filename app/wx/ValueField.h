#pragma once

#include <wx/control.h>

// A value field of the main window: text vertically centred on a solid background, with a
// sunken frame or, for the update mark, a raised double border.
class ValueField : public wxControl {
public:
    enum class Frame { Sunken, Raised };

    ValueField(wxWindow* parent, int id, const wxString& text, const wxPoint& pos,
               const wxSize& size, bool centred, Frame frame, const wxColour& background);

    void SetLabel(const wxString& text) override;
    wxString GetLabel() const override { return m_text; }
    bool AcceptsFocus() const override { return false; }
    // The colour behind the text; invalid for the dialog's normal background.
    const wxColour& FieldColour() const { return m_background; }

private:
    void OnPaint(wxPaintEvent& event);

    wxString m_text;
    bool m_centred;
    Frame m_frame;
    wxColour m_background;
};
