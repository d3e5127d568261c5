#include "platform/DosDevices.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/CommPort.h"
#include "platform/posix/DeviceMap.h"
#include "platform/posix/DeviceRoots.h"
#include "serial/ListComPorts.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

constexpr const char* kReceiverId = "usb-Veltmark_AIS_Receiver_0042-if00-port0";

// A fake /dev, /sys/class/tty and /dev/serial/by-id, and an empty device map.
class DosDevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("brenlow-devices-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "dev/serial/by-id");
        fs::create_directories(root / "sys");
        fs::create_directories(root / "config");
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        platform::posix::SetDeviceRoots({(root / "dev").string(), (root / "sys").string(),
                                         (root / "dev/serial/by-id").string()});

        Device("ttyACM0");
        Device("ttyUSB0");
        ById(kReceiverId, "ttyUSB0");
        Uart("ttyS0", "4");  // a 16550A
        Uart("ttyS1", "0");  // the kernel's placeholder without hardware
        Device("ttyS2");     // no device behind it at all
        Device("tty0");
        Device("ttyUSBx");
        Device("console");
    }

    void TearDown() override {
        platform::posix::SetDeviceRoots({});
        fs::remove_all(root);
    }

    void Device(const std::string& name) { std::ofstream(root / "dev" / name) << ""; }

    void ById(const std::string& id, const std::string& name) {
        fs::create_symlink("../../" + name, root / "dev/serial/by-id" / id);
    }

    void Uart(const std::string& name, const std::string& type) {
        Device(name);
        fs::create_directories(root / "sys" / name / "device/driver");
        std::ofstream(root / "sys" / name / "type") << type << "\n";
    }

    std::vector<std::string> Names() {
        std::vector<char> buffer(65535);
        uint32_t n = platform::QueryDosDeviceList(buffer.data(), 65535);
        std::vector<std::string> names;
        for (uint32_t at = 0; at < n && buffer[at] != '\0'; at += names.back().size() + 1) {
            names.emplace_back(buffer.data() + at);
        }
        return names;
    }

    std::string LinkOf(int number) {
        std::string text;
        platform::posix::DeviceMap().LinkText(number, text);
        return text;
    }

    std::string DeviceOf(int number) {
        char out[4096];
        return platform::ComPortDevice(number, out, sizeof out) ? out : "(none)";
    }

    fs::path root;
};

TEST_F(DosDevicesTest, EachRealSerialDeviceGetsTheLowestFreeNumber) {
    EXPECT_THAT(Names(), ElementsAre("COM1", "COM2", "COM3"));
    EXPECT_EQ(DeviceOf(1), fs::canonical(root / "dev/ttyACM0").string());
    EXPECT_EQ(DeviceOf(2), fs::canonical(root / "dev/ttyS0").string());
    EXPECT_EQ(DeviceOf(3), fs::canonical(root / "dev/ttyUSB0").string());
    EXPECT_EQ(LinkOf(3), (root / "dev/serial/by-id" / kReceiverId).string());
    EXPECT_THAT(Names(), ElementsAre("COM1", "COM2", "COM3"));  // nothing numbered twice
}

TEST_F(DosDevicesTest, ReceiverKeepsItsNumberAcrossUnplugging) {
    Names();
    fs::remove(root / "dev/serial/by-id" / kReceiverId);
    fs::remove(root / "dev/ttyUSB0");
    Device("ttyUSB1");  // another adapter, plugged in meanwhile
    EXPECT_THAT(Names(), ElementsAre("COM1", "COM2", "COM4"));
    EXPECT_FALSE(platform::ProbeComPort(3));
    EXPECT_EQ(DeviceOf(3), (root / "dev/serial/by-id" / kReceiverId).string());

    Device("ttyUSB2");  // the receiver is back under another kernel name
    ById(kReceiverId, "ttyUSB2");
    EXPECT_THAT(Names(), ElementsAre("COM1", "COM2", "COM3", "COM4"));
    EXPECT_EQ(DeviceOf(3), fs::canonical(root / "dev/ttyUSB2").string());
    EXPECT_TRUE(platform::ProbeComPort(3));
}

TEST_F(DosDevicesTest, UserMappingIsKept) {
    platform::posix::DeviceMap map;
    fs::create_directories(map.Directory());
    fs::create_symlink(root / "dev/ttyUSB0", map.EntryPath(1));
    fs::create_symlink(root / "dev/ttyS2", map.EntryPath(9));
    fs::create_symlink(root / "dev/gone", map.EntryPath(4));
    EXPECT_THAT(Names(), ElementsAre("COM1", "COM2", "COM3", "COM9"));
    EXPECT_EQ(LinkOf(1), (root / "dev/ttyUSB0").string());
    EXPECT_EQ(DeviceOf(2), fs::canonical(root / "dev/ttyACM0").string());
    EXPECT_EQ(DeviceOf(3), fs::canonical(root / "dev/ttyS0").string());
    EXPECT_FALSE(platform::ProbeComPort(4));
    EXPECT_FALSE(platform::ProbeComPort(5));
}

TEST_F(DosDevicesTest, ListThatDoesNotFitGivesNothing) {
    char small[10];
    EXPECT_EQ(platform::QueryDosDeviceList(small, sizeof small), 0u);
    char exact[16];
    EXPECT_EQ(platform::QueryDosDeviceList(exact, sizeof exact), 16u);
    EXPECT_EQ(std::string(exact, 16), std::string("COM1\0COM2\0COM3\0\0", 16));
}

TEST_F(DosDevicesTest, PortDiscoveryListsTheMappedPorts) {
    std::vector<unsigned> ports = {99};
    ListComPorts(ports);
    EXPECT_THAT(ports, ElementsAre(1u, 2u, 3u));
}

TEST_F(DosDevicesTest, ComPortDeviceNeedsRoom) {
    Names();
    char tiny[4];
    EXPECT_FALSE(platform::ComPortDevice(1, tiny, sizeof tiny));
    EXPECT_FALSE(platform::ComPortDevice(7, tiny, sizeof tiny));
}

TEST_F(DosDevicesTest, DeviceThatIsNoTerminalDoesNotOpen) {
    Names();
    EXPECT_EQ(platform::CommOpen(1, 19200, 'N', 8, 1), platform::kInvalidCommHandle);
    EXPECT_EQ(platform::CommOpen(8, 19200, 'N', 8, 1), platform::kInvalidCommHandle);
}

}  // namespace
