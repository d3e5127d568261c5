#pragma once

#include <windows.h>

#include "res/DialogTemplate.h"

// The dialog at a monitor's DPI. The per-monitor calls are looked up when the program runs:
// Windows 7 and 8 lack them, and there every window has the system's DPI.

UINT DpiOf(HWND window);
// GetSystemMetrics at `dpi`.
int MetricAt(int index, UINT dpi);
// The window rectangle whose client area is `client`, with the frame of a window at `dpi`.
RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle, UINT dpi);

// The dialog base units of a font, measured as the dialog manager measures them.
struct BaseUnits {
    int cx;
    int cy;
};

// The template's font at `dpi`; the caller deletes it.
HFONT CreateTemplateFont(const res::DialogTemplate& dialog, UINT dpi);
BaseUnits BaseUnitsOf(HFONT font);
// A rectangle at left, top, width and height in dialog units, each converted on its own.
RECT PixelsOf(int x, int y, int w, int h, BaseUnits units);
