#pragma once

#include <string>
#include <vector>

// The per-user map from COM port numbers to devices, in the Wine style:
// $XDG_CONFIG_HOME/brenlow/dosdevices/comN is a symbolic link to the device of port N.
namespace platform::posix {

class DeviceMap {
public:
    static constexpr int kHighestNumber = 32767;

    DeviceMap();

    const std::string& Directory() const { return directory; }
    std::string EntryPath(int number) const;
    // The existing device the entry leads to, links resolved. False when there is no entry
    // or it leads nowhere.
    bool Resolve(int number, std::string& device) const;
    // The entry's own link text, also when it leads nowhere.
    bool LinkText(int number, std::string& text) const;
    // Every number that has an entry, present or not, ascending.
    std::vector<int> Numbers() const;
    // Links `target` under the lowest number without an entry; 0 when that fails.
    int Assign(const std::string& target) const;

private:
    std::string directory;
};

// realpath(3) into a string; false when the path does not lead to an existing file.
bool RealPath(const std::string& path, std::string& resolved);

// The names in a folder, "." and ".." included, in the order readdir(3) gives them; none when
// it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace platform::posix
