#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/CommPort.h"
#include "platform/posix/DeviceMap.h"
#include "tests/support/RegistrySandbox.h"

namespace {

namespace fs = std::filesystem;
using platform::CommOpenError;

// COM9 of a private device map, linked to whatever a case needs.
class CommOpenErrorTest : public ::testing::Test {
protected:
    static constexpr int kPort = 9;

    void Link(const std::string& target) {
        platform::posix::DeviceMap map;
        fs::create_directories(map.Directory());
        fs::remove(map.EntryPath(kPort));
        ASSERT_EQ(symlink(target.c_str(), map.EntryPath(kPort).c_str()), 0);
    }
    CommOpenError OpenError() {
        CommOpenError error = CommOpenError::None;
        const platform::CommHandle handle = platform::CommOpen(kPort, 9600, 'N', 8, 1, &error);
        if (handle != platform::kInvalidCommHandle) {
            platform::CommClose(handle);
        }
        return error;
    }

    RegistrySandbox sandbox;  // its own configuration folder, so its own device map
};

TEST_F(CommOpenErrorTest, ClosedPortTellsWhy) {
    ASSERT_TRUE(sandbox.Ready());
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);

    Link(name);
    EXPECT_EQ(OpenError(), CommOpenError::None);

    const int holder = open(name, O_RDWR | O_NOCTTY);  // another program, with its lock
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(OpenError(), CommOpenError::InUse);
    close(holder);

    Link("/nonexistent/ttyUSB9");
    EXPECT_EQ(OpenError(), CommOpenError::NotPresent);
    Link("/dev/null");
    EXPECT_EQ(OpenError(), CommOpenError::LineRefused);
    // Read-only to everyone, root included: what a device outside the user's groups looks like.
    Link("/sys/kernel/notes");
    EXPECT_EQ(OpenError(), CommOpenError::PermissionDenied);
    close(master);
    close(slave);
}

}  // namespace
