// Linux port map entries that lead to no device, and the retry that waits for one.
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "serial/SerialLink.h"
#include "tests/support/MonitorPort.h"

namespace {

std::atomic<uint64_t> allocations{0};

SerialLink::Clock::time_point fakeNow = SerialLink::Clock::time_point{} + std::chrono::hours(1);
SerialLink::Clock::time_point FakeClock() {
    return fakeNow;
}

TEST(AbsentPort, EntriesLeadingNowhereAreNotPresentAndRetriedWithoutAllocating) {
    MonitorPort monitor;
    ASSERT_TRUE(monitor.Make());
    const std::string entry =
        std::string(std::getenv("XDG_CONFIG_HOME")) + "/brenlow/dosdevices/com8";
    const std::pair<const char*, platform::CommOpenError> targets[] = {
        {"com8", platform::CommOpenError::NotPresent},  // a link round in a circle
        {".", platform::CommOpenError::NotPresent},     // a folder
        {"/nowhere", platform::CommOpenError::NotPresent},
        {"/dev/null", platform::CommOpenError::LineRefused},
    };
    ASSERT_TRUE(MonitorPort::Store("Port Number", 8));
    for (auto [target, error] : targets) {
        unlink(entry.c_str());
        ASSERT_EQ(symlink(target, entry.c_str()), 0);
        SerialLink link;
        link.clock = &FakeClock;
        EXPECT_EQ(link.openError, error) << target;
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

void* operator new(size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
