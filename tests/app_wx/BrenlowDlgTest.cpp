#include <wx/bmpbuttn.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <algorithm>
#include <map>

#include "app/wx/ValueField.h"
#include "res/DialogTemplate.h"
#include "tests/app_wx/WindowFixture.h"

namespace {

const wxColour kYellow(255, 255, 0);
const wxColour kCyan(0, 255, 255);

bool IsTargetField(int id) {
    return (id >= 1001 && id <= 1005) || (id >= 1007 && id <= 1021);
}
bool IsOwnField(int id) {
    return id == 1006 || (id >= 1027 && id <= 1032);
}

TEST_F(WindowTest, EveryControlOfTheTemplateExistsWithItsId) {
    for (const res::DialogControl& c : res::MainDialogTemplate().controls) {
        if (c.id > 0) {
            const int id = c.id == res::kIdOk ? wxID_OK : c.id;
            EXPECT_NE(dlg->FindWindow(id), nullptr) << c.id;
        }
    }
    auto* ok = Control<wxBitmapButton>(wxID_OK);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->GetBitmap().IsOk());
    EXPECT_EQ(dlg->GetTitle(), "Brenlow");
    EXPECT_TRUE(dlg->GetIcons().GetIcon(32).IsOk());
}

TEST_F(WindowTest, LabelsAndGroupsCarryTheTemplateTexts) {
    std::multiset<std::string> expected, shown;
    for (const res::DialogControl& c : res::MainDialogTemplate().controls) {
        if (c.kind == res::ControlKind::Label || c.kind == res::ControlKind::GroupBox) {
            expected.insert(c.text);
        }
    }
    for (wxWindow* child : dlg->GetChildren()) {
        if (dynamic_cast<wxStaticText*>(child) || dynamic_cast<wxStaticBox*>(child)) {
            wxString label = child->GetLabel();
            label.Replace("\n", " ");  // wrapped labels
            shown.insert(label.utf8_string());
        }
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shown.count("MSSI"), 2u);
    EXPECT_EQ(shown.count("Desitantion"), 1u);
    EXPECT_EQ(shown.count("Number of Targets"), 1u);
    EXPECT_EQ(shown.count("Rate of Turn"), 1u);
}

TEST_F(WindowTest, ValueFieldsAreYellowForTargetsAndCyanForOwnVessel) {
    int fields = 0;
    for (int id = 1001; id <= 1033; ++id) {
        if (id >= res::kIdPortCombo && id <= res::kIdParityCombo) {
            continue;
        }
        ValueField* field = dlg->Field(id);
        ASSERT_NE(field, nullptr) << id;
        ++fields;
        if (IsTargetField(id)) {
            EXPECT_EQ(field->FieldColour(), kYellow) << id;
        } else if (IsOwnField(id)) {
            EXPECT_EQ(field->FieldColour(), kCyan) << id;
        } else {
            EXPECT_FALSE(field->FieldColour().IsOk()) << id;
        }
    }
    EXPECT_EQ(fields, 28);
}

TEST_F(WindowTest, FieldsStartWithTheTemplateTexts) {
    EXPECT_EQ(dlg->Field(1033)->GetLabel(), "Static");
    EXPECT_TRUE(dlg->Field(1033)->IsCentred());
    EXPECT_EQ(dlg->Field(1001)->GetLabel(), "");
    EXPECT_TRUE(dlg->Field(1001)->IsCentred());
    EXPECT_EQ(dlg->Field(1010)->GetLabel(), " ");
    EXPECT_EQ(dlg->Field(1030)->GetLabel(), " ");
    EXPECT_EQ(dlg->Field(1002)->GetLabel(), "");
}

