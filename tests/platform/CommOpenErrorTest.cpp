// Why a port did not open, as the port box tells it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "platform/CommPort.h"
#include "platform/posix/DeviceMap.h"
#include "tests/support/RegistrySandbox.h"

TEST(CommOpen, ClosedPortTellsWhy) {
    RegistrySandbox sandbox;  // a private device map
    ASSERT_TRUE(sandbox.Ready());
    int master = -1, slave = -1;
    char name[256];
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    const int holder = open(name, O_RDWR | O_NOCTTY);  // another program, with its lock
    const platform::posix::DeviceMap map;
    std::filesystem::create_directories(map.Directory());
    using E = platform::CommOpenError;
    // Read-only to everyone, root included: what a device outside the user's groups looks like.
    for (auto [target, locked, expected] : {std::tuple<const char*, bool, E>{name, false, E::None},
                                            {name, true, E::InUse},
                                            {"/nonexistent/ttyUSB9", false, E::NotPresent},
                                            {"/dev/null", false, E::LineRefused},
                                            {"/sys/kernel/notes", false, E::PermissionDenied}}) {
        std::filesystem::remove(map.EntryPath(9));
        ASSERT_EQ(symlink(target, map.EntryPath(9).c_str()), 0);
        ASSERT_EQ(flock(holder, locked ? LOCK_EX | LOCK_NB : LOCK_UN), 0);
        E error = E::None;
        const platform::CommHandle handle = platform::CommOpen(9, 9600, 'N', 8, 1, &error);
        EXPECT_EQ(error, expected) << target;
        EXPECT_EQ(handle != platform::kInvalidCommHandle, expected == E::None) << target;
        if (handle != platform::kInvalidCommHandle) {
            platform::CommClose(handle);
        }
    }
    close(holder);
    close(master);
    close(slave);
}
