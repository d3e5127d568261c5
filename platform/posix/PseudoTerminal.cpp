#include "platform/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace platform {

struct PseudoTerminal {
    int master = -1;
    int slave = -1;  // held open so the line is not hung up between readers
};

PseudoTerminal* PseudoTerminalOpen(char* path, uint32_t size) {
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        return nullptr;
    }
    termios tio{};
    const char* name = ttyname(slave);
    const bool ok = name != nullptr && std::strlen(name) < size && tcgetattr(slave, &tio) == 0;
    if (ok) {
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
    }
    const int flags = fcntl(master, F_GETFL);
    if (!ok || flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) {
        close(slave);
        close(master);
        return nullptr;
    }
    std::memcpy(path, name, std::strlen(name) + 1);
    return new PseudoTerminal{master, slave};
}

PseudoTerminalStatus PseudoTerminalWrite(PseudoTerminal* pty, const char* data, uint32_t size,
                                         int timeoutMs, uint32_t* written) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint32_t& done = *written;
    done = 0;
    while (done < size) {
        const ssize_t n = write(pty->master, data + done, size - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return PseudoTerminalStatus::Failed;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return PseudoTerminalStatus::TimedOut;
        }
        pollfd pfd{pty->master, POLLOUT, 0};
        poll(&pfd, 1, static_cast<int>(left.count()));
    }
    return PseudoTerminalStatus::Ok;
}

bool PseudoTerminalDrain(PseudoTerminal* pty, int timeoutMs) {
    for (int waited = 0;; waited += 10) {
        int unread = 0;
        if (ioctl(pty->slave, FIONREAD, &unread) != 0) {
            return false;
        }
        if (unread == 0 || waited >= timeoutMs) {
            return unread == 0;
        }
        usleep(10000);
    }
}

void PseudoTerminalClose(PseudoTerminal* pty) {
    if (pty == nullptr) {
        return;
    }
    close(pty->slave);
    close(pty->master);
    delete pty;
}

}  // namespace platform
