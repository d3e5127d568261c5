// COM numbers for the serial devices of a fake device tree: each one present gets the lowest
// free number and keeps it across unplugging.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/DosDevices.h"
#include "platform/posix/DeviceMap.h"
#include "platform/posix/DeviceRoots.h"
#include "tests/support/RegistrySandbox.h"

namespace {

namespace fs = std::filesystem;

// Paths below the fake tree's root, separated by blanks: "dev/NAME" a device file,
// "id/NAME=DEVICE" a stable name. `behind`: "N=PATH", the path that port N leads to.
struct Step {
    const char *what, *plug, *unplug, *ports, *behind;
} const kSteps[] = {
    {"first look: lowest free numbers in name order, the user's own number kept",
     "dev/ttyUSB0 dev/ttyACM0 dev/ttyS0 dev/ttyS1 dev/ttyS2 dev/tty0 id/usb-AIS=ttyUSB0", "",
     "COM1 COM2 COM3 COM9  ", "1=dev/ttyACM0 2=dev/ttyS0 3=dev/ttyUSB0 9=dev/ttyS2"},
    {"nothing new: nothing numbered twice", "", "", "COM1 COM2 COM3 COM9  ", ""},
    {"the receiver pulled out, another adapter plugged in", "dev/ttyUSB1", "dev/ttyUSB0 id/usb-AIS",
     "COM1 COM2 COM4 COM9  ", "3=id/usb-AIS 4=dev/ttyUSB1"},
    {"the receiver back under another kernel name keeps its number",
     "dev/ttyUSB2 id/usb-AIS=ttyUSB2", "", "COM1 COM2 COM3 COM4 COM9  ", "3=dev/ttyUSB2"},
};

// The port list with each NUL as a blank: a blank after each name and one more at the end.
std::string Ports() {
    char list[1024];
    std::string names(list, platform::QueryDosDeviceList(list, sizeof list));
    std::replace(names.begin(), names.end(), '\0', ' ');
    return names;
}

TEST(DeviceNumbering, EachSerialDeviceGetsTheLowestFreeNumberAndKeepsIt) {
    RegistrySandbox sandbox;  // the map lives in its config folder
    ASSERT_TRUE(sandbox.Ready());
    const fs::path root = std::getenv("XDG_CONFIG_HOME");
    platform::posix::SetDeviceRoots({root / "dev", root / "sys", root / "id"});
    // ttyS0 is a real UART, ttyS1 the kernel's placeholder; ttyS2 only the user's mapping.
    for (auto [name, type] : {std::pair{"ttyS0", "4"}, {"ttyS1", "0"}}) {
        fs::create_directories(root / "sys" / name / "device/driver");
        std::ofstream(root / "sys" / name / "type") << type << "\n";
    }
    platform::posix::DeviceMap map;
    fs::create_directories(map.Directory());
    fs::create_symlink(root / "dev/ttyS2", map.EntryPath(9));
    for (const Step& step : kSteps) {
        std::istringstream unplug(step.unplug), plug(step.plug), behind(step.behind);
        for (std::string path; unplug >> path;)
            fs::remove(root / path);
        for (std::string path; plug >> path;) {
            const size_t is = path.find('=');
            fs::create_directories((root / path.substr(0, is)).parent_path());
            if (is == std::string::npos)
                std::ofstream(root / path) << "";
            else
                fs::create_symlink("../dev/" + path.substr(is + 1), root / path.substr(0, is));
        }
        EXPECT_EQ(Ports(), step.ports) << step.what;
        for (std::string pair; behind >> pair;) {
            char device[4096] = "(none)";
            platform::ComPortDevice(std::atoi(pair.c_str()), device, sizeof device);
            EXPECT_EQ(device, fs::weakly_canonical(root / pair.substr(pair.find('=') + 1)).string())
                << step.what;
        }
    }
    platform::posix::SetDeviceRoots({});
}

}  // namespace
