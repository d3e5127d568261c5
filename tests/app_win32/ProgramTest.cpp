#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

#include "tests/support/TestPort.h"

// Brenlow.exe as a user runs it, read from outside as another program would read it.
namespace {

constexpr int kPort = 9;
constexpr const char* kKey = "Software\\Veltmark\\Brenlow\\AIS Unit";

DWORD Stored(const char* name) {
    DWORD value = 0xFFFFFFFF;
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

struct Found {
    DWORD process;
    HWND window;
};

HWND WaitForDialogOf(DWORD process) {
    for (int i = 0; i < 200; ++i) {
        Found found{process, nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) {
                auto* f = reinterpret_cast<Found*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == f->process && IsWindowVisible(window)) {
                    f->window = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        if (found.window != nullptr) {
            return found.window;
        }
        Sleep(50);
    }
    return nullptr;
}

std::string Text(HWND dialog, int id) {
    char text[128] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Wine hands list texts to another process in UTF-16 whichever way they are asked for, so
// these are read as such; the window's texts are ASCII here.
std::string Narrow(const wchar_t* text) {
    return std::string(text, text + wcslen(text));
}

std::string Selected(HWND dialog, int id) {
    const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    wchar_t text[32] = {};
    SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

TEST(ProgramTest, RunsOnTheStoredPortAndEndsOnTheCloseBoxWithItsSettingsKept) {
    TestPort port(kPort);
    ASSERT_TRUE(port.Ok());
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    const DWORD portNumber = kPort, baud = 4800;
    RegSetValueExA(key, "Port Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&portNumber),
                   sizeof portNumber);
    RegSetValueExA(key, "Baud Rate", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&baud),
                   sizeof baud);
    RegCloseKey(key);

    // The installer's test runs the installed copy.
    const char* installed = std::getenv("BRENLOW_PROGRAM");
    std::string command = std::string("\"") + (installed ? installed : BRENLOW_EXE) + "\"";
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION program{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &start, &program));
    const HWND dialog = WaitForDialogOf(program.dwProcessId);
    ASSERT_NE(dialog, nullptr);
    char caption[16] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Brenlow");
    EXPECT_EQ(Selected(dialog, 1022), "9");
    EXPECT_EQ(Selected(dialog, 1023), "4800");
    EXPECT_EQ(Text(dialog, 1033), "Static");

    const std::string line = "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A\r\n";
    ASSERT_TRUE(port.Write(line.data(), line.size()));
    for (int i = 0; i < 100 && SendDlgItemMessageA(dialog, 1000, LB_GETCOUNT, 0, 0) == 0; ++i) {
        Sleep(50);  // the program's timer lists it within half a second
    }
    wchar_t listed[128] = {};
    SendDlgItemMessageW(dialog, 1000, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(listed));
    EXPECT_EQ(Narrow(listed), line.substr(0, line.size() - 2));
    EXPECT_EQ(Text(dialog, 1001), "1");
    EXPECT_EQ(Text(dialog, 1002), "371798000");

    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(WaitForSingleObject(program.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(program.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(program.hThread);
    CloseHandle(program.hProcess);
    EXPECT_EQ(Stored("Port Number"), static_cast<DWORD>(kPort));
    EXPECT_EQ(Stored("Baud Rate"), baud);
    EXPECT_EQ(Stored("Stop Bits"), 1u);
}

}  // namespace
