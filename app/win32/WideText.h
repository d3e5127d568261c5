#pragma once

#include <cstddef>
#include <string>

// The window speaks UTF-16; the core's texts are Windows-1252 bytes whatever the system's
// code page, so the degree sign stays a degree sign on every Windows.
std::wstring WideText(const char* cp1252, size_t length);
inline std::wstring WideText(const std::string& cp1252) {
    return WideText(cp1252.data(), cp1252.size());
}
// Back to Windows-1252, cut to fit and NUL-terminated in `out` (`size` bytes).
void NarrowText(const wchar_t* text, char* out, size_t size);
