#pragma once

#include <wx/vlbox.h>

#include "app/LineStore.h"

// List box 1000: the received lines, newest on top, drawn only for the rows in view.
class LineListBox : public wxVListBox {
public:
    LineListBox(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size,
                size_t cap = LineStore::kDefaultCap);

    // Adds a line at the top. At the top of the list the newest line stays in view; a user
    // who scrolled down keeps the same lines in view.
    void InsertLineAtTop(const char* line, size_t length);

    const LineStore& Lines() const { return m_lines; }
    // The text of row `index` as shown.
    wxString RowText(size_t index) const;

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
    wxCoord OnMeasureItem(size_t n) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const override;

private:
    LineStore m_lines;
    wxCoord m_rowHeight;
};
