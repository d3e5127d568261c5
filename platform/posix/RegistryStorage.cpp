#include "platform/posix/RegistryStorage.h"

#include "platform/posix/ConfigFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>

#include "platform/Registry.h"

namespace platform {

namespace {

constexpr char kFileName[] = "registry.reg";
constexpr char kTemporary[] = ".tmp.";  // then six letters or digits, from mkstemp
constexpr int kLockTries = 400;         // of 5 ms each
constexpr int kMaxLinks = 40;

long StatusOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return kRegAccessDenied;
        case EROFS:
            return kRegWriteProtect;
        case ENOSPC:
            return kRegDiskFull;
        case EDQUOT:
            return kRegQuotaExceeded;
        case EFBIG:
            return kRegFileTooLarge;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            return kRegPathNotFound;
        case ELOOP:
            return kRegLinkLoop;
        case EISDIR:
        case ENXIO:
            return kRegBadFileType;
        case EMFILE:
        case ENFILE:
            return kRegTooManyFiles;
        case ENOMEM:
            return kRegNoMemory;
        case EWOULDBLOCK:
            return kRegLocked;
        default:
            return kRegWriteFault;
    }
}

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
    // Closes it; false when that reports an error (a write that did not reach the disk).
    bool Close() {
        const int held = fd;
        fd = -1;
        return close(held) == 0;
    }

private:
    int fd;
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The file that `path` leads to through its symbolic links; it need not exist.
long FollowLinks(std::string path, std::string* out) {
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        char link[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), link, sizeof link);
        if (length < 0) {
            if (errno != EINVAL && errno != ENOENT) {
                return StatusOf(errno);
            }
            *out = path;
            return kRegSuccess;
        }
        if (static_cast<size_t>(length) >= sizeof link) {
            return kRegPathNotFound;
        }
        const std::string text(link, static_cast<size_t>(length));
        path = text.front() == '/' ? text : FolderOf(path) + "/" + text;
    }
    return kRegLinkLoop;
}

long MakeFolder(const std::string& folder) {
    // The parent may be a fresh ~/.config too.
    mkdir(FolderOf(folder).c_str(), 0700);
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST ? kRegSuccess : StatusOf(errno);
}

long LockFolder(int fd) {
    for (int tries = 0; flock(fd, LOCK_EX | LOCK_NB) != 0; ++tries) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || tries == kLockTries) {
            return StatusOf(errno);
        }
        const timespec pause{0, 5'000'000};
        nanosleep(&pause, nullptr);
    }
    return kRegSuccess;
}

long WriteAll(int fd, const std::string& data) {
    for (size_t done = 0; done < data.size();) {
        const ssize_t wrote = write(fd, data.data() + done, data.size() - done);
        if (wrote < 0 && errno != EINTR) {
            return StatusOf(errno);
        }
        done += wrote > 0 ? static_cast<size_t>(wrote) : 0;
    }
    return fsync(fd) == 0 ? kRegSuccess : StatusOf(errno);
}

// A regular file only, at most kMaxFileSize bytes; anything else is refused before reading.
// kRegNotFound when there is no file.
long ReadRegular(const std::string& path, std::string* data, struct stat* info) {
    if (stat(path.c_str(), info) != 0) {
        return errno == ENOENT ? kRegNotFound : StatusOf(errno);
    }
    if (!S_ISREG(info->st_mode)) {
        return kRegBadFileType;
    }
    // Without blocking, in case it was swapped for a FIFO or a device since.
    Fd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return StatusOf(errno);
    }
    if (fstat(fd.Get(), info) != 0 || !S_ISREG(info->st_mode)) {
        return kRegBadFileType;
    }
    if (static_cast<unsigned long long>(info->st_size) > RegistryStorage::kMaxFileSize) {
        return kRegFileTooLarge;
    }
    data->reserve(static_cast<size_t>(info->st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t got = read(fd.Get(), chunk, sizeof chunk);
        if (got == 0) {
            return kRegSuccess;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || data->size() + static_cast<size_t>(got) > RegistryStorage::kMaxFileSize) {
            const long status = got < 0 ? (errno == EIO ? kRegReadFault : StatusOf(errno))
                                        : kRegFileTooLarge;  // it grew
            data->clear();
            return status;
        }
        data->append(chunk, static_cast<size_t>(got));
    }
}

}  // namespace

