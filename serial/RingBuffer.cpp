#include "serial/RingBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

char* RingBuffer::Allocate(uint32_t requestedSize) {
    Release();
    if (requestedSize == 0) {
        requestedSize = kDefaultSize;
    }
    storage = static_cast<char*>(std::calloc(requestedSize, 1));
    if (storage != nullptr) {
        size = requestedSize;
    }
    return storage;
}

void RingBuffer::Release() {
    std::free(storage);
    storage = nullptr;
    size = 0;
    Reset();
}

void RingBuffer::Reset() {
    readIndex = 0;
    lastIndex = 0;
    count = 0;
}

void RingBuffer::Put(const char* bytes, uint32_t length) {
    if (length == 0 && bytes != nullptr) {
        length = static_cast<uint32_t>(std::strlen(bytes));
    }
    if (storage == nullptr || bytes == nullptr || length == 0) {
        return;
    }
    length = std::min(length, size);
    uint32_t start = 0;
    if (count > 0) {
        start = lastIndex + 1 == size ? 0 : lastIndex + 1;
    } else {
        readIndex = 0;
    }
    uint32_t room = size - start;
    uint32_t head = std::min(length, room);
    std::memcpy(storage + start, bytes, head);
    std::memcpy(storage, bytes + head, length - head);
    lastIndex = (start + length - 1) % size;
    count = std::min(count + length, size);
    if (count == size) {  // full: the oldest byte is the one after the newest
        readIndex = lastIndex + 1 == size ? 0 : lastIndex + 1;
    }
}

uint32_t RingBuffer::Count(uint32_t* firstRun) const {
    if (count > size - readIndex && firstRun != nullptr) {
        *firstRun = size - readIndex;
    }
    return count;
}

void RingBuffer::CopyRange(uint32_t offset, uint32_t length, char* destination) const {
    uint32_t from = (readIndex + offset) % size;
    uint32_t head = std::min(length, size - from);
    std::memcpy(destination, storage + from, head);
    std::memcpy(destination + head, storage, length - head);
}

uint32_t RingBuffer::TakeLine(char* destination, uint32_t limit, char terminator, int peek) {
    destination[0] = '\0';
    if (storage == nullptr || size == 0 || count == 0) {
        return 0;
    }
    if (limit == 0 || limit > size) {
        limit = size;
    }
    uint32_t lineLength = count;
    if (terminator != '\0') {
        uint32_t firstRun = std::min(count, size - readIndex);
        const char* runs[2] = {storage + readIndex, storage};
        uint32_t lengths[2] = {firstRun, count - firstRun};
        const void* found = std::memchr(runs[0], terminator, lengths[0]);
        if (found != nullptr) {
            lineLength = static_cast<uint32_t>(static_cast<const char*>(found) - runs[0]) + 1;
        } else if ((found = std::memchr(runs[1], terminator, lengths[1])) != nullptr) {
            lineLength =
                firstRun + static_cast<uint32_t>(static_cast<const char*>(found) - runs[1]) + 1;
        } else {
            return 0;
        }
    }
    // A line longer than the limit gives its tail and goes whole; without a terminator the
    // oldest bytes go, and only those.
    const uint32_t resultLength = std::min(lineLength, limit);
    const bool cut = terminator != '\0';
    CopyRange(cut ? lineLength - resultLength : 0, resultLength, destination);
    destination[resultLength] = '\0';
    Advance(cut ? lineLength : resultLength, peek);
    return resultLength;
}

void RingBuffer::Advance(uint32_t n, int peek) {
    if (peek != 0) {
        return;
    }
    if (n >= count) {
        Reset();
        return;
    }
    readIndex = (readIndex + n) % size;
    count -= n;
}
