#include "app/win32/DpiLayout.h"

#include "app/win32/WideText.h"

namespace {

template <typename Function>
Function* User32(const char* name) {
    // Through void(*)(): a function pointer cast the compiler takes as deliberate.
    return reinterpret_cast<Function*>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

}  // namespace

UINT DpiOf(HWND window) {
    static auto* const forWindow = User32<UINT WINAPI(HWND)>("GetDpiForWindow");
    const UINT dpi = forWindow != nullptr ? forWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

int MetricAt(int index, UINT dpi) {
    static auto* const forDpi = User32<int WINAPI(int, UINT)>("GetSystemMetricsForDpi");
    return forDpi != nullptr ? forDpi(index, dpi) : GetSystemMetrics(index);
}

RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    static auto* const forDpi =
        User32<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT frame = client;
    if (forDpi == nullptr || !forDpi(&frame, style, FALSE, exStyle, dpi)) {
        frame = client;
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

HFONT CreateTemplateFont(const res::DialogTemplate& dialog, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(dialog.fontPoints, static_cast<int>(dpi), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName,
              WideText(dialog.fontFace, std::char_traits<char>::length(dialog.fontFace)).c_str(),
              LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

BaseUnits BaseUnitsOf(HFONT font) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE letters{};
    constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32W(dc, kAlphabet, 52, &letters);
    SelectObject(dc, old);
    DeleteDC(dc);
    // The average width of the 52 letters, rounded.
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT PixelsOf(int x, int y, int w, int h, BaseUnits units) {
    const int left = MulDiv(x, units.cx, 4), top = MulDiv(y, units.cy, 8);
    return {left, top, left + MulDiv(w, units.cx, 4), top + MulDiv(h, units.cy, 8)};
}
