#include "app/wx/DisplayText.h"

#include <wx/strconv.h>

wxString DisplayText(const char* cp1252, size_t length) {
    static const wxCSConv conv(wxFONTENCODING_CP1252);
    wxString text(cp1252, conv, length);
    if (!text.empty() || length == 0) {
        return text;
    }
    // Whole-text conversion failed: convert byte by byte.
    for (size_t i = 0; i < length; ++i) {
        wxString one(cp1252 + i, conv, 1);
        text += one.empty() ? wxString(wxUniChar(0xFFFD)) : one;
    }
    return text;
}
