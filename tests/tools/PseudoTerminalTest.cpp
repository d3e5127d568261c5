// The pseudo-terminal brenlow-sim writes into: a write waits for a reader only until its
// deadline, and the drain before closing only while a reader may still take what is left.
// (Readers in other processes: ToolRunTest.)
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "platform/PseudoTerminal.h"

using namespace platform;
using enum PseudoTerminalStatus;

// With only the terminal's own two descriptors free, it finds its readers without inotify.
static PseudoTerminal* OpenWithoutInotify(char* path, uint32_t size) {
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    const rlimit low{std::min<rlim_t>(saved.rlim_cur, 256), saved.rlim_max};
    setrlimit(RLIMIT_NOFILE, &low);
    std::vector<int> taken;
    for (int fd; (fd = dup(0)) >= 0;)
        taken.push_back(fd);
    for (int i = 0; i < 2 && !taken.empty(); ++i, taken.pop_back())
        close(taken.back());
    PseudoTerminal* pty = PseudoTerminalOpen(path, size);
    for (int fd : taken)
        close(fd);
    setrlimit(RLIMIT_NOFILE, &saved);
    return pty;
}

TEST(PseudoTerminal, WritesAndTheDrainWaitOnlyWhileThatCanHelp) {
    for (const bool inotify : {true, false}) {
        SCOPED_TRACE(inotify ? "inotify" : "without inotify");
        char path[256];
        auto* pty = (inotify ? PseudoTerminalOpen : OpenWithoutInotify)(path, sizeof path);
        ASSERT_NE(pty, nullptr);
        const std::string block(1 << 20, 'x');
        uint32_t written = 0;
        EXPECT_EQ(PseudoTerminalWrite(pty, block.data(), block.size(), 50, &written), TimedOut);
        EXPECT_GT(written, 0u);
        const int reader = open(path, O_RDONLY | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
        volatile std::sig_atomic_t stop = 0;
        EXPECT_EQ(PseudoTerminalDrain(pty, 30, 10000, &stop), TimedOut)
            << "a reader that takes nothing";
        stop = 1;
        EXPECT_EQ(PseudoTerminalDrain(pty, -1, 10000, &stop), Stopped);
        stop = 0;
        char buffer[65536];
        uint32_t taken = 0;
        for (int i = 0; i < 1000 && taken < written; ++i) {
            const ssize_t n = read(reader, buffer, sizeof buffer);
            taken += n > 0 ? static_cast<uint32_t>(n) : 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(n > 0 ? 0 : 1));
        }
        EXPECT_EQ(taken, written);
        EXPECT_EQ(PseudoTerminalDrain(pty, 5000, 10000, &stop), Ok);
        EXPECT_EQ(PseudoTerminalWrite(pty, "left\n", 5, 50, &written), Ok);
        close(reader);
        EXPECT_EQ(PseudoTerminalDrain(pty, 5000, 20, &stop), Gone)
            << "the reader has gone with bytes left";
        PseudoTerminalClose(pty);
    }
    char path[256];
    EXPECT_EQ(PseudoTerminalOpen(path, 4), nullptr) << "a path that does not fit";
    EXPECT_EQ(errno, ENAMETOOLONG);
}
