// The serial link on a test port: stored settings, whole lines, and unplugged devices.
#include "serial/SerialLink.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <tuple>

#include "tests/support/MonitorPort.h"

namespace {

using namespace std::chrono_literals;
// Braced lists are evaluated left to right: {ReadNow(l), ReadNow(l)} reads in that order.
using Strings = std::vector<std::string>;
using Reading = std::pair<std::string, bool>;  // a line read, and whether the link is open after

SerialLink::Clock::time_point fakeNow;

class SerialLinkTest : public ::testing::Test, protected MonitorPort {
protected:
    void SetUp() override {
        ASSERT_TRUE(MonitorPort::Make());
        fakeNow = SerialLink::Clock::time_point{} + 1h;
    }
    std::unique_ptr<SerialLink> Link() {
        auto link = std::make_unique<SerialLink>();
        link->clock = [] { return fakeNow; };
        return link;
    }
    void Send(const std::string& bytes) { ASSERT_TRUE(MonitorPort::Send(bytes)); }
    // The next line, waiting (boundedly) for the bytes to come through the device.
    static std::string NextLine(SerialLink& link) {
        std::string line;
        for (int i = 0; i < 2500 && (line = ReadNow(link)).empty(); ++i)
            std::this_thread::sleep_for(2ms);
        return line;
    }
    static std::string ReadNow(SerialLink& link) {
        std::string buffer(1025, '#');
        return buffer.substr(0, link.ReadLine(buffer.data(), 1024));
    }
    // A read once the fake clock has moved on by `wait`.
    static Reading ReadAfter(SerialLink& link, std::chrono::milliseconds wait) {
        fakeNow += wait;
        return {ReadNow(link), link.IsOpen()};
    }
    // Open, or closed and why.
    static auto State(const SerialLink& link) { return std::pair(link.IsOpen(), link.openError); }
    // The line settings the device side sees, where the fixture can tell.
    bool LineIs(int32_t baudRate, bool twoStopBits) {
        TestPort::Line line{};
        return !port->LineSettings(&line) ||
               (line.baudRate == baudRate && line.twoStopBits == twoStopBits);
    }
};

TEST(SerialLinkSettings, DefaultsAreStoredSixteenBitsLoadedAndSavedSignExtended) {
    RegistrySandbox sandbox;
    ASSERT_TRUE(sandbox.Ready());
    SerialLink none;
    char buffer[8] = "keep";
    EXPECT_EQ((std::tuple{none.Open(), none.rxBuffer.storage == nullptr, none.ReadLine(buffer, 7),
                          std::string(buffer)}),
              std::tuple(0, true, 0u, "keep"));
    const auto stored = &MonitorPort::Stored;
    EXPECT_EQ((std::vector{stored("Port Number"), stored("Baud Rate"), stored("Parity"),
                           stored("Data Bits"), stored("Stop Bits")}),
              (std::vector<uint32_t>{0, 19200, 0, 8, 1}));
    MonitorPort::Store("Port Number", 65539);
    MonitorPort::Store("Baud Rate", 70000);
    MonitorPort::Store("Data Bits", 0x10007);
    SerialLink link;
    EXPECT_EQ(std::tuple(link.portNumber, link.baudRate, link.dataBits), std::tuple(3, 70000, 7));
    link.SetStopBits(-1);
    EXPECT_EQ(MonitorPort::Stored("Stop Bits"), 0xFFFFFFFFu);
    EXPECT_TRUE(link.SaveSettings());
    link.baudRate = 4800;  // a change, which a file that refuses writes cannot take
    EXPECT_TRUE(!sandbox.DenyWrites() || (!link.SaveSettings() && link.saveStatus != 0));
}

// Partial lines wait, any bytes pass, a backlog larger than the ring loses no line, and junk
// never holds up the lines behind it.
TEST_F(SerialLinkTest, LinesComeOutWholeUnchangedAndNoneIsLost) {
    auto link = Link();
    ASSERT_TRUE(link->IsOpen());
    Send("XYZ");
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(ReadNow(*link), "") << "a partial line waits";
    Send("\r\nA\n");
    EXPECT_EQ(NextLine(*link), "XYZ\r\n");
    EXPECT_EQ(ReadNow(*link), "A\n") << "held lines come out without further bytes";
    const std::string noise("\0\x80\xff\x11\x13\x03\r\x7f\0\n", 10);
    Send(noise);
    EXPECT_EQ(NextLine(*link), noise);

    std::string backlog, received;
    for (int i = 0; i < 200; ++i)
        backlog += "!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*" + std::to_string(i) + "\n";
    Send(backlog);
    std::this_thread::sleep_for(100ms);
    for (int i = 0; i < 200; ++i)
        received += NextLine(*link);
    EXPECT_EQ(received + ReadNow(*link), backlog) << "every line, and nothing more";

    const uint64_t before = link->bytesReceived;
    const std::string junk(2000, 'x');
    Send(junk + "\r\n" + junk + "A\nB\n" + std::string(5000, '\xff'));
    std::this_thread::sleep_for(100ms);
    Strings tick;
    for (std::string line = ReadNow(*link); !line.empty(); line = ReadNow(*link))
        tick.push_back(line);
    EXPECT_EQ(tick, (Strings{junk.substr(978) + "\r\n", junk.substr(978) + "A\n", "B\n"}))
        << "all in one tick, an overlong line cut to its last 1,024 bytes";
    EXPECT_EQ(link->bytesReceived - before, 2 * junk.size() + 6 + 5000);
}

TEST_F(SerialLinkTest, SettingsApplyAtTheNextOpenAndBadOnesRefuseIt) {
    Store("Stop Bits", 2);
    auto link = Link();
    EXPECT_TRUE(LineIs(38400, true));
    Send("XY");
    ReadNow(*link);
    EXPECT_EQ(link->Open(), 1) << "already open";
    link->SetPort(99);
    EXPECT_TRUE(link->IsOpen()) << "another port is only stored";
    EXPECT_EQ(Stored("Port Number"), 99u);
    Send("\n");
    EXPECT_EQ(NextLine(*link), "XY\n") << "and the bytes kept";
    link->SetBaudRate(4800);
    link->Close();
    EXPECT_EQ(link->Open(), 0) << "COM99 is not there";
    link->SetPort(kNumber);
    EXPECT_EQ(link->Open(), 1);
    EXPECT_TRUE(LineIs(4800, true));
    Store("Data Bits", 4);
    auto refused = Link();
    EXPECT_EQ(State(*refused), std::pair(false, platform::CommOpenError::LineRefused));
    EXPECT_EQ(refused->rxBuffer.storage, nullptr);
}

TEST_F(SerialLinkTest, SecondLinkOnTheSamePortIsRefused) {
    if (!port->SupportsExclusive())
        GTEST_SKIP() << "this port fixture does not refuse a second open";
    auto first = Link();
    auto second = Link();
    EXPECT_EQ(State(*second), std::pair(false, platform::CommOpenError::InUse));
    first->Close();
    EXPECT_EQ(second->Open(), 1);
}

TEST_F(SerialLinkTest, UnpluggedDeviceIsOpenedAgainOnceASecondUntilBack) {
    auto link = Link();
    Send("A\nB\npart");
    EXPECT_EQ(NextLine(*link), "A\n");
    const uint32_t changes = link->stateChanges;
    if (!port->Unplug())
        GTEST_SKIP() << "this port fixture cannot unplug";
    EXPECT_EQ((Strings{ReadNow(*link), ReadNow(*link), ReadNow(*link)}), (Strings{"B\n", "", ""}))
        << "received lines survive, the unfinished line goes with the device";
    EXPECT_EQ(State(*link), std::pair(false, platform::CommOpenError::NotPresent));
    EXPECT_EQ(link->stateChanges, changes + 1);
    EXPECT_EQ(ReadAfter(*link, 2s), Reading("", false)) << "tried while still gone";
    ASSERT_TRUE(port->Replug());
    Send("C\n");
    EXPECT_EQ(ReadAfter(*link, 500ms), Reading("", false)) << "not within a second of the last try";
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(ReadAfter(*link, 600ms), Reading("C\n", true)) << "the reopening read delivers";

    ASSERT_TRUE(port->Unplug());
    ReadNow(*link);
    link->Close();
    ASSERT_TRUE(port->Replug());
    EXPECT_EQ(ReadAfter(*link, 5s), Reading("", false)) << "a link closed on purpose stays closed";

    ASSERT_TRUE(port->Unplug());
    auto late = Link();
    EXPECT_EQ(State(*late), std::pair(false, platform::CommOpenError::NotPresent));
    late->Close();
    late->SetBaudRate(4800);
    EXPECT_EQ(late->Open(), 0) << "a setting chosen while it is away";
    ASSERT_TRUE(port->Replug());
    fakeNow += 1s;
    Send("D\n");
    EXPECT_EQ(NextLine(*late), "D\n") << "a port missing at start is opened once it is there";
}

}  // namespace
