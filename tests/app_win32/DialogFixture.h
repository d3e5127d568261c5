#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "app/win32/BrenlowDlg.h"
#include "tests/support/MonitorPort.h"

// The Win32 main window on COM7 (a pseudo-terminal pair under Wine), in a private registry.
class DialogTest : public ::testing::Test {
protected:
    static constexpr int kPort = MonitorPort::kNumber;

    void SetUp() override {
        ASSERT_TRUE(monitor.Make());
        Open();
    }
    void Open(size_t lineCap = LineStore::kDefaultCap) {
        dlg = std::make_unique<CBrenlowDlg>(nullptr, lineCap);
        hwnd = dlg->Create();
        ASSERT_NE(hwnd, nullptr);
    }

    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    std::string Text(int id) const {
        char text[256] = {};
        GetDlgItemTextA(hwnd, id, text, sizeof text);
        return text;
    }
    int ListCount() const { return static_cast<int>(SendMessageA(Item(1000), LB_GETCOUNT, 0, 0)); }
    std::string ListLine(int index) const {
        const LRESULT length = SendMessageA(Item(1000), LB_GETTEXTLEN, index, 0);
        if (length < 0) {
            return "<none>";
        }
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(Item(1000), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }
    std::string Selected(int id) const {
        const LRESULT index = SendMessageA(Item(id), CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) {
            return "<none>";
        }
        char text[32] = {};
        SendMessageA(Item(id), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void Send(const std::string& text) { ASSERT_TRUE(monitor.Send(text)); }
    void Tick() { SendMessageA(hwnd, WM_TIMER, CBrenlowDlg::kTimerId, 0); }
    // Chooses an item as a user would: the box tells the dialog of the new selection.
    void Choose(int id, const char* text) {
        const LRESULT index = SendMessageA(Item(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text));
        ASSERT_NE(index, CB_ERR) << text;
        SendMessageA(Item(id), CB_SETCURSEL, index, 0);
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(id)));
    }
    // The value as stored under HKEY_CURRENT_USER, read with the registry's own calls.
    static DWORD Stored(const char* name) {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string title = path;
        title = title.substr(title.find_last_of('\\') + 1);
        title = title.substr(0, title.rfind('.'));
        const std::string key = "Software\\Veltmark\\" + title + "\\AIS Unit";
        DWORD value = 0xFFFFFFFF;
        DWORD size = sizeof value;
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
            RegQueryValueExA(handle, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                             &size);
            RegCloseKey(handle);
        }
        return value;
    }

    MonitorPort monitor;
    std::unique_ptr<CBrenlowDlg> dlg;
    HWND hwnd = nullptr;
};
