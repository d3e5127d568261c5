#include "serial/SerialLink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "settings/SettingsStore.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TestPort.h"

namespace {

constexpr const char* kSection = "AIS Unit";
constexpr int kPortNumber = 7;

SerialLink::Clock::time_point fakeNow;
SerialLink::Clock::time_point FakeClock() {
    return fakeNow;
}

class SerialLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sandbox.Ready());
        SetRegistryCompanyName("Veltmark");
    }

    static void Store(const char* name, uint32_t value) {
        SettingsScope scope;
        WriteDword(kSection, name, value);
    }

    static uint32_t Stored(const char* name) {
        SettingsScope scope;
        return ReadDword(kSection, name, 0xDEADBEEF);
    }

    // A port under kPortNumber and a link built with it stored.
    std::unique_ptr<SerialLink> OpenLink(TestPort& port) {
        EXPECT_TRUE(port.Ok());
        Store("Port Number", static_cast<uint32_t>(port.Number()));
        auto link = std::make_unique<SerialLink>();
        EXPECT_TRUE(link->IsOpen());
        return link;
    }

    static void Send(TestPort& port, const std::string& bytes) {
        ASSERT_TRUE(port.Write(bytes.data(), bytes.size()));
    }

    // The next line, waiting (boundedly) for the bytes to make their way through the device.
    static std::string NextLine(SerialLink& link, uint32_t limit = 1024) {
        std::string buffer(limit + 1, '#');
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            if (uint32_t n = link.ReadLine(buffer.data(), limit); n > 0) {
                return buffer.substr(0, n);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return "(no line)";
    }

    static uint32_t ReadNow(SerialLink& link, std::string* line = nullptr) {
        std::string buffer(1025, '#');
        uint32_t n = link.ReadLine(buffer.data(), 1024);
        if (line != nullptr) {
            *line = buffer.substr(0, n);
        }
        return n;
    }

    // First, so that the ports of a test are mapped inside it.
    RegistrySandbox sandbox;
};

TEST_F(SerialLinkTest, FirstRunStoresTheDefaultsAndOpensNothing) {
    SerialLink link;
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.Open(), 0);
    EXPECT_EQ(link.rxBuffer.storage, nullptr);
    EXPECT_EQ(Stored("Port Number"), 0u);
    EXPECT_EQ(Stored("Baud Rate"), 19200u);
    EXPECT_EQ(Stored("Parity"), 0u);
    EXPECT_EQ(Stored("Data Bits"), 8u);
    EXPECT_EQ(Stored("Stop Bits"), 1u);
}

TEST_F(SerialLinkTest, SixteenBitSettingsLoadFromTheLowHalf) {
    Store("Port Number", 65539);
    Store("Baud Rate", 70000);
    Store("Data Bits", 0x10007);
    SerialLink link;
    EXPECT_EQ(link.portNumber, 3);
    EXPECT_EQ(link.baudRate, 70000);
    EXPECT_EQ(link.dataBits, 7);
}

TEST_F(SerialLinkTest, SavedSettingsAreSignExtended) {
    SerialLink link;
    link.SetStopBits(-1);
    EXPECT_EQ(Stored("Stop Bits"), 0xFFFFFFFFu);
    EXPECT_EQ(Stored("Port Number"), 0u);
}

TEST_F(SerialLinkTest, ClosedLinkLeavesTheBufferAlone) {
    SerialLink link;
    char buffer[8] = "keep";
    EXPECT_EQ(link.ReadLine(buffer, 7), 0u);
    EXPECT_STREQ(buffer, "keep");
}

TEST_F(SerialLinkTest, LineSplitAcrossReadsComesOutOnceComplete) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    Send(port, "XYZ");
    std::string line = "#";
    EXPECT_EQ(ReadNow(*link, &line), 0u);
    Send(port, "\r\nUVW");
    EXPECT_EQ(NextLine(*link), "XYZ\r\n");
    Send(port, "\n");
    EXPECT_EQ(NextLine(*link), "UVW\n");
}

TEST_F(SerialLinkTest, BufferedLinesComeOutWithoutFurtherBytes) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    Send(port, "!AIVDM,1\r\n!AIVDM,2\r\n!AIVDO,3\r\n");
    EXPECT_EQ(NextLine(*link), "!AIVDM,1\r\n");
    EXPECT_EQ(ReadNow(*link), 10u);
    EXPECT_EQ(ReadNow(*link), 10u);
    EXPECT_EQ(ReadNow(*link), 0u);
}

