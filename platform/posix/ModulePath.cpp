#include "platform/ModulePath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace platform {

uint32_t ModuleFileName(char* buffer, uint32_t size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    char path[4096];
    const ssize_t got = readlink("/proc/self/exe", path, sizeof path - 1);
    if (got <= 0 || static_cast<size_t>(got) >= sizeof path - 1) {
        return 0;
    }
    size_t length = static_cast<size_t>(got);
    path[length] = '\0';
    // An executable replaced while running reads as "<path> (deleted)"; it keeps its name.
    constexpr char kDeleted[] = " (deleted)";
    constexpr size_t kDeletedLength = sizeof kDeleted - 1;
    struct stat info;
    if (length > kDeletedLength && std::strcmp(path + length - kDeletedLength, kDeleted) == 0 &&
        lstat(path, &info) != 0) {
        length -= kDeletedLength;
        path[length] = '\0';
    }
    if (length + 1 > size) {
        return 0;
    }
    std::memcpy(buffer, path, length + 1);
    return static_cast<uint32_t>(length);
}

}  // namespace platform
