// The pseudo-terminal brenlow-sim writes into: a write waits for a reader only until its
// deadline. (Bytes through it are followed by the soak test.)
#include <gtest/gtest.h>

#include <string>

#include "platform/PseudoTerminal.h"

TEST(PseudoTerminal, AWriteWaitsForAReaderOnlyUntilItsDeadline) {
    char path[256];
    platform::PseudoTerminal* pty = platform::PseudoTerminalOpen(path, sizeof path);
    ASSERT_NE(pty, nullptr);
    const std::string block(1 << 20, 'x');
    uint32_t written = 0;
    EXPECT_EQ(platform::PseudoTerminalWrite(pty, block.data(), block.size(), 50, &written),
              platform::PseudoTerminalStatus::TimedOut);
    EXPECT_GT(written, 0u);
    EXPECT_FALSE(platform::PseudoTerminalDrain(pty, 10));
    platform::PseudoTerminalClose(pty);
    EXPECT_EQ(platform::PseudoTerminalOpen(path, 4), nullptr) << "a path that does not fit";
}
