#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <tuple>

#include "app/win32/BrenlowDlg.h"
#include "res/Icons.h"
#include "tests/support/DialogLayout.h"
#include "tests/support/MonitorPort.h"
#include "tests/support/PayloadBuilder.h"

// The Win32 dialog itself on COM7 (a pseudo-terminal pair under Wine), in a private registry.
namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();  // for the port box's tooltip
        ASSERT_TRUE(monitor.Make());
        dlg = std::make_unique<CBrenlowDlg>(nullptr, 50);
        ASSERT_NE(hwnd = dlg->Create(), nullptr);
    }
    // WM_GETTEXT of control `id` (the dialog itself for 0), or LB_GETTEXT with a line's index.
    std::string Text(int id, UINT message = WM_GETTEXT, WPARAM index = 256) const {
        char text[256] = {};
        SendMessageA(id != 0 ? GetDlgItem(hwnd, id) : hwnd, message, index, LPARAM(text));
        return text;
    }
    std::string Row(int index) const { return Text(1000, LB_GETTEXT, index); }
    // As Windows tells a window moved to a monitor of another DPI.
    void MoveToDpi(UINT dpi) {
        RECT suggested{};
        GetWindowRect(hwnd, &suggested);
        SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
    }
    // The port box's tooltip.
    std::string Tip() const {
        HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
        while (tip != nullptr && GetWindow(tip, GW_OWNER) != hwnd)
            tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr);
        char text[256] = {};
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.lpszText = text;
        SendMessageA(tip, TTM_ENUMTOOLSA, 0, LPARAM(&tool));
        return text;
    }

    MonitorPort monitor;
    std::unique_ptr<CBrenlowDlg> dlg;
    HWND hwnd = nullptr;
};

TEST_F(WindowTest, IsBuiltAndColouredAsTheTemplateTableSays) {
    const res::DialogTemplate& table = res::MainDialogTemplate();
    EXPECT_EQ(Text(0), table.caption);
    const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & (frame | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), frame);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);

    // In table order, which is also the tab order.
    const char* const classes[] = {"Button",   "Static",  "Static", "ComboBox",
                                   "ComboBox", "ListBox", "Button"};  // by res::ControlKind
    const COLORREF colours[] = {GetSysColor(COLOR_3DFACE), RGB(255, 255, 0), RGB(0, 255, 255)};
    HWND child = GetWindow(hwnd, GW_CHILD);
    for (const res::DialogControl& c : table.controls) {
        SCOPED_TRACE(std::to_string(c.id) + " " + c.text);
        ASSERT_NE(child, nullptr);
        char name[16], text[64];
        GetClassNameA(child, name, sizeof name);
        GetWindowTextA(child, text, sizeof text);
        const bool combo = std::strcmp(name, "ComboBox") == 0;
        EXPECT_STREQ(name, classes[static_cast<int>(c.kind)]);
        EXPECT_EQ(GetDlgCtrlID(child), c.id);
        EXPECT_STREQ(combo ? c.text : text, c.text);  // a combo box shows its selection
        HDC dc = GetDC(child);
        SetTextColor(dc, RGB(255, 255, 255));  // as a dark scheme's: the colours get black
        LOGBRUSH fill{};
        GetObjectA(HBRUSH(SendMessageA(hwnd, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(child))),
                   sizeof fill, &fill);
        const int kind =
            (c.style & res::kTargetColour ? 1 : 0) | (c.style & res::kOwnVesselColour ? 2 : 0);
        EXPECT_EQ(std::vector({GetBkColor(dc), fill.lbColor, GetTextColor(dc)}),
                  std::vector({colours[kind], colours[kind],
                               kind != 0 ? RGB(0, 0, 0) : GetSysColor(COLOR_WINDOWTEXT)}));
        ReleaseDC(child, dc);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);

    // Where the dialog manager put everything, the template's units put it at this DPI (the
    // places of the table; the dialog manager's at 120 and 144 DPI: ProgramTest); after a move
    // to a monitor at 144 DPI, at that DPI (about 1.5 times), and back.
    const UINT dpi = DpiOf(hwnd);
    const std::vector<LONG> start = LayoutOf(hwnd);
    EXPECT_EQ(start, TemplateLayoutAt(dpi));
    MoveToDpi(144);
    EXPECT_EQ(LayoutOf(hwnd), TemplateLayoutAt(144));
    EXPECT_NEAR(double(LayoutOf(hwnd).back()) / start.back(), 144.0 / dpi, 0.1);
    MoveToDpi(dpi);
    EXPECT_EQ(LayoutOf(hwnd), start);
}

