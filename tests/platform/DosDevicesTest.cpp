// COM numbers for the serial devices of a fake /dev: lowest free first, kept across unplugging.
#include "platform/DosDevices.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/CommPort.h"
#include "platform/posix/DeviceMap.h"
#include "platform/posix/DeviceRoots.h"
#include "serial/ListComPorts.h"

namespace fs = std::filesystem;

TEST(DosDevices, EachSerialDeviceGetsTheLowestFreeNumberAndKeepsIt) {
    const fs::path root = fs::temp_directory_path() / ("brenlow-dev-" + std::to_string(getpid()));
    const fs::path byId = root / "dev/serial/by-id/usb-Veltmark_AIS_Receiver_0042-if00-port0";
    fs::create_directories(root / "dev/serial/by-id");
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    platform::posix::SetDeviceRoots(
        {(root / "dev").string(), (root / "sys").string(), byId.parent_path().string()});
    // ttyS2 has no device behind it; ttyS1 is the kernel's placeholder; the rest are no ports.
    for (const char* name : {"ttyACM0", "ttyUSB0", "ttyS0", "ttyS1", "ttyS2", "tty0", "console"}) {
        std::ofstream(root / "dev" / name) << "";
    }
    for (auto [name, type] : {std::pair{"ttyS0", "4"}, {"ttyS1", "0"}}) {
        fs::create_directories(root / "sys" / name / "device/driver");
        std::ofstream(root / "sys" / name / "type") << type << "\n";
    }
    fs::create_symlink("../../ttyUSB0", byId);
    platform::posix::DeviceMap map;
    fs::create_directories(map.Directory());
    fs::create_symlink(root / "dev/ttyS2", map.EntryPath(9));  // the user's own mapping
    auto ports = [] {
        std::vector<unsigned> list = {99};
        ListComPorts(list);
        return list;
    };
    auto device = [](int number) {
        char out[4096];
        return platform::ComPortDevice(number, out, sizeof out) ? std::string(out) : "(none)";
    };
    auto real = [&](const char* name) { return fs::canonical(root / "dev" / name).string(); };
    EXPECT_EQ(ports(), (std::vector<unsigned>{1, 2, 3, 9}));
    EXPECT_EQ(ports(), (std::vector<unsigned>{1, 2, 3, 9})) << "nothing numbered twice";
    EXPECT_EQ(device(1), real("ttyACM0"));
    EXPECT_EQ(device(2), real("ttyS0"));
    EXPECT_EQ(device(3), real("ttyUSB0"));
    char small[20], exact[21];
    EXPECT_EQ(platform::QueryDosDeviceList(small, sizeof small), 0u) << "a list that does not fit";
    ASSERT_EQ(platform::QueryDosDeviceList(exact, sizeof exact), 21u);
    EXPECT_EQ(std::string(exact, 21), std::string("COM1\0COM2\0COM3\0COM9\0\0", 21));
    EXPECT_FALSE(platform::ComPortDevice(1, small, 4));
    EXPECT_EQ(platform::CommOpen(1, 19200, 'N', 8, 1), platform::kInvalidCommHandle)
        << "a device that is no terminal";

    fs::remove(byId);
    fs::remove(root / "dev/ttyUSB0");
    std::ofstream(root / "dev/ttyUSB1") << "";  // another adapter, plugged in meanwhile
    EXPECT_EQ(ports(), (std::vector<unsigned>{1, 2, 4, 9}));
    EXPECT_FALSE(platform::ProbeComPort(3));
    EXPECT_EQ(device(3), byId.string()) << "the receiver keeps its number";
    std::ofstream(root / "dev/ttyUSB2") << "";  // back under another kernel name
    fs::create_symlink("../../ttyUSB2", byId);
    EXPECT_EQ(ports(), (std::vector<unsigned>{1, 2, 3, 4, 9}));
    EXPECT_EQ(device(3), real("ttyUSB2"));
    platform::posix::SetDeviceRoots({});
    fs::remove_all(root);
}
