#pragma once

#include <cstddef>
#include <string>

#include <wx/string.h>

// Windows-1252 bytes as a wxString. The five bytes that code page leaves undefined show
// as U+FFFD instead of losing the whole text.
wxString DisplayText(const char* cp1252, size_t length);
inline wxString DisplayText(const std::string& cp1252) {
    return DisplayText(cp1252.data(), cp1252.size());
}
