#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// A serial port for tests, which the code under test opens as COM `number`: the test writes
// the bytes a receiver would send into it. Created after the per-test configuration location
// is set, since that is where the port is mapped.
class TestPort {
public:
    // The line as the device side sees it. Pseudo-terminals keep only these two settings
    // (the kernel forces 8 data bits without parity on them).
    struct Line {
        int32_t baudRate;
        bool twoStopBits;
    };

    // `number` is 7 or more. Ok() is false when no port could be made.
    explicit TestPort(int number);
    ~TestPort();  // not copied: it owns the device

    bool Ok() const;
    bool Write(const void* bytes, size_t length);

    // The device vanishes as an unplugged USB receiver does (false where the fixture cannot
    // do that); Replug brings a new one under the same number.
    bool Unplug();
    bool Replug();
    // Whether a second open of an open port is refused.
    bool SupportsExclusive() const;
    // False when the fixture cannot see the line settings.
    bool LineSettings(Line* line) const;

    // A port that port discovery lists but whose device is no serial port, so that opening
    // it fails; 0 when this platform's fixture has none. Made before the port list is built.
    static int BrokenPort();

private:
    struct Impl;
    int number_;
    std::unique_ptr<Impl> impl_;
};
