#pragma once

#include <functional>
#include <string>

#include "platform/posix/RegistryFile.h"

namespace platform {

// Where the per-user registry lives on disk, and its safe reading and writing.
class RegistryStorage {
public:
    // $XDG_CONFIG_HOME/brenlow (an absolute XDG_CONFIG_HOME only), else ~/.config/brenlow;
    // empty when there is no home.
    static std::string FolderPath();
    static std::string FilePath();

    // Reads what parses of the file into *file. Missing or unreadable files read as empty.
    // No lock is needed: writers replace the file whole.
    static void Load(RegistryFile* file);

    // Under an exclusive lock: reads the file again, lets `edit` change it (edit returns a
    // Win32 status; anything but success stops) and replaces the file atomically. A file
    // that did not parse cleanly is first kept as registry.reg.bad. A file that cannot be
    // read, or a folder that cannot be written, fails with kRegAccessDenied and changes
    // nothing.
    static long Update(const std::function<long(RegistryFile&)>& edit);
};

}  // namespace platform
