#include "platform/AppendFile.h"

#include <windows.h>

#include <cerrno>

namespace platform {

struct AppendFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    LARGE_INTEGER size{};  // what the file held after the last whole record
};

namespace {

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
            return ENOENT;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

}  // namespace

AppendFile* AppendFileCreate(const char* path, bool replace) {
    // No other writer is let in, so the file pointer stays at the end of what we wrote.
    const HANDLE handle =
        CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    replace ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(GetLastError());
        return nullptr;
    }
    auto* file = new AppendFile{handle, {}};
    GetFileSizeEx(handle, &file->size);
    return file;
}

bool AppendFileWrite(AppendFile* file, const char* data, uint32_t size) {
    DWORD written = 0;
    if (WriteFile(file->handle, data, size, &written, nullptr) && written == size) {
        file->size.QuadPart += size;
        return true;
    }
    const DWORD error = GetLastError();
    if (written > 0 && SetFilePointerEx(file->handle, file->size, nullptr, FILE_BEGIN)) {
        SetEndOfFile(file->handle);
    }
    errno = ErrnoOf(error == ERROR_SUCCESS ? ERROR_HANDLE_DISK_FULL : error);
    return false;
}

void AppendFileClose(AppendFile* file) {
    if (file == nullptr) {
        return;
    }
    CloseHandle(file->handle);
    delete file;
}

}  // namespace platform