TEST_F(SerialLinkTest, BacklogLargerThanTheRingLosesNoLine) {
    // A late tick finds far more waiting than the 4096-byte ring holds.
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    std::string backlog;
    for (int i = 0; i < 200; ++i) {
        backlog +=
            "!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*" + std::to_string(1000 + i) + "\r\n";
    }
    ASSERT_GT(backlog.size(), 2 * 4096u);
    Send(port, backlog);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(NextLine(*link), "!AIVDM,1,1,,A,13aDoPhP00PCmi<MEl5KoOw025Ip,0*" +
                                       std::to_string(1000 + i) + "\r\n");
    }
}

TEST_F(SerialLinkTest, NoiseBytesPassUnchanged) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    std::string noise("\0\x80\xff\x11\x13\x03\r\x7f\0\n", 10);
    Send(port, noise);
    EXPECT_EQ(NextLine(*link), noise);
    Send(port, "after\n");
    EXPECT_EQ(NextLine(*link), "after\n");
}

TEST_F(SerialLinkTest, OverlongLineGivesItsTail) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    std::string line;
    for (int i = 0; i < 1999; ++i) {
        line += static_cast<char>('A' + i % 26);
    }
    line += '\n';
    Send(port, line + "short\n");
    EXPECT_EQ(NextLine(*link), line.substr(2000 - 1024));
    EXPECT_EQ(NextLine(*link), "short\n");
}

TEST_F(SerialLinkTest, OpenAppliesTheStoredLine) {
    TestPort port(kPortNumber);
    Store("Baud Rate", 4800);
    Store("Parity", 2);
    Store("Data Bits", 7);
    Store("Stop Bits", 2);
    auto link = OpenLink(port);
    TestPort::Line line{};
    if (!port.LineSettings(&line)) {
        GTEST_SKIP() << "this port fixture cannot see the line settings";
    }
    EXPECT_EQ(line.baudRate, 4800);
    EXPECT_TRUE(line.twoStopBits);
}

TEST_F(SerialLinkTest, SetterTakesEffectAtTheNextOpen) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    Send(port, "partial");
    ReadNow(*link);
    link->SetBaudRate(4800);
    EXPECT_EQ(Stored("Baud Rate"), 4800u);
    EXPECT_EQ(link->rxBuffer.Count(), 0u);
    TestPort::Line line{};
    if (!port.LineSettings(&line)) {
        GTEST_SKIP() << "this port fixture cannot see the line settings";
    }
    EXPECT_EQ(line.baudRate, 19200);
    link->Close();
    EXPECT_EQ(link->Open(), 1);
    ASSERT_TRUE(port.LineSettings(&line));
    EXPECT_EQ(line.baudRate, 4800);
}

TEST_F(SerialLinkTest, OpenOnAnOpenLinkKeepsBufferedBytes) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    Send(port, "XY");
    ReadNow(*link);
    EXPECT_EQ(link->Open(), 1);
    Send(port, "\n");
    EXPECT_EQ(NextLine(*link), "XY\n");
}

TEST_F(SerialLinkTest, SecondLinkOnTheSamePortIsRefused) {
    TestPort port(kPortNumber);
    if (!port.SupportsExclusive()) {
        GTEST_SKIP() << "this port fixture does not refuse a second open";
    }
    auto first = OpenLink(port);
    SerialLink second;
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(second.rxBuffer.storage, nullptr);
    first->Close();
    EXPECT_EQ(second.Open(), 1);
}

TEST_F(SerialLinkTest, PortOffClosesAndIsRemembered) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    link->SetPort(0);
    EXPECT_FALSE(link->IsOpen());
    EXPECT_EQ(link->portNumber, 0);
    EXPECT_EQ(Stored("Port Number"), 0u);
    EXPECT_EQ(link->Open(), 0);
    link.reset();
    SerialLink restarted;
    EXPECT_FALSE(restarted.IsOpen());
}

TEST_F(SerialLinkTest, OtherPortIsStoredWithoutTouchingTheOpenOne) {
    TestPort port(kPortNumber);
    auto link = OpenLink(port);
    Send(port, "XYZ");
    ReadNow(*link);
    link->SetPort(12);
    EXPECT_TRUE(link->IsOpen());
    EXPECT_EQ(Stored("Port Number"), 12u);
    Send(port, "\n");
    EXPECT_EQ(NextLine(*link), "XYZ\n");
}

