#pragma once

#include <windows.h>

#include <vector>

#include "app/win32/DpiLayout.h"
#include "res/DialogTemplate.h"

// A dialog's layout as any program sees it: each child's left, top, width and height in the
// client area, in creation order (a combo box's height, that of its open list, which Wine
// measures its own way, as 0), then the client area.
inline void AddBox(std::vector<LONG>& layout, const RECT& r, bool combo) {
    layout.insert(layout.end(), {r.left, r.top, r.right - r.left, combo ? 0 : r.bottom - r.top});
}

inline std::vector<LONG> LayoutOf(HWND dialog) {
    std::vector<LONG> layout;
    char name[16];
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        AddBox(layout, r, GetClassNameA(c, name, sizeof name) && !lstrcmpiA(name, "ComboBox"));
    }
    RECT client{};
    GetClientRect(dialog, &client);
    AddBox(layout, client, false);
    return layout;
}

// The layout the template's dialog units give with the template's font at `dpi`.
inline std::vector<LONG> TemplateLayoutAt(UINT dpi) {
    const res::DialogTemplate& dialog = res::MainDialogTemplate();
    const HFONT font = CreateTemplateFont(dialog, dpi);
    const BaseUnits units = BaseUnitsOf(font);
    DeleteObject(font);
    std::vector<LONG> layout;
    for (const res::DialogControl& c : dialog.controls)
        AddBox(
            layout, PixelsOf(c.x, c.y, c.w, c.h, units),
            c.kind == res::ControlKind::DropDownList || c.kind == res::ControlKind::DropDownCombo);
    AddBox(layout, PixelsOf(0, 0, dialog.width, dialog.height, units), false);
    return layout;
}
