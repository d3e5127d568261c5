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
    SendMessageW(box_, CB_RESETCONTENT, 0, 0);
}

void ComboBoxControl::AddString(const char* text) {
    const std::wstring wide = WideText(text, std::char_traits<char>::length(text));
    SendMessageW(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int ComboBoxControl::GetCount() const {
    const LRESULT count = SendMessageW(box_, CB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

void ComboBoxControl::GetLBText(int index, char* text, size_t size) const {
    if (size == 0) {
        return;
    }
    text[0] = '\0';
    // CB_GETLBTEXT knows no buffer size: ask for the length first.
    const LRESULT length = SendMessageW(box_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) {
        return;
    }
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    if (SendMessageW(box_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(item.data())) < 0) {
        return;
    }
    NarrowText(item.c_str(), text, size);
}

int ComboBoxControl::GetCurSel() const {
    const LRESULT index = SendMessageW(box_, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void ComboBoxControl::SetCurSel(int index) {
    SendMessageW(box_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ComboBoxControl::SetToolTip(const std::string& text) {
    const HWND owner = GetParent(box_);
    if (tip_ == nullptr && !text.empty()) {
        tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        // A width makes the tooltip break at its line ends and wrap its longer sentences.
        SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    if (tip_ == nullptr) {
        return;
    }
    TTTOOLINFOW tool = ToolOf(box_, owner);
    if (text.empty()) {
        SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    std::wstring wide = WideText(text);
    tool.lpszText = wide.data();
    // A tip on show takes new counts in place rather than vanishing.
    const bool added = SendMessageW(tip_, TTM_GETTOOLCOUNT, 0, 0) > 0;
    SendMessageW(tip_, added ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                 reinterpret_cast<LPARAM>(&tool));
}
