#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "platform/PseudoTerminal.h"

namespace {

TEST(PseudoTerminal, BytesArriveUnchangedAtTheDevicePath) {
    char path[256];
    platform::PseudoTerminal* pty = platform::PseudoTerminalOpen(path, sizeof path);
    ASSERT_NE(pty, nullptr);
    const int fd = open(path, O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << path;
    const std::string sent = std::string("!AIVDM,1,1,,A,1,0*00\r\n\0\xB0\n", 25);
    uint32_t written = 0;
    ASSERT_EQ(platform::PseudoTerminalWrite(pty, sent.data(), sent.size(), 1000, &written),
              platform::PseudoTerminalStatus::Ok);
    EXPECT_EQ(written, sent.size());
    std::string got;
    char buffer[64];
    for (int tries = 0; tries < 200 && got.size() < sent.size(); ++tries) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, static_cast<size_t>(n));
        } else {
            usleep(5000);
        }
    }
    EXPECT_EQ(got, sent);
    EXPECT_TRUE(platform::PseudoTerminalDrain(pty, 0));
    close(fd);
    platform::PseudoTerminalClose(pty);
}

TEST(PseudoTerminal, WritingStopsAtTheDeadlineWhenNobodyReads) {
    char path[256];
    platform::PseudoTerminal* pty = platform::PseudoTerminalOpen(path, sizeof path);
    ASSERT_NE(pty, nullptr);
    const std::string block(1 << 20, 'x');
    uint32_t written = 0;
    EXPECT_EQ(platform::PseudoTerminalWrite(pty, block.data(), block.size(), 50, &written),
              platform::PseudoTerminalStatus::TimedOut);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, block.size());
    EXPECT_FALSE(platform::PseudoTerminalDrain(pty, 20));
    platform::PseudoTerminalClose(pty);
}

TEST(PseudoTerminal, PathThatDoesNotFitIsAFailure) {
    char path[4];
    EXPECT_EQ(platform::PseudoTerminalOpen(path, sizeof path), nullptr);
}

}  // namespace
