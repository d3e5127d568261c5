#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/DialogLayout.h"
#include "tests/support/TestPort.h"

// Brenlow.exe as a user runs it (the installer's test runs the installed copy), read from
// outside as another program would read it.
namespace {

// Wine takes a program's DPI from this value when the program starts.
void SetScreenDpi(DWORD dpi) {
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi, 4);
}

// Each run at a screen DPI: the window reports awareness per monitor, and the dialog manager
// lays it out as the template's units put it with the template's font at that DPI. (Wine gives
// another process's window the asking program's DPI, so the layout is what shows it.)
TEST(ProgramTest, ListsWhatItsPortSendsEndsByOkEscapeOrTheCloseBoxAndKeepsItsSettings) {
    TestPort port(9);
    ASSERT_TRUE(port.Ok());
    const char* key = "Software\\Veltmark\\Brenlow\\AIS Unit";
    const DWORD portNumber = 9;
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    RegSetKeyValueA(HKEY_CURRENT_USER, key, "Port Number", REG_DWORD, &portNumber, 4);
    const char* installed = std::getenv("BRENLOW_PROGRAM");
    std::string command = std::string("\"") + (installed ? installed : BRENLOW_EXE) + "\"";
    const std::wstring line = L"!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A";
    const std::string sent = std::string(line.begin(), line.end()) + "\r\n";
    const std::tuple<int, UINT, WPARAM, DWORD> ways[] = {{IDOK, BM_CLICK, 0, 144},
                                                         {IDOK, WM_KEYDOWN, VK_ESCAPE, 96},
                                                         {0, WM_SYSCOMMAND, SC_CLOSE, 120}};
    for (const auto& [item, message, wParam, dpi] : ways) {
        SetScreenDpi(dpi);
        STARTUPINFOA start{};
        start.cb = sizeof start;
        PROCESS_INFORMATION program{};
        ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &start, &program));
        HWND dialog = nullptr;  // the program's first visible window
        for (int i = 0; i < 200 && !IsWindowVisible(dialog); ++i) {
            Sleep(50);
            EnumThreadWindows(
                program.dwThreadId,
                [](HWND window, LPARAM found) -> BOOL {
                    return !IsWindowVisible(*reinterpret_cast<HWND*>(found) = window);
                },
                reinterpret_cast<LPARAM>(&dialog));
        }
        SetScreenDpi(96);
        EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(dialog)),
                  DPI_AWARENESS_PER_MONITOR_AWARE);
        EXPECT_EQ(LayoutOf(dialog), TemplateLayoutAt(dpi)) << dpi;
        ASSERT_TRUE(port.Write(sent.data(), sent.size()));
        // Listed within half a second, by the program's timer. Wine hands another process's
        // texts over in UTF-16 whichever way they are asked for.
        wchar_t listed[64] = {};
        for (int i = 0; i < 100 && listed[0] == 0; ++i) {
            Sleep(50);
            SendDlgItemMessageW(dialog, 1000, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(listed));
        }
        EXPECT_EQ(listed, line);
        PostMessageW(item != 0 ? GetDlgItem(dialog, item) : dialog, message, wParam, 0);
        ASSERT_EQ(WaitForSingleObject(program.hProcess, 10000), WAIT_OBJECT_0) << message;
        DWORD exitCode = 1;
        EXPECT_TRUE(GetExitCodeProcess(program.hProcess, &exitCode) && exitCode == 0) << message;
        CloseHandle(program.hThread), CloseHandle(program.hProcess);
    }
    DWORD stopBits = 0, size = sizeof stopBits;  // stored by the program
    RegGetValueA(HKEY_CURRENT_USER, key, "Stop Bits", RRF_RT_REG_DWORD, nullptr, &stopBits, &size);
    EXPECT_EQ(stopBits, 1u);
}

// What Explorer's properties and Task Manager show of each program, and what its manifest asks
// of Windows.
TEST(ProgramTest, EachProgramNamesItsProductMakerAndVersionAndCarriesItsManifest) {
    for (const auto& [file, name] :
         {std::pair{BRENLOW_EXE, "Brenlow.exe"}, std::pair{BRENLOW_DUMP_EXE, "brenlow-dump.exe"}}) {
        DWORD unused = 0;
        std::vector<char> info(GetFileVersionInfoSizeA(file, &unused));
        ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(file, 0, info.size(), info.data()))
            << file;
        std::string shown;
        for (const char* key : {"ProductName", "CompanyName", "ProductVersion", "FileVersion",
                                "OriginalFilename", "FileDescription", "LegalCopyright"}) {
            char* text = nullptr;
            UINT length = 0;
            const std::string path = std::string("\\StringFileInfo\\040904B0\\") + key;
            VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length);
            shown += std::string(text != nullptr ? text : "(none)").substr(0, 7) + "|";
        }
        EXPECT_EQ(shown, "Brenlow|Veltmar|" BRENLOW_VERSION "|" BRENLOW_VERSION "|" +
                             std::string(name).substr(0, 7) + "|Brenlow|Copyrig|");

        const HMODULE image = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        const HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_NE(found, nullptr) << file;
        const std::string manifest(
            static_cast<const char*>(LockResource(LoadResource(image, found))),
            SizeofResource(image, found));
        FreeLibrary(image);
        for (const char* part :
             {">PerMonitorV2</dpiAwareness>", ">true</dpiAware>", "level=\"asInvoker\"",
              "Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
              "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
              "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
            EXPECT_NE(manifest.find(part), std::string::npos) << file << ": " << part;
        EXPECT_NE(manifest.find("version=\"" BRENLOW_VERSION ".0.0\""), std::string::npos);
    }
}

}  // namespace
