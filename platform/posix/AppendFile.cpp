#include "platform/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

struct AppendFile {
    int fd = -1;
    off_t size = 0;  // what the file held after the last whole record
};

AppendFile* AppendFileCreate(const char* path, bool replace) {
    // Not blocking in the open: a FIFO nobody reads would hold it for ever (ENXIO instead).
    const int how =
        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | (replace ? O_TRUNC : O_EXCL);
    const int fd = open(path, how, 0644);
    if (fd < 0) {
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const off_t size = lseek(fd, 0, SEEK_END);  // a device such as /dev/full has none
    return new AppendFile{fd, size < 0 ? 0 : size};
}

bool AppendFileWrite(AppendFile* file, const char* data, uint32_t size) {
    uint32_t done = 0;
    while (done < size) {
        const ssize_t n = write(file->fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            const int error = n == 0 ? EIO : errno;
            // The cause is what the user needs; a failed take-back leaves the record's head.
            [[maybe_unused]] const bool undone = done == 0 || ftruncate(file->fd, file->size) == 0;
            errno = error;
            return false;
        }
    }
    file->size += size;
    return true;
}

void AppendFileClose(AppendFile* file) {
    if (file == nullptr) {
        return;
    }
    close(file->fd);
    delete file;
}

}  // namespace platform
