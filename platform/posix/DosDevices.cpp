#include "platform/DosDevices.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/posix/DeviceMap.h"
#include "platform/posix/DeviceRoots.h"

namespace platform {

namespace {

using posix::DeviceMap;
using posix::DeviceRoots;
using posix::FolderEntries;
using posix::RealPath;

// Serial device families that exist only when their hardware does.
constexpr std::string_view kPluggedFamilies[] = {"ttyUSB", "ttyACM", "ttyAMA", "rfcomm"};
constexpr std::string_view kUartFamily = "ttyS";

bool HasDigitsAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

bool FileExists(const std::string& path) {
    std::string resolved;
    return RealPath(path, resolved);
}

// The kernel makes ttyS0-ttyS31 whether or not a UART is there; a real one has a driver and
// a port type other than 0 (PORT_UNKNOWN).
bool IsRealUart(const DeviceRoots& roots, const std::string& name) {
    std::string sys = roots.sysClassTty + "/" + name;
    if (!FileExists(sys + "/device/driver")) {
        return false;
    }
    std::ifstream typeFile(sys + "/type");
    int type = 0;
    return static_cast<bool>(typeFile >> type) && type != 0;
}

// Family name, then number, so ttyUSB2 comes before ttyUSB10.
bool NaturalLess(const std::string& a, const std::string& b) {
    size_t da = a.find_first_of("0123456789");
    size_t db = b.find_first_of("0123456789");
    std::string_view fa(a.data(), da), fb(b.data(), db);
    if (fa != fb) {
        return fa < fb;
    }
    return std::atol(a.c_str() + da) < std::atol(b.c_str() + db);
}

std::vector<std::string> PresentSerialDevices(const DeviceRoots& roots) {
    std::vector<std::string> names;
    for (std::string& name : FolderEntries(roots.dev)) {
        bool plugged = std::any_of(std::begin(kPluggedFamilies), std::end(kPluggedFamilies),
                                   [&](std::string_view f) { return HasDigitsAfter(name, f); });
        if (plugged || (HasDigitsAfter(name, kUartFamily) && IsRealUart(roots, name))) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

// The /dev/serial/by-id link of a device, which names the same device after every
// unplugging and reboot; empty when there is none.
std::string StablePath(const DeviceRoots& roots, const std::string& device) {
    for (const std::string& name : FolderEntries(roots.serialById)) {
        std::string path = roots.serialById + "/" + name;
        std::string resolved;
        if (name[0] != '.' && RealPath(path, resolved) && resolved == device) {
            return path;
        }
    }
    return {};
}

void NumberNewDevices(const DeviceMap& map) {
    const DeviceRoots& roots = posix::CurrentDeviceRoots();
    std::vector<std::string> mapped;
    for (int number : map.Numbers()) {
        std::string device;
        if (map.Resolve(number, device)) {
            mapped.push_back(device);
        }
    }
    for (const std::string& name : PresentSerialDevices(roots)) {
        std::string path = roots.dev + "/" + name;
        std::string device;
        if (!RealPath(path, device) ||
            std::find(mapped.begin(), mapped.end(), device) != mapped.end()) {
            continue;
        }
        std::string stable = StablePath(roots, device);
        if (map.Assign(stable.empty() ? path : stable) != 0) {
            mapped.push_back(device);
        }
    }
}

}  // namespace

bool IsNtPlatform() {
    return true;
}

uint32_t QueryDosDeviceList(char* buffer, uint32_t size) {
    DeviceMap map;
    NumberNewDevices(map);
    uint32_t used = 0;
    for (int number : map.Numbers()) {
        std::string device;
        if (!map.Resolve(number, device)) {
            continue;
        }
        std::string name = "COM" + std::to_string(number);
        if (used + name.size() + 2 > size) {
            return 0;  // the list does not fit
        }
        std::memcpy(buffer + used, name.c_str(), name.size() + 1);
        used += static_cast<uint32_t>(name.size() + 1);
    }
    if (used + 1 > size) {
        return 0;
    }
    buffer[used++] = '\0';
    return used;
}

bool ProbeComPort(int portNumber) {
    std::string device;
    return DeviceMap().Resolve(portNumber, device);
}

bool ComPortDevice(int portNumber, char* out, uint32_t size) {
    DeviceMap map;
    std::string device;
    if (!map.Resolve(portNumber, device) && !map.LinkText(portNumber, device)) {
        return false;
    }
    if (device.size() + 1 > size) {
        return false;
    }
    std::memcpy(out, device.c_str(), device.size() + 1);
    return true;
}

}  // namespace platform