// At 96 DPI the tables as they are; at 144 each drawn at 1.5 times, a pixel for every pixel
// of the size Windows asks for, never a smaller image stretched.
TEST_F(WindowTest, IconsAreDrawnFromThePixelTablesAtTheSizesOfTheDpi) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (UINT dpi : {96u, 144u}) {
        MoveToDpi(dpi);
        const std::tuple<LRESULT, const char* const*, int> icons[] = {
            {SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), res::kRadarIcon32, dpi / 3},
            {SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0), res::kRadarIcon16, dpi / 6},
            {SendDlgItemMessageA(hwnd, IDOK, BM_GETIMAGE, IMAGE_ICON, 0), res::kTickIcon32,
             dpi / 3}};
        for (const auto& [icon, xpm, n] : icons) {
            int table = 0, colours = 0, wrong = 0;
            std::sscanf(xpm[0], "%d %*d %d", &table, &colours);
            ICONINFO parts{};
            BITMAP mask{};
            ASSERT_TRUE(GetIconInfo(HICON(icon), &parts));
            GetObjectA(parts.hbmMask, sizeof mask, &mask);
            DeleteObject(parts.hbmMask), DeleteObject(parts.hbmColor);
            EXPECT_EQ(mask.bmWidth, n) << xpm[0] << " at " << dpi;
            BITMAPINFO info{{sizeof(BITMAPINFOHEADER), n, -n, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
            DWORD* pixels = nullptr;
            DeleteObject(
                SelectObject(dc, CreateDIBSection(dc, &info, 0, (void**)&pixels, nullptr, 0)));
            PatBlt(dc, 0, 0, n, n, WHITENESS);  // a colour the tables do not use
            ASSERT_TRUE(DrawIconEx(dc, 0, 0, HICON(icon), n, n, 0, nullptr, DI_NORMAL));
            for (int i = 0; i < n * n; ++i) {
                const char* const* entry = xpm + 1;
                while ((*entry)[0] != xpm[1 + colours + i / n * table / n][i % n * table / n])
                    ++entry;
                const char* rgb = std::strchr(*entry, '#');  // none where transparent
                wrong +=
                    (pixels[i] & 0xFFFFFF) != (rgb ? std::strtoul(rgb + 1, nullptr, 16) : 0xFFFFFF);
            }
            EXPECT_EQ(wrong, 0) << xpm[0] << " at " << dpi;
        }
    }
    DeleteDC(dc);
}

TEST_F(WindowTest, ListsTheNewestLinesFirstUpToItsCapAndShowsTheLastStation) {
    EXPECT_EQ(Text(1022) + " " + Text(1023), "7 38400");  // as stored
    const std::string position = Sentence(
        PayloadBuilder().Set(1, 6, 1).Set(9, 30, 244670000).Set(90, 27, 32700000).Armoured());
    ASSERT_TRUE(monitor.Send("$GPGGA,\xB0\r\n" + position));
    SendMessageA(hwnd, WM_TIMER, CBrenlowDlg::kTimerId, 0);
    // Newest first, as received but for the line end, and no third line.
    EXPECT_EQ(Row(0) + "\r\n" + Row(1) + "|" + Row(2), position + "$GPGGA,\xB0|");
    EXPECT_EQ(Text(1001) + "|" + Text(1002) + "|" + Text(1007), "1|244670000|54\xB0 30.0000' N");
    EXPECT_EQ(Tip(), "\\\\.\\COM7\nreceiving: 2 lines, 1 AIS messages decoded, 0 refused");
    for (int i = 0; i < 60; ++i)
        dlg->InsertLineAtTop(std::to_string(i).c_str(), std::to_string(i).size());
    // Line 50 is none.
    EXPECT_EQ(Row(0) + " " + Row(49) + Row(50), "59 10");
}

TEST_F(WindowTest, ChoiceIsStoredAndAClosedPortsTooltipSaysWhy) {
    const int broken = TestPort::BrokenPort();
    const std::string com = "\\\\.\\COM", open = com + "7\nopen, listening";
    const std::tuple<int, std::string, const char*, int, std::string> choices[] = {
        {1023, "4800", "Baud Rate", 4800, open},
        {1022, std::to_string(broken), "Port Number", broken,
         com + std::to_string(broken) + "\nclosed: the device refuses these line settings"},
        {1022, "OFF", "Port Number", 0, ""},
        {1022, "7", "Port Number", 7, open}};
    for (const auto& [id, item, name, stored, shown] : choices) {
        // As a user chooses: the box tells the dialog of its new selection.
        SendDlgItemMessageA(hwnd, id, CB_SELECTSTRING, ~WPARAM{0}, LPARAM(item.c_str()));
        SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(GetDlgItem(hwnd, id)));
        EXPECT_EQ(Text(id) + "|" + Tip(), item + "|" + shown);
        EXPECT_EQ(MonitorPort::Stored(name), static_cast<uint32_t>(stored)) << item;
        EXPECT_EQ(dlg->Logic().m_link.IsOpen(), shown == open) << item;
    }
    DestroyWindow(hwnd);
    EXPECT_FALSE(dlg->Logic().m_link.IsOpen());
}

}  // namespace