std::string RegistryStorage::FolderPath() {
    return ConfigFolder();
}

std::string RegistryStorage::FilePath() {
    const std::string config = FolderPath();
    return config.empty() ? config : config + "/" + kFileName;
}

RegistryStorage::RegistryStorage() {
    const std::string config = FolderPath();
    if (config.empty()) {
        writeStatus = kRegPathNotFound;
        return;
    }
    writeStatus = MakeFolder(config);
    const long followed = FollowLinks(config + "/" + kFileName, &target);
    if (followed != kRegSuccess) {
        writeStatus = followed;
        return;
    }
    folder = FolderOf(target);
    lock = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const long locked = lock >= 0 ? LockFolder(lock) : StatusOf(errno);
    if (writeStatus == kRegSuccess) {
        writeStatus = locked;
    }
    Read();
}

RegistryStorage::~RegistryStorage() {
    if (lock >= 0) {
        close(lock);  // and with it the lock
    }
}

void RegistryStorage::Read() {
    struct stat info {};
    const long read = ReadRegular(target, &original, &info);
    if (read == kRegNotFound) {
        return;  // no file yet
    }
    if (read != kRegSuccess) {
        writeStatus = writeStatus != kRegSuccess ? writeStatus : read;
        return;
    }
    mode = info.st_mode & 07777;
    damaged = !file.Parse(original);
    // A file without any write permission is left as it is, also by root.
    if (writeStatus == kRegSuccess && ((mode & 0222) == 0 || access(target.c_str(), W_OK) != 0)) {
        writeStatus = (mode & 0222) == 0 ? kRegAccessDenied : StatusOf(errno);
    }
}

long RegistryStorage::Commit() {
    if (!file.Changed()) {
        return kRegSuccess;
    }
    if (writeStatus != kRegSuccess) {
        return writeStatus;
    }
    const long kept = damaged ? KeepAside() : kRegSuccess;
    if (kept != kRegSuccess) {
        return kept;
    }
    RemoveStaleTemporaries();
    return Replace(file.Serialise());
}

// Under the first free name, created anew: a copy kept earlier is never overwritten.
long RegistryStorage::KeepAside() const {
    for (int copy = 0; copy < kMaxDamagedCopies; ++copy) {
        const std::string name =
            target + ".bad" + (copy == 0 ? std::string() : "." + std::to_string(copy));
        Fd fd(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (fd.Get() < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return StatusOf(errno);
        }
        long status = WriteAll(fd.Get(), original);
        if (!fd.Close() && status == kRegSuccess) {
            status = StatusOf(errno);
        }
        if (status != kRegSuccess) {
            unlink(name.c_str());  // a part of a copy is no copy
        }
        return status;
    }
    return kRegCannotMake;
}

// Under the lock no live writer has a temporary file: any left is a killed writer's.
void RegistryStorage::RemoveStaleTemporaries() const {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string prefix = target.substr(folder.size() + 1) + kTemporary;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        bool ours = true;
        for (char c : name.substr(prefix.size())) {
            ours = ours && ((c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'));
        }
        if (ours) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
    }
    closedir(dir);
}

long RegistryStorage::Replace(const std::string& data) const {
    std::string temporary = target + kTemporary + "XXXXXX";
    Fd fd(mkstemp(temporary.data()));
    if (fd.Get() < 0) {
        return StatusOf(errno);
    }
    long status = fchmod(fd.Get(), mode) == 0 ? WriteAll(fd.Get(), data) : StatusOf(errno);
    if (!fd.Close() && status == kRegSuccess) {
        status = StatusOf(errno);
    }
    if (status == kRegSuccess && rename(temporary.c_str(), target.c_str()) != 0) {
        status = StatusOf(errno);
    }
    if (status != kRegSuccess) {
        unlink(temporary.c_str());
        return status;
    }
    return fsync(lock) == 0 ? kRegSuccess : StatusOf(errno);
}

}  // namespace platform
