#include "app/wx/LineListBox.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include "app/wx/DisplayText.h"

LineListBox::LineListBox(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                         size_t cap)
    : wxVListBox(parent, id, pos, size, wxBORDER_SUNKEN | wxVSCROLL | wxALWAYS_SHOW_SB),
      m_lines(cap),
      m_rowHeight(GetCharHeight() + 1) {}

void LineListBox::InsertLineAtTop(const char* line, size_t length) {
    const size_t top = GetVisibleRowsBegin();
    const size_t before = m_lines.Size();
    m_lines.PushFront(line, length);
    SetItemCount(m_lines.Size());
    // Rows shifted down by one: follow them unless the view is at the top.
    if (top > 0 && before > 0) {
        ScrollToRow(top + 1);
    }
    RefreshAll();
}

wxString LineListBox::RowText(size_t index) const {
    if (index >= m_lines.Size()) {
        return wxString();
    }
    return DisplayText(m_lines.Line(index));
}

void LineListBox::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const {
    dc.SetFont(GetFont());
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOXTEXT));
    dc.DrawText(RowText(n), rect.GetLeft() + 2, rect.GetTop());
}

wxCoord LineListBox::OnMeasureItem(size_t) const {
    return m_rowHeight;
}

// The list shows lines only; no row is ever drawn as selected.
void LineListBox::OnDrawBackground(wxDC&, const wxRect&, size_t) const {}
