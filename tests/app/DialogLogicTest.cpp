#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/MainDialogLogic.h"
#include "res/DialogTemplate.h"
#include "tests/app/FakeView.h"
#include "tests/support/MonitorPort.h"

namespace {

// A box as a window would provide it; selecting from code sends no event, as in both windows.
class FakeCombo : public ComboControl {
public:
    void ResetContent() override {
        items.clear();
        selection = -1;
    }
    void AddString(const char* text) override { items.emplace_back(text); }
    int GetCount() const override { return static_cast<int>(items.size()); }
    void GetLBText(int index, char* text, size_t size) const override {
        std::snprintf(text, size, "%s", items.at(static_cast<size_t>(index)).c_str());
    }
    int GetCurSel() const override { return selection; }
    void SetCurSel(int index) override { selection = index < GetCount() ? index : -1; }
    void SetToolTip(const std::string& text) override { tip = text; }

    std::string Selected() const {
        return selection < 0 ? "<none>" : items[static_cast<size_t>(selection)];
    }

    std::vector<std::string> items;
    int selection = -1;
    std::string tip;
};

// The dialog's logic on COM7, a test port, in a private registry.
class DialogLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(monitor.Make());
        Start();
    }
    void Start() {
        logic = std::make_unique<MainDialogLogic>();
        logic->DoDataExchange(box(res::kIdPortCombo), box(res::kIdBaudCombo),
                              box(res::kIdDataBitsCombo), box(res::kIdStopBitsCombo),
                              box(res::kIdParityCombo));
        logic->OnInitDialog();
    }
    FakeCombo& box(int id) { return boxes[static_cast<size_t>(id - res::kIdPortCombo)]; }
    static void Store(const char* name, uint32_t value) {
        SettingsScope scope;
        ASSERT_TRUE(WriteDword("AIS Unit", name, value));
    }
    static uint32_t Stored(const char* name) { return MonitorPort::Stored(name); }
    // Chooses an item as a user would: the window passes the selection change on.
    void Choose(int id, const std::string& item) {
        FakeCombo& b = box(id);
        for (size_t i = 0; i < b.items.size(); ++i) {
            if (b.items[i] == item) {
                b.selection = static_cast<int>(i);
            }
        }
        ASSERT_EQ(b.Selected(), item);
        EXPECT_TRUE(logic->OnSelChange(id));
    }
    void Send(const std::string& text) { ASSERT_TRUE(monitor.Send(text)); }
    // Runs ticks until `done`; the bytes may take a moment to arrive.
    void TickUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 300 && !done(); ++i) {
            logic->OnTimer(view);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    MonitorPort monitor;
    std::array<FakeCombo, 5> boxes;
    std::unique_ptr<MainDialogLogic> logic;
    FakeView view;
};

TEST_F(DialogLogicTest, StartShowsTheStoredSettingsAndOpensThePort) {
    EXPECT_TRUE(logic->m_link.IsOpen());
    EXPECT_EQ(box(res::kIdPortCombo).items.front(), "OFF");
    EXPECT_EQ(box(res::kIdPortCombo).Selected(), "7");
    EXPECT_FALSE(box(res::kIdPortCombo).tip.empty());
    EXPECT_EQ(box(res::kIdBaudCombo).items,
              (std::vector<std::string>{"300", "1200", "2400", "4800", "9600", "19200", "38400",
                                        "57600", "115200"}));
    EXPECT_EQ(box(res::kIdBaudCombo).Selected(), "38400");
    EXPECT_EQ(box(res::kIdParityCombo).items,
              (std::vector<std::string>{"NONE", "ODD", "EVEN", "MARK", "SPACE"}));
    EXPECT_EQ(box(res::kIdDataBitsCombo).Selected(), "8");
    EXPECT_EQ(box(res::kIdStopBitsCombo).Selected(), "1");
    EXPECT_FALSE(logic->OnSelChange(res::kIdLineList));
}

TEST_F(DialogLogicTest, StoredValuesOutsideTheListsShowTheFirstItemOrNone) {
    logic.reset();
    const struct {
        const char* name;
        uint32_t value;
        int box;
        const char* shown;
    } cases[] = {
        {"Port Number", 100, res::kIdPortCombo, "OFF"},
        {"Baud Rate", 12345, res::kIdBaudCombo, "300"},
        {"Data Bits", 9, res::kIdDataBitsCombo, "<none>"},
        {"Stop Bits", 0, res::kIdStopBitsCombo, "<none>"},
        {"Parity", 5, res::kIdParityCombo, "<none>"},
    };
    for (const auto& c : cases) {
        Store(c.name, c.value);
    }
    Start();
    for (const auto& c : cases) {
        EXPECT_EQ(box(c.box).Selected(), c.shown) << c.name;
    }
    EXPECT_FALSE(logic->m_link.IsOpen());
}

