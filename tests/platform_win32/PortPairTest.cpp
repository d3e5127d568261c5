#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/CommPort.h"
#include "platform/DosDevices.h"
#include "serial/ListComPorts.h"
#include "tests/support/TestPort.h"

// The Win32 port calls against a real COM device, as Wine maps one to a pseudo-terminal.
namespace {

constexpr int kPortNumber = 8;

std::string ReadAvailable(platform::CommHandle handle, size_t wanted) {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (received.size() < wanted && std::chrono::steady_clock::now() < deadline) {
        char buffer[512];
        uint32_t got = 0;
        if (platform::CommRead(handle, buffer, sizeof buffer, &got) != platform::CommReadStatus::Ok)
            break;
        received.append(buffer, got);
        if (got == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return received;
}

TEST(PortPairTest, ReadReturnsAtOnceWhenNothingArrived) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    const platform::CommHandle handle = platform::CommOpen(kPortNumber, 19200, 'N', 8, 1);
    ASSERT_NE(handle, platform::kInvalidCommHandle);
    char buffer[16];
    uint32_t got = 99;
    EXPECT_EQ(platform::CommRead(handle, buffer, sizeof buffer, &got),
              platform::CommReadStatus::Ok);
    EXPECT_EQ(got, 0u);
    platform::CommClose(handle);
}

TEST(PortPairTest, EveryByteValuePassesUnchanged) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    const platform::CommHandle handle = platform::CommOpen(kPortNumber, 38400, 'N', 8, 1);
    ASSERT_NE(handle, platform::kInvalidCommHandle);
    // NUL, XON/XOFF, Ctrl-Z, CR and LF included: binary mode, no flow control, no translation.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    ASSERT_TRUE(port.Write(all.data(), all.size()));
    EXPECT_EQ(ReadAvailable(handle, all.size()), all);
    platform::CommClose(handle);
}

TEST(PortPairTest, LineIsSetFromTheModeText) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    const platform::CommHandle handle = platform::CommOpen(kPortNumber, 4800, 'E', 7, 2);
    ASSERT_NE(handle, platform::kInvalidCommHandle);
    TestPort::Line line{};
    ASSERT_TRUE(port.LineSettings(&line));
    EXPECT_EQ(line.baudRate, 4800);
    EXPECT_TRUE(line.twoStopBits);
    platform::CommClose(handle);
}

TEST(PortPairTest, RefusedModeTextLeavesThePortClosed) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    EXPECT_EQ(platform::CommOpen(kPortNumber, 19200, 'X', 8, 1), platform::kInvalidCommHandle);
    // Nothing was left open: the port opens again.
    const platform::CommHandle handle = platform::CommOpen(kPortNumber, 19200, 'N', 8, 1);
    EXPECT_NE(handle, platform::kInvalidCommHandle);
    platform::CommClose(handle);
}

TEST(PortPairTest, PresentPortIsDiscovered) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    std::vector<unsigned> ports;
    ListComPorts(ports);
    EXPECT_THAT(ports, ::testing::Contains(static_cast<unsigned>(kPortNumber)));
    EXPECT_TRUE(platform::ProbeComPort(kPortNumber));
    char device[32];
    ASSERT_TRUE(platform::ComPortDevice(kPortNumber, device, sizeof device));
    EXPECT_STREQ(device, "\\\\.\\COM8");
}

TEST(PortPairTest, HeldPortStillCountsAsPresent) {
    TestPort port(kPortNumber);
    ASSERT_TRUE(port.Ok());
    const platform::CommHandle handle = platform::CommOpen(kPortNumber, 19200, 'N', 8, 1);
    ASSERT_NE(handle, platform::kInvalidCommHandle);
    EXPECT_TRUE(platform::ProbeComPort(kPortNumber));
    platform::CommClose(handle);
}

}  // namespace
