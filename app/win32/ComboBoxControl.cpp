#include "app/win32/ComboBoxControl.h"

#include <commctrl.h>

#include <string>

#include "app/win32/WideText.h"

namespace {

TTTOOLINFOW ToolOf(HWND box, HWND owner) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the control
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    return tool;
}

}  // namespace

void ComboBoxControl::ResetContent() {
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
}

void ComboBoxControl::AddString(const char* text) {
    const std::wstring wide = WideText(text, std::char_traits<char>::length(text));
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int ComboBoxControl::GetCount() const {
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

void ComboBoxControl::GetLBText(int index, char* text, size_t size) const {
    if (size == 0) {
        return;
    }
    text[0] = '\0';
    // CB_GETLBTEXT knows no buffer size: ask for the length first.
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return;
    }
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    if (SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(item.data())) < 0) {
        return;
    }
    NarrowText(item.c_str(), text, size);
}

int ComboBoxControl::GetCurSel() const {
    const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void ComboBoxControl::SetCurSel(int index) {
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ComboBoxControl::SetToolTip(const std::string& text) {
    const HWND owner = GetParent(box);
    if (tip == nullptr && !text.empty()) {
        tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
        // A width makes the tooltip break at its line ends and wrap its longer sentences.
        SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    if (tip == nullptr) {
        return;
    }
    TTTOOLINFOW tool = ToolOf(box, owner);
    if (text.empty()) {
        SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    std::wstring wide = WideText(text);
    tool.lpszText = wide.data();
    // A tip on show takes new counts in place rather than vanishing.
    const bool added = SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) > 0;
    SendMessageW(tip, added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}
