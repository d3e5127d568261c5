#include "platform/CommPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace

CommHandle CommOpen(int portNumber, int32_t baudRate, char parityLetter, int dataBits, int stopBits,
                    CommOpenError* error) {
    if (portNumber <= 0) {
        return Refused(CommOpenError::NotPresent, error);
    }
    std::string path = posix::DeviceMap().EntryPath(portNumber);
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
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

void CommClose(CommHandle handle) {
    int fd = static_cast<int>(handle);
    ioctl(fd, TIOCNXCL);
    close(fd);
}

}  // namespace platform
