// The dialog's logic with boxes as a window provides them, on COM7 in a private registry.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <thread>
#include <tuple>

#include "app/MainDialogLogic.h"
#include "res/DialogTemplate.h"
#include "tests/support/MonitorPort.h"

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using Items = std::vector<std::string>;

// Lists what a tick receives.
struct FakeView : TargetView {
    void InsertLineAtTop(const char* line, size_t length) override {
        lines.insert(lines.begin(), std::string(line, length));
    }
    void SetControlText(int, const std::string&) override {}
    std::vector<std::string> lines;  // top first
};

// Selecting from code sends no event, as in both windows.
class FakeCombo : public ComboControl {
public:
    void ResetContent() override { items.clear(), selection = -1; }
    void AddString(const char* text) override { items.emplace_back(text); }
    int GetCount() const override { return static_cast<int>(items.size()); }
    void GetLBText(int index, char* text, size_t size) const override {
        std::snprintf(text, size, "%s", items.at(static_cast<size_t>(index)).c_str());
    }
    int GetCurSel() const override { return selection; }
    void SetCurSel(int index) override { selection = index < GetCount() ? index : -1; }
    void SetToolTip(const std::string& text) override { tip = text; }
    std::string Selected() const { return selection < 0 ? "<none>" : items[selection]; }
    Items items;
    int selection = -1;
    std::string tip;
};

class DialogLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(monitor.Make());
        Start();
    }
    void Start() {
        logic = std::make_unique<MainDialogLogic>();
        logic->DoDataExchange(Box(res::kIdPortCombo), Box(res::kIdBaudCombo),
                              Box(res::kIdDataBitsCombo), Box(res::kIdStopBitsCombo),
                              Box(res::kIdParityCombo));
        logic->OnInitDialog();
    }
    FakeCombo& Box(int id) { return boxes[static_cast<size_t>(id - res::kIdPortCombo)]; }
    // As a user would: the window passes the selection change on.
    void Choose(int id, const std::string& item) {
        FakeCombo& box = Box(id);
        box.selection = static_cast<int>(std::find(box.items.begin(), box.items.end(), item) -
                                         box.items.begin());
        ASSERT_EQ(box.Selected(), item);
        EXPECT_TRUE(logic->OnSelChange(id));
    }
    // Ticks until `done`: the bytes may take a moment to arrive.
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
    EXPECT_EQ(Box(res::kIdPortCombo).items.front(), "OFF");
    EXPECT_EQ(Box(res::kIdPortCombo).Selected(), "7");
    EXPECT_THAT(Box(res::kIdPortCombo).tip, Not(HasSubstr("closed")));
    EXPECT_EQ(Box(res::kIdBaudCombo).Selected() + Box(res::kIdParityCombo).Selected(), "38400NONE");
    EXPECT_FALSE(logic->OnSelChange(res::kIdLineList));

    const std::tuple<const char*, uint32_t, int, const char*> outside[] = {
        {"Port Number", 100, res::kIdPortCombo, "OFF"},
        {"Baud Rate", 12345, res::kIdBaudCombo, "300"},
        {"Data Bits", 9, res::kIdDataBitsCombo, "<none>"},
        {"Parity", 5, res::kIdParityCombo, "<none>"}};
    logic.reset();
    for (auto [name, value, box, shown] : outside) {
        ASSERT_TRUE(MonitorPort::Store(name, value));
    }
    Start();
    for (auto [name, value, box, shown] : outside) {
        EXPECT_EQ(Box(box).Selected(), shown) << name;
    }
    EXPECT_FALSE(logic->m_link.IsOpen());
}

