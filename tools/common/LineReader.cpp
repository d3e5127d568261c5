#include "tools/common/LineReader.h"

#include <cerrno>
#include <cstring>

LineReader::LineReader(std::FILE* in) : in(in), buffer(new char[kCapacity]) {}

bool LineReader::Fill() {
    if (eof)
        return false;
    if (begin > 0) {
        std::memmove(buffer.get(), buffer.get() + begin, end - begin);
        end -= begin;
        begin = 0;
    }
    errno = 0;
    const size_t got = std::fread(buffer.get() + end, 1, kCapacity - end, in);
    if (std::ferror(in) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;  // the lines read so far are still handed out
    if (got == 0 || error != 0)
        eof = true;
    if (got == 0)
        return false;
    end += got;
    return true;
}

bool LineReader::Next(std::string_view& line) {
    for (;;) {
        const char* start = buffer.get() + begin;
        const void* lf = std::memchr(start, '\n', end - begin);
        if (lf) {
            const size_t length = static_cast<const char*>(lf) - start;
            begin += length + 1;
            if (skipping) {
                skipping = false;
                continue;
            }
            line = std::string_view(start, length);
            endedInLf = true;
            return true;
        }
        if (begin == 0 && end == kCapacity) {
            // No LF in a full buffer: hand out its head once, skip the rest of the line.
            const bool wasSkipping = skipping;
            skipping = true;
            begin = end = 0;
            if (!wasSkipping) {
                line = std::string_view(buffer.get(), kCapacity);
                endedInLf = false;
                return true;
            }
            continue;
        }
        if (!Fill()) {
            if (end > begin && !skipping) {  // last line without LF
                line = std::string_view(buffer.get() + begin, end - begin);
                begin = end;
                endedInLf = false;
                return true;
            }
            return false;
        }
    }
}
