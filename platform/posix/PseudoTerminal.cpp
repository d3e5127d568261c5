#include "platform/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace platform {

struct PseudoTerminal {
    int master = -1;
    int slave = -1;  // held open so the line is not hung up between readers
    int watch = -1;  // inotify on the device: other processes opening and closing it
    int others = 0;  // open descriptions of the device besides ours; -1 when not known
};

namespace {

constexpr int kCheckMs = 5;
constexpr int kSettledChecks = 10;
// The kernel's worker that moves written bytes to the reader's side can be held up for tens of
// milliseconds on a busy machine: the reader's side must stay empty this long, too.
constexpr auto kSettled = std::chrono::milliseconds(300);

// Takes in the opens and closes seen since the last call.
void CountOthers(PseudoTerminal* pty) {
    alignas(inotify_event) char events[4096];
    while (pty->others >= 0) {
        const ssize_t n = read(pty->watch, events, sizeof events);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            pty->others = n < 0 && errno == EAGAIN ? pty->others : -1;
            return;
        }
        for (ssize_t at = 0; at < n && pty->others >= 0;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if ((event->mask & IN_Q_OVERFLOW) != 0) {
                pty->others = -1;
            } else {
                pty->others += (event->mask & IN_OPEN) != 0 ? 1 : 0;
                pty->others -= (event->mask & IN_CLOSE) != 0 ? 1 : 0;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

// Bytes on the reader's side (-1: not known) and whether another process has the device
// open. False on failure.
bool Probe(PseudoTerminal* pty, int& unread, bool& held) {
    CountOthers(pty);
    if (pty->others >= 0) {
        held = pty->others > 0;
        return ioctl(pty->slave, FIONREAD, &unread) == 0;
    }
    // Without the count: the master hangs up while nobody has the device open, which our own
    // hold would hide.
    char path[256];
    if (ptsname_r(pty->master, path, sizeof path) != 0) {
        return false;
    }
    if (pty->slave >= 0) {
        close(pty->slave);
        pty->slave = -1;
    }
    const int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0 && errno != EBUSY) {
        return false;
    }
    unread = -1;
    if (fd >= 0) {
        if (ioctl(fd, FIONREAD, &unread) != 0) {
            unread = -1;
        }
        close(fd);
    }
    pollfd pfd{pty->master, POLLIN, 0};
    held = fd < 0 || (poll(&pfd, 1, 0) >= 0 && (pfd.revents & POLLHUP) == 0);  // EBUSY: held
    return true;
}

}  // namespace

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
        const int error = name != nullptr && std::strlen(name) >= size ? ENAMETOOLONG : errno;
        close(slave);
        close(master);
        errno = error;
        return nullptr;
    }
    std::memcpy(path, name, std::strlen(name) + 1);
    // Without inotify (all instances taken) the drain finds the reader another way.
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const bool watching = watch >= 0 && inotify_add_watch(watch, path, IN_OPEN | IN_CLOSE) >= 0;
    return new PseudoTerminal{master, slave, watch, watching ? 0 : -1};
}

PseudoTerminalStatus PseudoTerminalWrite(PseudoTerminal* pty, const char* data, uint32_t size,
                                         int timeoutMs, uint32_t* written) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint32_t& done = *written;
    done = 0;
    CountOthers(pty);  // before the events pile up
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

PseudoTerminalStatus PseudoTerminalDrain(PseudoTerminal* pty, int timeoutMs, int aloneMs,
                                         const volatile std::sig_atomic_t* stop) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto lastHeld = start;
    auto emptySince = start;
    int settled = 0;
    for (;;) {
        if (*stop != 0) {
            return PseudoTerminalStatus::Stopped;
        }
        int unread = -1;
        bool held = true;
        if (!Probe(pty, unread, held)) {
            return PseudoTerminalStatus::Failed;
        }
        // The kernel moves written bytes to the reader's side in the background, so an empty
        // reader's side counts only when it stays empty for a while.
        const auto now = Clock::now();
        settled = unread == 0 ? settled + 1 : 0;
        if (settled == 1) {
            emptySince = now;
        }
        if (settled >= kSettledChecks && now - emptySince >= kSettled) {
            return PseudoTerminalStatus::Ok;
        }
        if (held) {
            lastHeld = now;
        } else if (now - lastHeld >= std::chrono::milliseconds(aloneMs)) {
            return PseudoTerminalStatus::Gone;
        }
        if (timeoutMs >= 0 && now - start >= std::chrono::milliseconds(timeoutMs)) {
            return PseudoTerminalStatus::TimedOut;
        }
        usleep(kCheckMs * 1000);
    }
}

void PseudoTerminalClose(PseudoTerminal* pty) {
    if (pty == nullptr) {
        return;
    }
    if (pty->slave >= 0) {
        close(pty->slave);
    }
    if (pty->watch >= 0) {
        close(pty->watch);
    }
    close(pty->master);
    delete pty;
}

}  // namespace platform
