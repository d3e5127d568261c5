#include "app/BaudCombo.h"
#include "app/DataBitsCombo.h"
#include "app/StopBitsCombo.h"
#include "res/DialogTemplate.h"
#include "tests/app/WindowFixture.h"

namespace {

int IndexOf(wxChoice* box, const char* text) {
    return box->FindString(text);
}

// A partial line in the receive buffer is lost when the link is closed and opened again.
class PortSettingsTest : public WindowTest {
protected:
    void LeavePartialLine() {
        Send("!AIVDM,partial");
        ASSERT_TRUE(RunEventsUntil([&] {
            dlg->RunTick();
            return dlg->Link().rxBuffer.storage != nullptr && dlg->Link().rxBuffer.count > 0;
        }));
    }
    void ExpectReopenedEmpty() {
        EXPECT_TRUE(dlg->Link().IsOpen());
        Send("tail\r\n");
        ASSERT_TRUE(RunEventsUntil([&] { return dlg->LineList().Lines().Size() > 0; }));
        EXPECT_EQ(dlg->LineList().RowText(0), "tail");
    }
};

TEST_F(PortSettingsTest, BaudChoiceClosesStoresAndReopens) {
    LeavePartialLine();
    Choose(res::kIdBaudCombo, IndexOf(Control<wxChoice>(res::kIdBaudCombo), "4800"));
    EXPECT_EQ(dlg->Link().baudRate, 4800);
    EXPECT_EQ(Stored("Baud Rate"), 4800u);
    TestPort::Line line{};
    if (port->LineSettings(&line)) {
        EXPECT_EQ(line.baudRate, 4800);
    }
    ExpectReopenedEmpty();
}

TEST_F(PortSettingsTest, DataBitsChoiceClosesStoresAndReopens) {
    LeavePartialLine();
    Choose(res::kIdDataBitsCombo, 2);  // "7": a Linux pseudo-terminal refuses it
    EXPECT_EQ(Stored("Data Bits"), 7u);
    EXPECT_EQ(dlg->Link().dataBits, 7);
    Choose(res::kIdDataBitsCombo, 3);  // "8"
    EXPECT_EQ(Stored("Data Bits"), 8u);
    ExpectReopenedEmpty();
}

TEST_F(PortSettingsTest, StopBitsChoiceClosesStoresAndReopens) {
    LeavePartialLine();
    Choose(res::kIdStopBitsCombo, 1);  // "2"
    EXPECT_EQ(Stored("Stop Bits"), 2u);
    TestPort::Line line{};
    if (port->LineSettings(&line)) {
        EXPECT_TRUE(line.twoStopBits);
    }
    ExpectReopenedEmpty();
}

TEST_F(PortSettingsTest, ParityChoiceClosesStoresAndReopens) {
    LeavePartialLine();
    Choose(res::kIdParityCombo, 4);  // "SPACE"
    EXPECT_EQ(Stored("Parity"), 4u);
    Choose(res::kIdParityCombo, 2);  // "EVEN"
    EXPECT_EQ(Stored("Parity"), 2u);
    ExpectReopenedEmpty();
}

TEST_F(PortSettingsTest, PortChoiceOfTheSamePortReopens) {
    LeavePartialLine();
    Choose(res::kIdPortCombo, IndexOf(Control<wxChoice>(res::kIdPortCombo), "7"));
    EXPECT_EQ(Stored("Port Number"), 7u);
    ExpectReopenedEmpty();
}

TEST_F(PortSettingsTest, OffTurnsThePortOffAndIsStored) {
    Choose(res::kIdPortCombo, 0);
    EXPECT_FALSE(dlg->Link().IsOpen());
    EXPECT_EQ(Stored("Port Number"), 0u);
    EXPECT_NE(RegistryFileText().find("\"Port Number\"=dword:00000000"), std::string::npos);
}

TEST_F(PortSettingsTest, PortThatFailsToOpenStaysStoredAndClosed) {
    TestPort other(8);
    ASSERT_TRUE(other.Ok());
    delete dlg;  // the port list is built once, at start
    dlg = new CBrenlowDlg(nullptr);
    dlg->Show();
    dlg->InitDialog();
    const int index = IndexOf(Control<wxChoice>(res::kIdPortCombo), "8");
    ASSERT_NE(index, wxNOT_FOUND);
    ASSERT_TRUE(other.Unplug());
    Choose(res::kIdPortCombo, index);
    EXPECT_FALSE(dlg->Link().IsOpen());
    EXPECT_EQ(dlg->Link().portNumber, 8);
    EXPECT_EQ(Stored("Port Number"), 8u);
    EXPECT_EQ(Control<wxChoice>(res::kIdPortCombo)->GetStringSelection(), "8");
}

TEST_F(PortSettingsTest, SettingsFromCodeRunNoHandler) {
    auto* baud = Control<CBaudCombo>(res::kIdBaudCombo);
    ASSERT_NE(baud, nullptr);
    baud->SetValue(9600);
    wxTheApp->Yield(true);
    EXPECT_EQ(baud->GetStringSelection(), "9600");
    EXPECT_EQ(dlg->Link().baudRate, 38400);
    EXPECT_EQ(Stored("Baud Rate"), 38400u);
}

TEST_F(PortSettingsTest, UnknownValuesShowTheFirstItemOrNoSelection) {
    auto* baud = Control<CBaudCombo>(res::kIdBaudCombo);
    baud->SetValue(12345);
    EXPECT_EQ(baud->GetStringSelection(), "300");
    auto* bits = Control<CDataBitsCombo>(res::kIdDataBitsCombo);
    bits->SetValue(9);
    EXPECT_EQ(bits->GetSelection(), wxNOT_FOUND);
    auto* stop = Control<CStopBitsCombo>(res::kIdStopBitsCombo);
    stop->SetValue(0);
    EXPECT_EQ(stop->GetSelection(), wxNOT_FOUND);
    stop->SetValue(2);
    EXPECT_EQ(stop->GetValue(), 2);
}

TEST_F(PortSettingsTest, SettingsAreInTheRegistryFileAfterTheWindowCloses) {
    Choose(res::kIdBaudCombo, IndexOf(Control<wxChoice>(res::kIdBaudCombo), "115200"));
    dlg->Close();
    const std::string text = RegistryFileText();
    EXPECT_NE(text.find("\\Veltmark\\"), std::string::npos);
    EXPECT_NE(text.find("\"Baud Rate\"=dword:0001c200"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Port Number\"=dword:00000007"), std::string::npos);
}

}  // namespace
