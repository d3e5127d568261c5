// The Linux window on COM7, a pseudo-terminal, in a private registry, on a private display.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "app/wx/BrenlowDlg.h"
#include "app/wx/ValueField.h"
#include "res/DialogTemplate.h"
#include "tests/support/MonitorPort.h"

namespace {

class WindowTest : public ::testing::Test, protected MonitorPort {
protected:
    void SetUp() override {
        ASSERT_TRUE(MonitorPort::Make());
        dlg = std::make_unique<CBrenlowDlg>(nullptr);
        dlg->Show();
        dlg->InitDialog();
    }
    // Runs the event loop until `done` holds, for at most ten seconds.
    static bool RunEventsUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) {
            wxTheApp->Yield(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return done();
    }
    wxChoice* Box(int id) { return dynamic_cast<wxChoice*>(dlg->FindWindow(id)); }
    std::unique_ptr<CBrenlowDlg> dlg;  // goes before the port
};

// Laid out from the template, it lists and decodes, stores choices and ends its run cleanly.
TEST_F(WindowTest, LayoutLinesChoicesAndTheWaysOut) {
    for (const res::DialogControl& c : res::MainDialogTemplate().controls)
        EXPECT_TRUE(c.id <= 0 || dlg->FindWindow(c.id == res::kIdOk ? wxID_OK : c.id)) << c.id;
    // The own vessel's fields cyan, the target's yellow, the "Static" label (1033) plain.
    const wxColour cyan(0, 255, 255), yellow(255, 255, 0);
    for (int id = 1001; id <= 1033; id = id == 1021 ? 1027 : id + 1) {  // not the five boxes
        ValueField* field = dlg->Field(id);
        ASSERT_NE(field, nullptr) << id;
        const bool own = id == 1006 || (id >= 1027 && id <= 1032);
        EXPECT_EQ(field->FieldColour(), id == 1033 ? wxColour() : own ? cyan : yellow) << id;
    }
    EXPECT_EQ(dlg->Field(1033)->GetLabel(), "Static");
    EXPECT_TRUE(dlg->GetIcons().GetIcon(32).IsOk());
    EXPECT_TRUE(dlg->Logic().m_link.IsOpen() && dlg->TimerRunning());
    EXPECT_TRUE(Box(res::kIdPortCombo)->GetToolTipText().StartsWith("/dev/"));
    const std::string lines[] = {"$GPGGA,first", "!AIVDM,1,1,,A,15RTgt0PAso;90TKcjM8h6g208CQ,0*4A"};
    ASSERT_TRUE(Send(lines[0] + "\r\n" + lines[1] + "\r\n"));
    ASSERT_TRUE(RunEventsUntil([&] { return dlg->LineList().Lines().Size() >= 2; }));
    EXPECT_EQ(dlg->LineList().RowText(0) + dlg->LineList().RowText(1), lines[1] + lines[0]);
    EXPECT_EQ(dlg->Field(1001)->GetLabel() + dlg->Field(1002)->GetLabel(), "1371798000");
    EXPECT_EQ(dlg->Field(1033)->GetLabel(), "");
    const auto tip = [&] { return Box(res::kIdPortCombo)->GetToolTipText(); };
    ASSERT_TRUE(RunEventsUntil([&] { return tip().Contains("receiving"); }));
    EXPECT_TRUE(tip().EndsWith("\nreceiving: 2 lines, 1 AIS messages decoded, 0 refused")) << tip();
    dlg->SetControlText(1005, "45\xB0 \x80");
    EXPECT_EQ(dlg->Field(1005)->GetLabel(), wxString::FromUTF8("45\xC2\xB0 \xE2\x82\xAC"));
    dlg->InsertLineAtTop("caf\xE9\x81\r\n", 7);
    EXPECT_EQ(dlg->LineList().RowText(0), wxString::FromUTF8("caf\xC3\xA9\xEF\xBF\xBD"));

    // A choice that cannot be stored says so until one can.
    const std::string file = std::string(std::getenv("XDG_CONFIG_HOME")) + "/brenlow/registry.reg";
    const std::string kept = file + ".kept";
    const auto choose = [&](const char* rate) {
        Box(res::kIdBaudCombo)->SetStringSelection(rate);
        wxCommandEvent choice(wxEVT_CHOICE, res::kIdBaudCombo);
        Box(res::kIdBaudCombo)->ProcessWindowEvent(choice);
    };
    ASSERT_TRUE(std::rename(file.c_str(), kept.c_str()) == 0 && mkdir(file.c_str(), 0700) == 0);
    choose("57600");
    EXPECT_TRUE(tip().EndsWith("\nsettings not saved: the settings file is not a regular file"))
        << tip();
    ASSERT_TRUE(rmdir(file.c_str()) == 0 && std::rename(kept.c_str(), file.c_str()) == 0);
    choose("115200");
    EXPECT_FALSE(tip().Contains("not saved")) << tip();
    EXPECT_TRUE(dlg->Logic().m_link.IsOpen());
    // OK, Escape and the close box each end the modal run with the port closed.
    for (int way = 0; way < 3; ++way) {
        dlg.reset();  // first: it holds the port
        dlg = std::make_unique<CBrenlowDlg>(nullptr);
        dlg->CallAfter([&] {
            EXPECT_TRUE(dlg->Logic().m_link.IsOpen() && dlg->TimerRunning()) << "while running";
            wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
            wxKeyEvent escape(wxEVT_CHAR_HOOK);
            escape.m_keyCode = WXK_ESCAPE;
            way == 0   ? dlg->FindWindow(wxID_OK)->ProcessWindowEvent(ok)
            : way == 1 ? dlg->ProcessWindowEvent(escape)
                       : dlg->Close();
        });
        EXPECT_EQ(dlg->DoModal(), way == 0 ? wxID_OK : wxID_CANCEL);
        EXPECT_FALSE(dlg->Logic().m_link.IsOpen()) << way;
    }
    EXPECT_EQ(std::tuple(Stored("Baud Rate"), Stored("Port Number")), std::tuple(115200u, 7u));
}

}  // namespace

// The tests share one wx application; each builds its own dialog.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