TEST_F(WindowTest, ControlsDoNotOverlapAndFitTheWindow) {
    std::vector<wxRect> rects;
    std::vector<std::string> names;
    const wxRect client(wxPoint(0, 0), dlg->GetClientSize());
    for (wxWindow* child : dlg->GetChildren()) {
        if (dynamic_cast<wxStaticBox*>(child) == nullptr) {
            rects.push_back(child->GetRect());
            names.push_back(
                wxString::Format("%d:%s", child->GetId(), child->GetLabel()).utf8_string());
            EXPECT_TRUE(client.Contains(child->GetRect())) << child->GetLabel();
        }
    }
    for (size_t i = 0; i < rects.size(); ++i) {
        for (size_t j = i + 1; j < rects.size(); ++j) {
            EXPECT_FALSE(rects[i].Intersects(rects[j]))
                << names[i] << " " << rects[i].x << "," << rects[i].y << " " << rects[i].width
                << "x" << rects[i].height << " / " << names[j] << " " << rects[j].x << ","
                << rects[j].y << " " << rects[j].width << "x" << rects[j].height;
        }
    }
}

TEST_F(WindowTest, StartShowsStoredSettingsOpensThePortAndRunsTheTimer) {
    EXPECT_TRUE(dlg->Logic().m_link.IsOpen());
    EXPECT_TRUE(dlg->TimerRunning());
    EXPECT_EQ(Control<wxChoice>(res::kIdPortCombo)->GetStringSelection(), "7");
    EXPECT_EQ(Control<wxChoice>(res::kIdBaudCombo)->GetStringSelection(), "38400");
    EXPECT_EQ(Control<wxChoice>(res::kIdParityCombo)->GetStringSelection(), "NONE");
    EXPECT_EQ(Control<wxChoice>(res::kIdDataBitsCombo)->GetStringSelection(), "8");
    EXPECT_EQ(Control<wxChoice>(res::kIdStopBitsCombo)->GetStringSelection(), "1");
    EXPECT_EQ(Control<wxChoice>(res::kIdPortCombo)->GetString(0), "OFF");
    EXPECT_EQ(Control<wxChoice>(res::kIdBaudCombo)->GetCount(), 9u);
    EXPECT_EQ(Control<wxChoice>(res::kIdParityCombo)->GetString(4), "SPACE");
}

TEST_F(WindowTest, PortBoxNamesTheDeviceInItsTooltip) {
    auto* box = Control<wxChoice>(res::kIdPortCombo);
    ASSERT_NE(box->GetToolTip(), nullptr);
    EXPECT_TRUE(box->GetToolTipText().StartsWith("/dev/")) << box->GetToolTipText();
}

TEST_F(WindowTest, TickListsAndDecodesReceivedLines) {
    const std::vector<std::string> lines = CorpusLines(3);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
        Send(line);
    }
    ASSERT_TRUE(RunEventsUntil([&] { return dlg->LineList().Lines().Size() >= 3; }));
    EXPECT_EQ(dlg->LineList().RowText(0), lines[2].substr(0, lines[2].size() - 2));
    EXPECT_EQ(dlg->LineList().RowText(2), lines[0].substr(0, lines[0].size() - 2));
    EXPECT_FALSE(dlg->Field(1001)->GetLabel().empty());
    EXPECT_EQ(dlg->Field(1001)->GetLabel(),
              wxString::Format("%d", dlg->Logic().m_decoder.TargetCount()));
    EXPECT_FALSE(dlg->Field(1002)->GetLabel().empty());
    EXPECT_EQ(dlg->Field(1033)->GetLabel(), "");
}

TEST_F(WindowTest, WindowsCodePageTextIsShownAsSuch) {
    dlg->SetControlText(1005, "45\xB0 \x80");
    EXPECT_EQ(dlg->Field(1005)->GetLabel(), wxString::FromUTF8("45\xC2\xB0 \xE2\x82\xAC"));
    dlg->InsertLineAtTop("caf\xE9\x81\r\n", 7);
    EXPECT_EQ(dlg->LineList().RowText(0), wxString::FromUTF8("caf\xC3\xA9\xEF\xBF\xBD"));
}

