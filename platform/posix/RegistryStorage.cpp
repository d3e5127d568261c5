#include "platform/posix/RegistryStorage.h"

#include "platform/posix/ConfigFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/Registry.h"

namespace platform {

namespace {

// The file is a few hundred bytes; anything far larger is damage, read only in part.
constexpr size_t kMaxFileSize = 1 << 20;

enum class ReadResult { Read, Missing, Unreadable };

class Fd {
public:
    explicit Fd(int fd) : fd(fd) {}
    ~Fd() {
        if (fd >= 0) {
            close(fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd; }
    int Release() {
        const int held = fd;
        fd = -1;
        return held;
    }

private:
    int fd;
};

// Reads the file, at most kMaxFileSize bytes; *whole is false when more was left.
ReadResult ReadText(const std::string& path, std::string* text, bool* whole) {
    Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable;
    }
    char chunk[4096];
    for (;;) {
        const ssize_t got = read(fd.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return ReadResult::Unreadable;
        }
        if (got == 0) {
            *whole = true;
            return ReadResult::Read;
        }
        if (text->size() + static_cast<size_t>(got) > kMaxFileSize) {
            *whole = false;
            return ReadResult::Read;
        }
        text->append(chunk, static_cast<size_t>(got));
    }
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t done = write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

bool SyncFolder(const std::string& folder) {
    Fd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.Get() >= 0 && fsync(fd.Get()) == 0;
}

// Writes `path` by way of a synced temporary file in the same folder and a rename, so that
// a reader or a crash sees either the old file or the new one.
bool ReplaceFile(const std::string& folder, const std::string& path, const std::string& data) {
    std::string temp = path + ".XXXXXX";
    Fd fd(mkstemp(temp.data()));
    if (fd.Get() < 0) {
        return false;
    }
    const bool written = WriteAll(fd.Get(), data.data(), data.size()) && fsync(fd.Get()) == 0;
    if (close(fd.Release()) != 0 || !written || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    return SyncFolder(folder);
}

// Copies the file byte for byte (a damaged one may be larger than what was read of it).
bool KeepCopy(const std::string& folder, const std::string& from, const std::string& to) {
    Fd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.Get() < 0) {
        return false;
    }
    std::string data;
    char chunk[4096];
    for (;;) {
        const ssize_t got = read(in.Get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        data.append(chunk, static_cast<size_t>(got));
    }
    return ReplaceFile(folder, to, data);
}

void MakeFolder(const std::string& folder) {
    // The parent may be a fresh ~/.config too; errors show when the lock file is opened.
    const size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        mkdir(folder.substr(0, slash).c_str(), 0700);
    }
    mkdir(folder.c_str(), 0700);
}

}  // namespace

std::string RegistryStorage::FolderPath() {
    return ConfigFolder();
}

std::string RegistryStorage::FilePath() {
    const std::string folder = FolderPath();
    return folder.empty() ? folder : folder + "/registry.reg";
}

void RegistryStorage::Load(RegistryFile* file) {
    const std::string path = FilePath();
    std::string text;
    bool whole = false;
    if (!path.empty() && ReadText(path, &text, &whole) == ReadResult::Read) {
        file->Parse(text);
    }
}

long RegistryStorage::Update(const std::function<long(RegistryFile&)>& edit) {
    const std::string folder = FolderPath();
    if (folder.empty()) {
        return kRegAccessDenied;
    }
    MakeFolder(folder);
    const std::string path = folder + "/registry.reg";
    Fd lock(open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.Get() < 0) {
        return kRegAccessDenied;
    }
    while (flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return kRegAccessDenied;
    }
    std::string text;
    bool whole = true;
    const ReadResult read = ReadText(path, &text, &whole);
    if (read == ReadResult::Unreadable) {
        return kRegAccessDenied;  // never overwrite what could not be read
    }
    RegistryFile file;
    const bool clean = file.Parse(text) && whole;
    const long status = edit(file);
    if (status != kRegSuccess) {
        return status;
    }
    if (!clean && !KeepCopy(folder, path, path + ".bad")) {
        return kRegAccessDenied;
    }
    return ReplaceFile(folder, path, file.Serialise()) ? kRegSuccess : kRegAccessDenied;
}

}  // namespace platform
