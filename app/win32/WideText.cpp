#include "app/win32/WideText.h"

#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT kCodePage = 1252;

}  // namespace

std::wstring WideText(const char* cp1252, size_t length) {
    std::wstring text(length, L'\0');
    if (length == 0) {
        return text;
    }
    const int made = MultiByteToWideChar(kCodePage, 0, cp1252, static_cast<int>(length),
                                         text.data(), static_cast<int>(length));
    text.resize(made > 0 ? static_cast<size_t>(made) : 0);
    return text;
}

void NarrowText(const wchar_t* text, char* out, size_t size) {
    if (size == 0) {
        return;
    }
    // One byte a character in this code page, so the first size - 1 characters fit.
    const size_t length = wcsnlen(text, size - 1);
    const int made = length == 0
                         ? 0
                         : WideCharToMultiByte(kCodePage, 0, text, static_cast<int>(length), out,
                                               static_cast<int>(size - 1), nullptr, nullptr);
    out[made > 0 ? made : 0] = '\0';
}
