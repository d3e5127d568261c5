#include "tools/brenlow-dump/LineRecorder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "serial/LineLimit.h"
#include "tools/common/TagBlock.h"

bool LineRecorder::Open(const char* where, bool overwrite) {
    path = where;
    if (path == nullptr)
        return true;
    file = platform::AppendFileCreate(path, overwrite);
    if (file != nullptr)
        return true;
    const int error = errno;
    std::fprintf(stderr, "brenlow-dump: cannot record to %s: %s%s\n", path, std::strerror(error),
                 error == EEXIST ? " (--overwrite replaces it)" : "");
    return false;
}

bool LineRecorder::Write(std::string_view line, int64_t unixMs) {
    char record[kTagBlockSize + kLineLimit];
    char block[kTagBlockSize];
    const size_t head = FormatTagBlock(unixMs, block);
    const size_t length = std::min<size_t>(line.size(), kLineLimit);
    std::memcpy(record, block, head);
    std::memcpy(record + head, line.data(), length);
    if (platform::AppendFileWrite(file, record, static_cast<uint32_t>(head + length)))
        return true;
    std::fprintf(stderr, "brenlow-dump: cannot write %s: %s\n", path, std::strerror(errno));
    return false;
}