TEST_F(DialogLogicTest, EveryChoiceIsStoredAndReopensWithTheBufferEmptied) {
    // Pseudo-terminals take 8 data bits only.
    const std::tuple<int, const char*, const char*, uint32_t, bool> choices[] = {
        {res::kIdBaudCombo, "4800", "Baud Rate", 4800, true},
        {res::kIdParityCombo, "SPACE", "Parity", 4, true},
        {res::kIdParityCombo, "NONE", "Parity", 0, true},
        {res::kIdStopBitsCombo, "2", "Stop Bits", 2, true},
        {res::kIdDataBitsCombo, "7", "Data Bits", 7, false},
        {res::kIdDataBitsCombo, "8", "Data Bits", 8, true}};
    for (auto [box, item, name, stored, opens] : choices) {
        if (logic->m_link.IsOpen()) {
            ASSERT_TRUE(monitor.Send("!AIVDM,partial"));
            TickUntil([&] { return logic->m_link.rxBuffer.Count() > 0; });
            ASSERT_GT(logic->m_link.rxBuffer.Count(), 0u) << item;
        }
        Choose(box, item);
        EXPECT_EQ(MonitorPort::Stored(name), stored) << item;
        EXPECT_EQ(logic->m_link.IsOpen(), opens) << item;
        EXPECT_EQ(logic->m_link.rxBuffer.Count(), 0u) << item;
    }
    EXPECT_EQ(MonitorPort::Stored("Baud Rate"), 4800u) << "all five stored each time";
    ASSERT_TRUE(monitor.Send("tail\r\n"));
    TickUntil([&] { return !view.lines.empty(); });
    EXPECT_EQ(view.lines, Items{"tail\r\n"});
    logic->OnDestroy();
    EXPECT_FALSE(logic->m_link.IsOpen());
    EXPECT_EQ(MonitorPort::Stored("Port Number"), 7u) << "closing keeps the settings";
    Choose(res::kIdPortCombo, "OFF");
    EXPECT_EQ(MonitorPort::Stored("Port Number"), 0u);
    EXPECT_TRUE(Box(res::kIdPortCombo).tip.empty());
}

TEST_F(DialogLogicTest, PortBoxTellsWhyAPortIsClosed) {
    const int broken = TestPort::BrokenPort();
    ASSERT_NE(broken, 0);
    Start();  // the port list is built once, at start
    Choose(res::kIdPortCombo, std::to_string(broken));
    EXPECT_FALSE(logic->m_link.IsOpen());
    EXPECT_EQ(MonitorPort::Stored("Port Number"), static_cast<uint32_t>(broken));
    EXPECT_EQ(Box(res::kIdPortCombo).Selected(), std::to_string(broken)) << "stays chosen";
    EXPECT_THAT(Box(res::kIdPortCombo).tip,
                EndsWith("\nclosed: the device refuses these line settings"));
    Choose(res::kIdPortCombo, "7");
    if (!monitor.port->Unplug()) {
        GTEST_SKIP() << "this port cannot be unplugged here";
    }
    TickUntil([&] { return !logic->m_link.IsOpen(); });
    EXPECT_EQ(Box(res::kIdPortCombo).tip, "closed: not present");
    ASSERT_TRUE(monitor.port->Replug());
    TickUntil([&] { return logic->m_link.IsOpen(); });  // tried again once a second
    EXPECT_THAT(Box(res::kIdPortCombo).tip, Not(HasSubstr("closed")));
}

TEST_F(DialogLogicTest, ThePortListFollowsWhatIsPluggedInAndTheTipWhatArrives) {
    logic.reset();
    ASSERT_TRUE(MonitorPort::Store("Port Number", 9));  // stored, with no device behind it
    Start();
    FakeCombo& ports = Box(res::kIdPortCombo);
    EXPECT_EQ(ports.Selected(), "9") << "the stored port is listed while it is away";
    if (!logic->m_link.IsOpen()) {  // under Wine every test port is there from the start
        EXPECT_EQ(ports.tip, "closed: not present");
    }
    const bool appears =
        std::find(ports.items.begin(), ports.items.end(), "8") == ports.items.end();
    TestPort late(8), stored(9);
    ASSERT_TRUE(late.Ok() && stored.Ok());
    TickUntil([&] { return logic->m_link.IsOpen(); });
    EXPECT_TRUE(logic->m_link.IsOpen()) << "opened once it is there, tried once a second";
    if (appears) {
        TickUntil([&] { return std::count(ports.items.begin(), ports.items.end(), "8") > 0; });
        EXPECT_THAT(ports.items, ::testing::IsSupersetOf({"OFF", "7", "8", "9"}))
            << "a receiver plugged in later can be chosen";
        EXPECT_EQ(ports.Selected(), "9") << "the choice shown stays";
    }
    ASSERT_TRUE(
        stored.Write("!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*00\r\n"
                     "!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*6E\r\n",
                     98));
    TickUntil([&] { return ports.tip.find("refused") != std::string::npos; });
    EXPECT_THAT(ports.tip,
                EndsWith("receiving: 2 lines, 1 AIS messages decoded, 1 refused (checksum 1)"));
}

}  // namespace
