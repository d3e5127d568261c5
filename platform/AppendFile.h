#pragma once

#include <cstdint>

// A file that only grows, one whole record per write, for recordings that must survive the
// program being killed: what was written is in the file, with no buffer of ours in between.
namespace platform {

struct AppendFile;

// Creates `path` for appending. An existing file (also a symbolic link) is refused (errno
// EEXIST) unless `replace`, which empties it. nullptr with errno saying why.
AppendFile* AppendFileCreate(const char* path, bool replace);

// Appends the `size` bytes in one write. A write that stops short (a full disk) is taken back,
// so the file never ends in part of a record; false with errno saying why.
bool AppendFileWrite(AppendFile* file, const char* data, uint32_t size);

void AppendFileClose(AppendFile* file);

}  // namespace platform
