#pragma once

#include <cstdint>

// Fixed-size circular byte store between the port and the consumer of lines. The writer never
// blocks: when it catches up with the oldest held byte, the oldest bytes are dropped.
struct RingBuffer {
    RingBuffer() = default;
    RingBuffer(const RingBuffer&) = delete;
    RingBuffer& operator=(const RingBuffer&) = delete;
    ~RingBuffer() { Release(); }

    static constexpr uint32_t kDefaultSize = 4096;

    // Frees any previous storage; 0 asks for kDefaultSize. Null when no memory could be had.
    char* Allocate(uint32_t requestedSize);
    void Release();
    // Empties the buffer but keeps the storage.
    void Reset();
    // A length of 0 takes `bytes` as a NUL-terminated text.
    void Put(const char* bytes, uint32_t length);
    // Held bytes; `firstRun` receives the length of the part before the wrap, when there is one.
    uint32_t Count(uint32_t* firstRun = nullptr) const;
    // The oldest line up to and including `terminator`, NUL-terminated in `destination`
    // (`limit` + 1 bytes). A longer line gives its last `limit` bytes and is consumed whole.
    // With a nonzero `peek` nothing is consumed.
    uint32_t TakeLine(char* destination, uint32_t limit, char terminator, int peek);
    void Advance(uint32_t n, int peek);

    char* storage = nullptr;
    uint32_t readIndex = 0;  // oldest held byte
    uint32_t lastIndex = 0;  // newest held byte (the byte itself)
    uint32_t size = 0;
    uint32_t count = 0;  // held bytes: tells one byte at index 0 from none

private:
    // Copies `length` held bytes starting `offset` bytes after the oldest one.
    void CopyRange(uint32_t offset, uint32_t length, char* destination) const;
};
