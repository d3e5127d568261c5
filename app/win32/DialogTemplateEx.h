#pragma once

#include <windows.h>

#include <vector>

#include "res/DialogTemplate.h"

// The dialog template as Windows reads it (DLGTEMPLATEEX and its items), built from the
// same table the Linux window is laid out from.
std::vector<WORD> BuildDialogTemplate(const res::DialogTemplate& dialog);

// The window class and styles of one template row.
struct ControlStyles {
    WORD classAtom;  // 0x0080 button, 0x0082 static, 0x0083 list box, 0x0085 combo box
    DWORD style;
    DWORD exStyle;
};
ControlStyles StylesOf(const res::DialogControl& control);

inline constexpr DWORD kDialogStyle =
    DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kDialogExStyle = WS_EX_APPWINDOW;