TEST_F(DialogLogicTest, EveryChoiceClosesStoresAllFiveAndReopensWithTheBufferEmptied) {
    const struct {
        int box;
        const char* item;
        const char* name;
        uint32_t stored;
        bool opens;  // pseudo-terminals take 8 data bits only
    } choices[] = {
        {res::kIdBaudCombo, "4800", "Baud Rate", 4800, true},
        {res::kIdParityCombo, "SPACE", "Parity", 4, true},
        {res::kIdParityCombo, "NONE", "Parity", 0, true},
        {res::kIdStopBitsCombo, "2", "Stop Bits", 2, true},
        {res::kIdDataBitsCombo, "7", "Data Bits", 7, false},
        {res::kIdDataBitsCombo, "8", "Data Bits", 8, true},
        {res::kIdPortCombo, "7", "Port Number", 7, true},
    };
    for (const auto& c : choices) {
        if (logic->m_link.IsOpen()) {
            Send("!AIVDM,partial");
            TickUntil([&] { return logic->m_link.rxBuffer.Count() > 0; });
            ASSERT_GT(logic->m_link.rxBuffer.Count(), 0u) << c.item;
        }
        Choose(c.box, c.item);
        EXPECT_EQ(Stored(c.name), c.stored) << c.item;
        EXPECT_EQ(logic->m_link.IsOpen(), c.opens) << c.item;
        EXPECT_EQ(logic->m_link.rxBuffer.Count(), 0u) << c.item;
    }
    EXPECT_EQ(Stored("Baud Rate"), 4800u);
    EXPECT_EQ(Stored("Stop Bits"), 2u);
    Send("tail\r\n");
    TickUntil([&] { return !view.lines.empty(); });
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_EQ(view.lines[0], "tail\r\n");
}

TEST_F(DialogLogicTest, OffClosesThePortAndStoresNone) {
    Choose(res::kIdPortCombo, "OFF");
    EXPECT_FALSE(logic->m_link.IsOpen());
    EXPECT_EQ(Stored("Port Number"), 0u);
    EXPECT_TRUE(box(res::kIdPortCombo).tip.empty());
}

TEST_F(DialogLogicTest, PortThatFailsToOpenStaysChosenStoredClosedAndTellsWhy) {
    const int broken = TestPort::BrokenPort();
    ASSERT_NE(broken, 0);
    Start();  // the port list is built once, at start
    const std::string number = std::to_string(broken);
    Choose(res::kIdPortCombo, number);
    EXPECT_FALSE(logic->m_link.IsOpen());
    EXPECT_EQ(logic->m_link.portNumber, broken);
    EXPECT_EQ(Stored("Port Number"), static_cast<uint32_t>(broken));
    EXPECT_EQ(box(res::kIdPortCombo).Selected(), number);
    EXPECT_THAT(box(res::kIdPortCombo).tip,
                testing::EndsWith("\nclosed: the device refuses these line settings"));
}

TEST_F(DialogLogicTest, UnpluggedPortSaysSoInItsTooltipUntilItIsBack) {
    const std::string device = box(res::kIdPortCombo).tip;
    EXPECT_THAT(device, testing::Not(testing::HasSubstr("closed")));
    if (!monitor.port->SupportsUnplug()) {
        GTEST_SKIP() << "this port cannot be unplugged here";
    }
    ASSERT_TRUE(monitor.port->Unplug());
    TickUntil([&] { return !logic->m_link.IsOpen(); });
    EXPECT_EQ(box(res::kIdPortCombo).tip, "closed: not present");
    ASSERT_TRUE(monitor.port->Replug());
    TickUntil([&] { return logic->m_link.IsOpen(); });  // tried again once a second
    EXPECT_THAT(box(res::kIdPortCombo).tip, testing::Not(testing::HasSubstr("closed")));
}

TEST_F(DialogLogicTest, ClosingTheWindowClosesThePortAndKeepsTheSettings) {
    Choose(res::kIdBaudCombo, "115200");
    logic->OnDestroy();
    EXPECT_FALSE(logic->m_link.IsOpen());
    EXPECT_EQ(Stored("Baud Rate"), 115200u);
    EXPECT_EQ(Stored("Port Number"), 7u);
}

}  // namespace
