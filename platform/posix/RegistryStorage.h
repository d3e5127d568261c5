#pragma once

#include <cstddef>
#include <string>

#include "platform/posix/RegistryFile.h"

namespace platform {

// One update of the per-user registry file: built, it holds the folder's lock and has read
// the file once; Commit replaces the file at most once. Writers rename a finished file over
// the old one, so a crash leaves either the old file or the new one.
class RegistryStorage {
public:
    // The largest file read. A larger one (or an endless one) is refused, and never replaced.
    static constexpr size_t kMaxFileSize = size_t{16} << 20;
    // registry.reg.bad, registry.reg.bad.1, ...: damaged files kept aside, never overwritten.
    static constexpr int kMaxDamagedCopies = 10;

    // $XDG_CONFIG_HOME/brenlow (an absolute XDG_CONFIG_HOME only), else ~/.config/brenlow;
    // empty when there is no home.
    static std::string FolderPath();
    static std::string FilePath();

    // Makes the folder when missing, takes an exclusive lock on the folder of the file (its
    // symbolic links followed; given up after two seconds) and reads the file. A missing file
    // reads as empty, and so does one that cannot be read.
    RegistryStorage();
    ~RegistryStorage();
    RegistryStorage(const RegistryStorage&) = delete;
    RegistryStorage& operator=(const RegistryStorage&) = delete;

    RegistryFile& File() { return file; }
    // 0 when File() may replace the file, else the Win32 status that says why not.
    long WriteStatus() const { return writeStatus; }
    // Replaces the file with File() when that changed; a damaged file is first kept aside.
    // Stale temporary files of killed writers are removed. Returns the write's status.
    long Commit();

private:
    void Read();
    long KeepAside() const;
    void RemoveStaleTemporaries() const;
    long Replace(const std::string& data) const;

    RegistryFile file;
    std::string original;  // the bytes read
    std::string target;    // the file, symbolic links followed
    std::string folder;    // the folder that holds it
    int lock = -1;         // the folder, locked
    long writeStatus = 0;
    bool damaged = false;
    unsigned mode = 0600;
};

}  // namespace platform
