// Linux port map entries that lead to no device, and the retry that waits for one.
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/posix/DeviceMap.h"
#include "serial/SerialLink.h"
#include "tests/support/MonitorPort.h"

namespace {

std::atomic<uint64_t> allocations{0};

SerialLink::Clock::time_point fakeNow = SerialLink::Clock::time_point{} + std::chrono::hours(1);

TEST(AbsentPort, EntriesLeadingNowhereAreNotPresentAndRetriedWithoutAllocating) {
    MonitorPort monitor;
    ASSERT_TRUE(monitor.Make());
    const std::string entry = platform::posix::DeviceMap().EntryPath(8);
    ASSERT_TRUE(MonitorPort::Store("Port Number", 8));
    // A link round in a circle, a folder and nothing are not there; a file is no serial line.
    for (const std::string target : {"com8", ".", "/nowhere", "/dev/null"}) {
        unlink(entry.c_str());
        ASSERT_EQ(symlink(target.c_str(), entry.c_str()), 0);
        SerialLink link;
        link.clock = [] { return fakeNow; };
        EXPECT_EQ(link.openError, target == "/dev/null" ? platform::CommOpenError::LineRefused
                                                        : platform::CommOpenError::NotPresent)
            << target;
        char line[1025];
        for (int second = 0; second < 3; ++second) {
            fakeNow += std::chrono::seconds(1);
            const uint64_t before = allocations;
            EXPECT_EQ(link.ReadLine(line, 1024), 0u);
            EXPECT_EQ(allocations - before, 0u) << target;
        }
        EXPECT_EQ(link.stateChanges, 1u) << "a retry that fails the same way changes nothing shown";
    }
}

}  // namespace

// Out of line, so that the compiler does not pair a new-expression with free().
[[gnu::noinline]] void* operator new(size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
