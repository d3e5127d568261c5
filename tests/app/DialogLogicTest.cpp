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
using namespace res;

// Lists what a tick receives.
struct FakeView : TargetView {
    void InsertLineAtTop(const char* line, size_t n) override { lines.emplace_back(line, n); }
    void SetControlText(int, const std::string&) override {}
    std::vector<std::string> lines;  // as received
};

// Selecting from code sends no event, as in both windows.
struct FakeCombo : ComboControl {
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

class DialogLogicTest : public ::testing::Test, protected MonitorPort {
protected:
    void SetUp() override {
        ASSERT_TRUE(MonitorPort::Make());
        Start();
    }
    void Start() {
        logic = std::make_unique<MainDialogLogic>();
        logic->DoDataExchange([this](int id) -> ComboControl& { return Box(id); });
        logic->OnInitDialog();
    }
    FakeCombo& Box(int id) { return boxes[static_cast<size_t>(id - kIdPortCombo)]; }
    // Whether the port is open, and the five boxes' selections, port box first.
    std::string Shown() const {
        std::string out = logic->m_link.IsOpen() ? "open: " : "closed: ";
        for (const FakeCombo& box : boxes)
            out += box.Selected() + "|";
        return out;
    }
    // As a user would: the window passes the selection change on.
    void Choose(int id, const std::string& item) {
        FakeCombo& box = Box(id);
        box.selection = std::find(box.items.begin(), box.items.end(), item) - box.items.begin();
        ASSERT_EQ(box.Selected(), item);
        EXPECT_TRUE(logic->OnSelChange(id));
    }
    // Ticks until `done`, for at most 3 s: the bytes may take a moment to arrive.
    bool TickUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 300 && !done(); ++i) {
            logic->OnTimer(view);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    }
    std::array<FakeCombo, 5> boxes;
    std::unique_ptr<MainDialogLogic> logic;
    FakeView view;
};

// Start shows the stored settings and opens the port; every choice is stored and reopens it with
// the buffer emptied; values the boxes do not hold show as none.
TEST_F(DialogLogicTest, StartAndEveryChoice) {
    EXPECT_EQ(Box(kIdPortCombo).items.front(), "OFF");
    EXPECT_EQ(Shown(), "open: 7|38400|8|1|NONE|");
    EXPECT_THAT(Box(kIdPortCombo).tip, Not(HasSubstr("closed")));
    EXPECT_FALSE(logic->OnSelChange(kIdLineList));
    const char* const names[] = {"Port Number", "Baud Rate", "Data Bits", "Stop Bits", "Parity"};
    // Pseudo-terminals take 8 data bits only.
    const std::tuple<int, const char*, uint32_t, bool> choices[] = {
        {kIdBaudCombo, "4800", 4800, true}, {kIdParityCombo, "SPACE", 4, true},
        {kIdParityCombo, "NONE", 0, true},  {kIdStopBitsCombo, "2", 2, true},
        {kIdDataBitsCombo, "7", 7, false},  {kIdDataBitsCombo, "8", 8, true}};
    for (auto [box, item, stored, opens] : choices) {
        if (logic->m_link.IsOpen()) {
            ASSERT_TRUE(Send("!AIVDM,partial"));
            ASSERT_TRUE(TickUntil([&] { return logic->m_link.rxBuffer.Count() > 0; })) << item;
        }
        Choose(box, item);
        EXPECT_EQ(Stored(names[box - kIdPortCombo]), stored) << item;
        EXPECT_EQ(logic->m_link.IsOpen(), opens) << item;
        EXPECT_EQ(logic->m_link.rxBuffer.Count(), 0u) << item;
    }
    EXPECT_EQ(Stored("Baud Rate"), 4800u) << "all five stored each time";
    ASSERT_TRUE(Send("tail\r\n"));
    TickUntil([&] { return !view.lines.empty(); });
    EXPECT_EQ(view.lines, Items{"tail\r\n"});
    logic->OnDestroy();
    EXPECT_FALSE(logic->m_link.IsOpen());
    EXPECT_EQ(Stored("Port Number"), 7u) << "closing keeps the settings";
    Choose(kIdPortCombo, "OFF");
    EXPECT_EQ(std::tuple(Stored("Port Number"), Box(kIdPortCombo).tip), std::tuple(0u, ""));
    logic.reset();
    // Values the boxes do not hold.
    ASSERT_TRUE(Store("Port Number", 100) && Store("Baud Rate", 12345) && Store("Data Bits", 9) &&
                Store("Parity", 5));
    Start();
    EXPECT_EQ(Shown(), "closed: OFF|300|<none>|2|<none>|");
}

// The port list follows what is plugged in, and the port box's tip what arrives and why a port
// is closed.
TEST_F(DialogLogicTest, ThePortListAndThePortBoxTip) {
    logic.reset();
    ASSERT_TRUE(Store("Port Number", 9));  // stored, with no device behind it
    Start();
    FakeCombo& ports = Box(kIdPortCombo);
    EXPECT_EQ(ports.Selected(), "9") << "the stored port is listed while it is away";
    // Under Wine every test port is there from the start.
    EXPECT_TRUE(logic->m_link.IsOpen() || ports.tip == "closed: not present") << ports.tip;
    const bool appears = std::count(ports.items.begin(), ports.items.end(), "8") == 0;
    TestPort late(8), stored(9);
    ASSERT_TRUE(late.Ok() && stored.Ok());
    EXPECT_TRUE(TickUntil([&] { return logic->m_link.IsOpen(); }))
        << "opened once it is there, tried once a second";
    if (appears) {
        TickUntil([&] { return std::count(ports.items.begin(), ports.items.end(), "8") > 0; });
        EXPECT_THAT(ports.items, ::testing::IsSupersetOf({"OFF", "7", "8", "9"}))
            << "a receiver plugged in later can be chosen";
        EXPECT_EQ(ports.Selected(), "9") << "the choice shown stays";
    }
    // The same sentence with a wrong checksum, then with its own.
    const std::string sentence = "!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*";
    const std::string bytes = sentence + "00\r\n" + sentence + "6E\r\n";
    ASSERT_TRUE(stored.Write(bytes.data(), bytes.size()));
    TickUntil([&] { return ports.tip.find("refused") != std::string::npos; });
    EXPECT_THAT(ports.tip,
                EndsWith("receiving: 2 lines, 1 AIS messages decoded, 1 refused (checksum 1)"));
    const int broken = TestPort::BrokenPort();
    ASSERT_NE(broken, 0);
    Start();  // the port list is built once, at start
    Choose(kIdPortCombo, std::to_string(broken));
    EXPECT_EQ(Stored("Port Number"), static_cast<uint32_t>(broken));
    EXPECT_EQ(Shown(), "closed: " + std::to_string(broken) + "|38400|8|1|NONE|") << "stays chosen";
    EXPECT_THAT(ports.tip, EndsWith("\nclosed: the device refuses these line settings"));
}

}  // namespace
