#pragma once

#include <string>

// Where the system shows its serial devices. Tests point these at a fake tree.
namespace platform::posix {

struct DeviceRoots {
    std::string dev = "/dev";
    std::string sysClassTty = "/sys/class/tty";
    std::string serialById = "/dev/serial/by-id";
};

const DeviceRoots& CurrentDeviceRoots();
void SetDeviceRoots(const DeviceRoots& roots);

}  // namespace platform::posix
