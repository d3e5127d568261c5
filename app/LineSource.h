#pragma once

#include <cstdint>

// Anything that hands out received lines: the serial link, or a test's script.
class LineSource {
public:
    virtual ~LineSource() = default;
    // Copies the next complete line and a NUL into `buffer` (room for `limit` + 1) and returns
    // its length; 0 when there is none.
    virtual uint32_t ReadLine(char* buffer, uint32_t limit) = 0;
};

// Adapts a class with a matching ReadLine, such as SerialLink.
template <class Source>
class LineSourceOf final : public LineSource {
public:
    explicit LineSourceOf(Source& source) : source(source) {}
    uint32_t ReadLine(char* buffer, uint32_t limit) override {
        return source.ReadLine(buffer, limit);
    }

private:
    Source& source;
};
