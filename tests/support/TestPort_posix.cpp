#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "TestPort.h"
#include "platform/posix/DeviceMap.h"

namespace {

constexpr std::pair<speed_t, int32_t> kSpeeds[] = {{B4800, 4800}, {B19200, 19200}, {B38400, 38400}};

// Makes COM `number` of the device map lead to `device`: its entry, "" when that fails.
std::string Map(int number, const char* device) {
    platform::posix::DeviceMap map;
    std::error_code error;
    std::filesystem::create_directories(map.Directory(), error);
    const std::string entry = map.EntryPath(number);
    unlink(entry.c_str());
    return symlink(device, entry.c_str()) == 0 ? entry : "";
}

}  // namespace

// A pseudo-terminal: the code under test opens the slave through the device map, the test
// writes on the master. The fixture keeps its own slave descriptor to see the line settings.
struct TestPort::Impl {
    int master = -1, slave = -1;
    std::string entry;

    // Nothing is left open when it fails.
    bool Make(int number) {
        termios raw{};
        cfmakeraw(&raw);
        char tty[256];
        if (openpty(&master, &slave, tty, &raw, nullptr) < 0 || (entry = Map(number, tty)).empty())
            Drop();
        return master >= 0;
    }

    void Drop() {
        close(master);  // -1 when not open: no harm
        close(slave);
        master = slave = -1;
    }
    ~Impl() { Drop(); }
};

TestPort::TestPort(int number) : number_(number), impl_(std::make_unique<Impl>()) {
    impl_->Make(number);
}

TestPort::~TestPort() = default;

bool TestPort::Ok() const {
    return impl_->master >= 0;
}

bool TestPort::Write(const void* bytes, size_t length) {
    return write(impl_->master, bytes, length) == static_cast<ssize_t>(length);
}

bool TestPort::Unplug() {
    impl_->Drop();
    // The device goes with its name: a parallel test's new pseudo-terminal may get the number.
    unlink(impl_->entry.c_str());
    return true;
}

bool TestPort::Replug() {
    return impl_->Make(number_);
}

bool TestPort::SupportsExclusive() const {
    return true;
}

bool TestPort::LineSettings(Line* line) const {
    termios t;
    if (tcgetattr(impl_->slave, &t) != 0)
        return false;
    *line = {0, (t.c_cflag & CSTOPB) != 0};  // 0: a rate the table does not hold
    for (auto [code, rate] : kSpeeds)
        line->baudRate = code == cfgetispeed(&t) && code == cfgetospeed(&t) ? rate : line->baudRate;
    return true;
}

int TestPort::BrokenPort() {
    return Map(13, "/dev/null").empty() ? 0 : 13;
}
