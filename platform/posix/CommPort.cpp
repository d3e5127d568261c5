#include "platform/CommPort.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/posix/DeviceMap.h"
#include "platform/posix/LineTermios.h"

namespace platform {

namespace {

bool ReadErrorMeansGone(int error) {
    return error != EAGAIN && error != EWOULDBLOCK && error != EINTR;
}

CommOpenError OpenErrorOf(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return CommOpenError::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:  // the lock of another program
            return CommOpenError::InUse;
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case ENOTDIR:
        case ELOOP:   // a comN link that leads round in a circle
        case EISDIR:  // or to a folder: no device there either
            return CommOpenError::NotPresent;
        default:
            return CommOpenError::LineRefused;
    }
}

CommHandle Refused(CommOpenError reason, CommOpenError* error) {
    if (error != nullptr) {
        *error = reason;
    }
    return kInvalidCommHandle;
}

const char* Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The map entry of port n. An absent port is tried again once a second for weeks, so once the
// folder is known the path is made without allocating.
bool EntryPath(int portNumber, char* out, size_t size) {
    static std::string config, home, directory;
    static bool known = false;
    if (!known || config != Env("XDG_CONFIG_HOME") || home != Env("HOME")) {
        config = Env("XDG_CONFIG_HOME");
        home = Env("HOME");
        directory = posix::DeviceMap().Directory();
        known = true;
    }
    const int length = std::snprintf(out, size, "%s/com%d", directory.c_str(), portNumber);
    return !directory.empty() && length > 0 && static_cast<size_t>(length) < size;
}

}  // namespace

CommHandle CommOpen(int portNumber, int32_t baudRate, char parityLetter, int dataBits, int stopBits,
                    CommOpenError* error) {
    if (portNumber <= 0) {
        return Refused(CommOpenError::NotPresent, error);
    }
    char path[PATH_MAX];
    if (!EntryPath(portNumber, path, sizeof path)) {
        return Refused(CommOpenError::NotPresent, error);
    }
    int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return Refused(OpenErrorOf(errno), error);
    }
    // The lock keeps out other programs that lock (and root, whom TIOCEXCL does not stop);
    // TIOCEXCL keeps out every other unprivileged open.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return Refused(CommOpenError::InUse, error);
    }
    termios line;
    if (tcgetattr(fd, &line) != 0 ||
        !posix::MakeLineTermios(baudRate, parityLetter, dataBits, stopBits, &line) ||
        tcsetattr(fd, TCSANOW, &line) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        close(fd);
        return Refused(CommOpenError::LineRefused, error);
    }
    if (error != nullptr) {
        *error = CommOpenError::None;
    }
    return fd;
}

CommReadStatus CommRead(CommHandle handle, char* buffer, uint32_t limit, uint32_t* got) {
    *got = 0;
    int fd = static_cast<int>(handle);
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 0) < 0) {
        return errno == EINTR ? CommReadStatus::Ok : CommReadStatus::Gone;
    }
    if ((p.revents & POLLNVAL) != 0) {
        return CommReadStatus::Gone;
    }
    bool hungUp = (p.revents & (POLLHUP | POLLERR)) != 0;
    if ((p.revents & POLLIN) == 0 && !hungUp) {
        return CommReadStatus::Ok;
    }
    ssize_t n = limit > 0 ? read(fd, buffer, limit) : 0;
    if (n > 0) {
        *got = static_cast<uint32_t>(n);
        return CommReadStatus::Ok;  // a hang-up shows again on the next read
    }
    if (n < 0) {
        return ReadErrorMeansGone(errno) ? CommReadStatus::Gone : CommReadStatus::Ok;
    }
    return hungUp ? CommReadStatus::Gone : CommReadStatus::Ok;
}

bool CommPortGroup(int portNumber, char* out, uint32_t size) {
    char path[PATH_MAX];
    struct stat device;
    if (size == 0 || !EntryPath(portNumber, path, sizeof path) || stat(path, &device) != 0) {
        return false;
    }
    group entry;
    group* found = nullptr;
    char names[4096];
    if (getgrgid_r(device.st_gid, &entry, names, sizeof names, &found) == 0 && found != nullptr) {
        std::snprintf(out, size, "%s", found->gr_name);
    } else {
        std::snprintf(out, size, "%u", static_cast<unsigned>(device.st_gid));
    }
    return true;
}

void CommClose(CommHandle handle) {
    int fd = static_cast<int>(handle);
    ioctl(fd, TIOCNXCL);
    close(fd);
}

}  // namespace platform
