#include "app/wx/ValueField.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

namespace {

constexpr int kTextIndent = 2;

void DrawEdge(wxDC& dc, wxRect r, const wxColour& topLeft, const wxColour& bottomRight) {
    dc.SetPen(wxPen(topLeft));
    dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetLeft(), r.GetTop());
    dc.DrawLine(r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
    dc.SetPen(wxPen(bottomRight));
    dc.DrawLine(r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
    dc.DrawLine(r.GetRight(), r.GetBottom(), r.GetLeft() - 1, r.GetBottom());
}

}  // namespace

ValueField::ValueField(wxWindow* parent, int id, const wxString& text, const wxPoint& pos,
                       const wxSize& size, bool centred, Frame frame, const wxColour& background)
    : wxControl(parent, id, pos, size, wxBORDER_NONE),
      m_text(text),
      m_centred(centred),
      m_frame(frame),
      m_background(background) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(size);
    Bind(wxEVT_PAINT, &ValueField::OnPaint, this);
}

void ValueField::SetLabel(const wxString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    // A text wider than its field (long ship types) can still be read whole.
    if (GetTextExtent(m_text).GetWidth() > GetClientSize().GetWidth() - 2 * kTextIndent) {
        SetToolTip(m_text);
    } else {
        UnsetToolTip();
    }
    Refresh(false);
}

void ValueField::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxRect all = GetClientRect();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    dc.SetBrush(wxBrush(m_background.IsOk() ? m_background : face));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(all);

    const wxColour shadow(128, 128, 128);
    const wxColour dark(64, 64, 64);
    const wxColour light(212, 208, 200);
    int inset = 1;
    if (m_frame == Frame::Sunken) {
        DrawEdge(dc, all, shadow, *wxWHITE);
    } else {
        DrawEdge(dc, all, light, dark);
        DrawEdge(dc, wxRect(all).Deflate(1), *wxWHITE, shadow);
        inset = 2;
    }

    const wxRect inner = wxRect(all).Deflate(inset + (m_centred ? 0 : kTextIndent), inset);
    dc.SetFont(GetFont());
    // Black on the light field colours whatever the theme.
    dc.SetTextForeground(m_background.IsOk() ? *wxBLACK
                                             : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    dc.SetClippingRegion(wxRect(all).Deflate(inset));
    const int align =
        wxALIGN_CENTER_VERTICAL | (m_centred ? wxALIGN_CENTER_HORIZONTAL : wxALIGN_LEFT);
    dc.DrawLabel(m_text, inner, align);
}
