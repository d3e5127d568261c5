#include <cstdlib>
#include <vector>

#include "res/DialogTemplate.h"
#include "tests/app/AisLines.h"
#include "tests/app_win32/DialogFixture.h"

namespace {

constexpr uint32_t kStation = 244670000;
constexpr uint32_t kOwn = 257000001;

std::string WithoutLineEnd(const std::string& line) {
    return line.substr(0, line.find_last_not_of("\r\n") + 1);
}

TEST_F(DialogTest, StartShowsTheStoredSettingsAndOpensThePort) {
    EXPECT_TRUE(dlg->Logic().m_link.IsOpen());
    EXPECT_EQ(Selected(1022), "7");
    EXPECT_EQ(Selected(1023), "38400");
    EXPECT_EQ(Selected(1026), "NONE");
    EXPECT_EQ(Selected(1024), "8");
    EXPECT_EQ(Selected(1025), "1");
    char first[8] = {};
    SendMessageA(Item(1022), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "OFF");
    EXPECT_EQ(SendMessageA(Item(1023), CB_GETCOUNT, 0, 0), 9);
}

TEST_F(DialogTest, TickListsLinesNewestFirstAndShowsTheLastStation) {
    const auto [first, second] = ais_lines::Static(kStation, "NORDSTERN", "DABC", "KIEL");
    const std::vector<std::string> lines = {
        "$GPGGA,not AIS\r\n", ais_lines::Position(kStation, 54.5, 10.25, 7.5), first, second};
    for (const std::string& line : lines) {
        Send(line);
    }
    Tick();
    ASSERT_EQ(ListCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ListLine(i), WithoutLineEnd(lines[3 - static_cast<size_t>(i)]));
    }
    AisTarget* station = nullptr;
    ASSERT_TRUE(dlg->Logic().m_decoder.FindTarget(kStation, station));
    EXPECT_EQ(Text(1001), "1");
    EXPECT_EQ(Text(1002), station->MmsiText());
    EXPECT_EQ(Text(1005), "NORDSTERN");
    EXPECT_EQ(Text(1004), "DABC");
    EXPECT_EQ(Text(1021), "KIEL");
    EXPECT_EQ(Text(1007), station->LatitudeText());  // with its degree sign
    EXPECT_EQ(Text(1008), station->LongitudeText());
    EXPECT_EQ(Text(1013), station->ShipTypeText());
    EXPECT_EQ(Text(1020), station->etaText);
    EXPECT_EQ(Text(1033), "");

    Send(ais_lines::Position(kOwn, 53.0, 8.0, 3.0, "!AIVDO"));
    Tick();
    AisTarget* own = nullptr;
    ASSERT_TRUE(dlg->Logic().m_decoder.GetOwnVessel(own));
    EXPECT_EQ(Text(1006), own->MmsiText());
    EXPECT_EQ(Text(1027), own->LatitudeText());
    EXPECT_EQ(Text(1029), own->SpeedOverGroundText());
    EXPECT_EQ(Text(1033), "Update");
    EXPECT_EQ(Text(1002), station->MmsiText());
    EXPECT_EQ(ListCount(), 5);

    Tick();  // nothing new
    EXPECT_EQ(ListCount(), 5);
    EXPECT_EQ(Text(1033), "Update");
}

TEST_F(DialogTest, ListKeepsTheNewestLinesUpToItsCap) {
    dlg.reset();
    Open(50);
    for (int i = 0; i < 60; ++i) {
        const std::string line = "line " + std::to_string(i) + "\r\n";
        dlg->InsertLineAtTop(line.data(), line.size());
    }
    EXPECT_EQ(ListCount(), 50);
    EXPECT_EQ(ListLine(0), "line 59");
    EXPECT_EQ(ListLine(49), "line 10");
    dlg->InsertLineAtTop("a\0b\xB0", 4);
    EXPECT_EQ(ListLine(0),
              "a\xB7"
              "b\xB0");
}

struct Choice {
    int id;
    const char* item;
    const char* name;
    DWORD stored;
    bool opens;  // a pseudo-terminal takes 8 data bits only
};

TEST_F(DialogTest, EveryChoiceStoresAllFiveSettingsAndReopens) {
    const Choice choices[] = {
        {1023, "4800", "Baud Rate", 4800, true}, {1026, "SPACE", "Parity", 4, true},
        {1026, "NONE", "Parity", 0, true},       {1025, "2", "Stop Bits", 2, true},
        {1024, "7", "Data Bits", 7, false},      {1024, "8", "Data Bits", 8, true},
        {1022, "7", "Port Number", 7, true},
    };
    for (const Choice& c : choices) {
        Choose(c.id, c.item);
        EXPECT_EQ(Stored(c.name), c.stored) << c.item;
        for (const char* name : {"Port Number", "Baud Rate", "Parity", "Data Bits", "Stop Bits"}) {
            EXPECT_NE(Stored(name), 0xFFFFFFFFu) << name;
        }
        EXPECT_EQ(dlg->Logic().m_link.IsOpen(), c.opens) << c.item;
        EXPECT_EQ(Selected(c.id), c.item);
    }
    Send("tail\r\n");
    Tick();
    EXPECT_EQ(ListLine(0), "tail");
}

TEST_F(DialogTest, OffClosesThePortAndStoresNone) {
    Choose(1022, "OFF");
    EXPECT_FALSE(dlg->Logic().m_link.IsOpen());
    EXPECT_EQ(Stored("Port Number"), 0u);
}

TEST_F(DialogTest, PortThatCannotBeOpenedStaysChosenStoredAndClosed) {
    const std::string broken = std::to_string(TestPort::BrokenPort());
    ASSERT_NE(broken, "0") << "run with scripts/wine-tests";
    Choose(1022, broken.c_str());
    EXPECT_FALSE(dlg->Logic().m_link.IsOpen());
    EXPECT_EQ(Stored("Port Number"), static_cast<DWORD>(std::stoi(broken)));
    EXPECT_EQ(Selected(1022), broken);
}

// Runs the dialog modally and ends it by `close`, sent from within its own loop.
INT_PTR RunModalEndedBy(CBrenlowDlg& dialog, void (*close)(HWND)) {
    static CBrenlowDlg* running;
    static void (*closer)(HWND);
    running = &dialog;
    closer = close;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        if (running->GetSafeHwnd() != nullptr && running->Logic().m_link.IsOpen()) {
            closer(running->GetSafeHwnd());
        }
    });
    const INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    return result;
}

TEST_F(DialogTest, OkEscapeAndTheCloseBoxEndTheDialogWithThePortClosed) {
    struct Way {
        const char* name;
        void (*close)(HWND);
        INT_PTR result;
    };
    const Way ways[] = {
        {"OK", [](HWND w) { PostMessageA(GetDlgItem(w, IDOK), BM_CLICK, 0, 0); }, IDOK},
        {"Escape", [](HWND w) { PostMessageA(GetDlgItem(w, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); },
         IDCANCEL},
        {"close box", [](HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    dlg.reset();
    for (const Way& way : ways) {
        CBrenlowDlg dialog(nullptr);
        EXPECT_EQ(RunModalEndedBy(dialog, way.close), way.result) << way.name;
        EXPECT_FALSE(dialog.Logic().m_link.IsOpen()) << way.name;
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << way.name;
        EXPECT_EQ(Stored("Port Number"), static_cast<DWORD>(kPort)) << way.name;
    }
}

}  // namespace