struct BadSetting {
    const char* name;
    uint32_t value;
};

class SerialLinkBadSettingTest : public SerialLinkTest,
                                 public ::testing::WithParamInterface<BadSetting> {};

TEST_P(SerialLinkBadSettingTest, OpenFails) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    Store("Port Number", kPortNumber);
    Store(GetParam().name, GetParam().value);
    SerialLink link;
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.Open(), 0);
    EXPECT_EQ(link.rxBuffer.storage, nullptr);
}

INSTANTIATE_TEST_SUITE_P(OutOfRange, SerialLinkBadSettingTest,
                         ::testing::Values(BadSetting{"Parity", 5}, BadSetting{"Parity", 0xFFFF},
                                           BadSetting{"Data Bits", 4}, BadSetting{"Data Bits", 9},
                                           BadSetting{"Stop Bits", 0}, BadSetting{"Stop Bits", 3},
                                           BadSetting{"Baud Rate", 0}));

class SerialLinkUnplugTest : public SerialLinkTest {
protected:
    void SetUp() override {
        SerialLinkTest::SetUp();
        fakeNow = SerialLink::Clock::time_point{} + std::chrono::hours(1);
    }
};

TEST_F(SerialLinkUnplugTest, ReceivedLinesSurviveAndTheLinkResumes) {
    TestPort port(kPortNumber);
    if (!port.SupportsUnplug()) {
        GTEST_SKIP() << "this port fixture cannot unplug";
    }
    auto link = OpenLink(port);
    link->clock = &FakeClock;
    Send(port, "A\nB\npart");
    EXPECT_EQ(NextLine(*link), "A\n");
    ASSERT_TRUE(port.Unplug());
    std::string line;
    EXPECT_EQ(ReadNow(*link, &line), 2u);
    EXPECT_EQ(line, "B\n");
    EXPECT_EQ(ReadNow(*link), 0u);  // the unfinished "part" goes with the device
    EXPECT_FALSE(link->IsOpen());

    ASSERT_TRUE(port.Replug());
    fakeNow += std::chrono::milliseconds(500);
    EXPECT_EQ(ReadNow(*link), 0u);
    EXPECT_FALSE(link->IsOpen());
    fakeNow += std::chrono::milliseconds(600);
    ReadNow(*link);
    EXPECT_TRUE(link->IsOpen());
    Send(port, "C\n");
    EXPECT_EQ(NextLine(*link), "C\n");
}

TEST_F(SerialLinkUnplugTest, RetriesUntilTheDeviceIsBack) {
    TestPort port(kPortNumber);
    if (!port.SupportsUnplug()) {
        GTEST_SKIP() << "this port fixture cannot unplug";
    }
    auto link = OpenLink(port);
    link->clock = &FakeClock;
    ASSERT_TRUE(port.Unplug());
    ReadNow(*link);
    EXPECT_FALSE(link->IsOpen());
    fakeNow += std::chrono::seconds(2);
    ReadNow(*link);
    EXPECT_FALSE(link->IsOpen());
    ASSERT_TRUE(port.Replug());
    fakeNow += std::chrono::seconds(2);
    ReadNow(*link);
    EXPECT_TRUE(link->IsOpen());
}

TEST_F(SerialLinkUnplugTest, DeliberatelyClosedLinkStaysClosed) {
    TestPort port(kPortNumber);
    if (!port.SupportsUnplug()) {
        GTEST_SKIP() << "this port fixture cannot unplug";
    }
    auto link = OpenLink(port);
    link->clock = &FakeClock;
    ASSERT_TRUE(port.Unplug());
    ReadNow(*link);
    link->Close();
    ASSERT_TRUE(port.Replug());
    fakeNow += std::chrono::seconds(5);
    ReadNow(*link);
    EXPECT_FALSE(link->IsOpen());
}

TEST_F(SerialLinkUnplugTest, PortMissingAtStartIsNotRetried) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    if (!port.SupportsUnplug())
        GTEST_SKIP() << "this port fixture cannot unplug";
    ASSERT_TRUE(port.Unplug());
    Store("Port Number", kPortNumber);
    SerialLink link;
    link.clock = &FakeClock;
    ASSERT_FALSE(link.IsOpen());
    ASSERT_TRUE(port.Replug());
    fakeNow += std::chrono::seconds(5);
    ReadNow(link);
    EXPECT_FALSE(link.IsOpen());
}

}  // namespace