TEST_F(WindowTest, TextTooWideForItsFieldCanBeReadInTheTooltip) {
    const std::string longType = "Cargo Ship Carring Hazardous Goods or Pollutant Category A";
    dlg->SetControlText(1013, longType);
    ASSERT_NE(dlg->Field(1013)->GetToolTip(), nullptr);
    EXPECT_EQ(dlg->Field(1013)->GetToolTipText(), longType);
    dlg->SetControlText(1013, "Tug");
    EXPECT_EQ(dlg->Field(1013)->GetToolTip(), nullptr);
}

TEST_F(WindowTest, ListKeepsTheNewestLineInViewAtTheTop) {
    LineListBox& list = dlg->LineList();
    for (int i = 0; i < 300; ++i) {
        const std::string line = "line " + std::to_string(i) + "\r\n";
        list.InsertLineAtTop(line.data(), line.size());
    }
    EXPECT_EQ(list.GetVisibleRowsBegin(), 0u);
    EXPECT_EQ(list.RowText(0), "line 299");
}

TEST_F(WindowTest, ScrolledListKeepsTheSameLinesInView) {
    LineListBox& list = dlg->LineList();
    for (int i = 0; i < 300; ++i) {
        const std::string line = "line " + std::to_string(i);
        list.InsertLineAtTop(line.data(), line.size());
    }
    list.ScrollToRow(100);
    const wxString topText = list.RowText(list.GetVisibleRowsBegin());
    list.InsertLineAtTop("new", 3);
    list.InsertLineAtTop("newer", 5);
    EXPECT_EQ(list.RowText(list.GetVisibleRowsBegin()), topText);
}

TEST_F(WindowTest, OkClosesThePort) {
    wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
    click.SetEventObject(Control<wxWindow>(wxID_OK));
    Control<wxWindow>(wxID_OK)->ProcessWindowEvent(click);
    EXPECT_FALSE(dlg->Logic().m_link.IsOpen());
    EXPECT_FALSE(dlg->TimerRunning());
    EXPECT_EQ(dlg->GetReturnCode(), wxID_OK);
    EXPECT_FALSE(dlg->IsShown());
    EXPECT_EQ(Stored("Port Number"), 7u);
}

TEST_F(WindowTest, EscapeClosesThePort) {
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    dlg->ProcessWindowEvent(key);
    EXPECT_FALSE(dlg->Logic().m_link.IsOpen());
    EXPECT_EQ(dlg->GetReturnCode(), wxID_CANCEL);
    EXPECT_FALSE(dlg->IsShown());
}

TEST_F(WindowTest, CloseBoxClosesThePort) {
    dlg->Close();
    EXPECT_FALSE(dlg->Logic().m_link.IsOpen());
    EXPECT_FALSE(dlg->IsShown());
}

TEST_F(WindowTest, ModalRunEndsOnEscapeWithThePortClosed) {
    delete dlg;
    dlg = new CBrenlowDlg(nullptr);
    bool openWhileRunning = false;
    dlg->CallAfter([&] {
        openWhileRunning = dlg->Logic().m_link.IsOpen() && dlg->TimerRunning();
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = WXK_ESCAPE;
        dlg->ProcessWindowEvent(key);
    });
    EXPECT_EQ(dlg->ShowModal(), wxID_CANCEL);
    EXPECT_TRUE(openWhileRunning);
    EXPECT_FALSE(dlg->Logic().m_link.IsOpen());
}

TEST_F(WindowTest, ChoiceInABoxRunsItsHandlerAndSettingsOutliveTheWindow) {
    auto* baud = Control<wxChoice>(res::kIdBaudCombo);
    Choose(res::kIdBaudCombo, baud->FindString("115200"));
    EXPECT_EQ(dlg->Logic().m_link.baudRate, 115200);
    EXPECT_TRUE(dlg->Logic().m_link.IsOpen());
    dlg->Close();
    const std::string text = RegistryFileText();
    EXPECT_NE(text.find("\\Veltmark\\"), std::string::npos);
    EXPECT_NE(text.find("\"Baud Rate\"=dword:0001c200"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Port Number\"=dword:00000007"), std::string::npos);
}

}  // namespace
