#include "platform/posix/DeviceMap.h"

#include "platform/posix/ConfigFolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform::posix {

namespace {

// "com" and a number without leading zeros; 0 for any other name.
int EntryNumber(const char* name) {
    if (name[0] != 'c' || name[1] != 'o' || name[2] != 'm' || name[3] < '1' || name[3] > '9') {
        return 0;
    }
    long number = 0;
    for (const char* p = name + 3; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return 0;
        }
        number = number * 10 + (*p - '0');
        if (number > DeviceMap::kHighestNumber) {
            return 0;
        }
    }
    return static_cast<int>(number);
}

bool MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

}  // namespace

bool RealPath(const std::string& path, std::string& resolved) {
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer) == nullptr) {
        return false;
    }
    resolved = buffer;
    return true;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

DeviceMap::DeviceMap() {
    const std::string folder = ConfigFolder();
    if (!folder.empty()) {
        directory = folder + "/dosdevices";
    }
}

std::string DeviceMap::EntryPath(int number) const {
    return directory.empty() ? std::string() : directory + "/com" + std::to_string(number);
}

bool DeviceMap::Resolve(int number, std::string& device) const {
    return number > 0 && RealPath(EntryPath(number), device);
}

bool DeviceMap::LinkText(int number, std::string& text) const {
    if (number <= 0) {
        return false;
    }
    char buffer[PATH_MAX];
    ssize_t length = readlink(EntryPath(number).c_str(), buffer, sizeof buffer);
    if (length < 0 || static_cast<size_t>(length) >= sizeof buffer) {
        return false;
    }
    text.assign(buffer, static_cast<size_t>(length));
    return true;
}

std::vector<int> DeviceMap::Numbers() const {
    std::vector<int> numbers;
    for (const std::string& name : FolderEntries(directory)) {
        if (int number = EntryNumber(name.c_str()); number != 0) {
            numbers.push_back(number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

int DeviceMap::Assign(const std::string& target) const {
    std::vector<int> taken = Numbers();
    int number = 1;
    for (int n : taken) {
        if (n != number) {
            break;
        }
        ++number;
    }
    if (number > kHighestNumber || !MakeDirectories(directory) ||
        symlink(target.c_str(), EntryPath(number).c_str()) != 0) {
        return 0;
    }
    return number;
}

}  // namespace platform::posix
