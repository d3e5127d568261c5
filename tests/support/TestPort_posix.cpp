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

}  // namespace

// A pseudo-terminal: the code under test opens the slave through the device map, the test
// writes on the master. The fixture keeps its own slave descriptor to see the line settings.
struct TestPort::Impl {
    int master = -1;
    int slave = -1;
    std::string entry;

    bool Make(int number) {
        termios raw{};
        cfmakeraw(&raw);
        char name[256];
        if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
            return false;
        }
        platform::posix::DeviceMap map;
        std::error_code error;
        std::filesystem::create_directories(map.Directory(), error);
        entry = map.EntryPath(number);
        unlink(entry.c_str());
        return symlink(name, entry.c_str()) == 0;
    }

    void Drop() {
        if (master >= 0) {
            close(master);
        }
        if (slave >= 0) {
            close(slave);
        }
        master = slave = -1;
    }
};

TestPort::TestPort(int number) : number_(number), impl_(std::make_unique<Impl>()) {
    if (!impl_->Make(number)) {
        impl_->Drop();
    }
}

TestPort::~TestPort() {
    impl_->Drop();
}

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
    if (!impl_->Make(number_)) {
        impl_->Drop();
        return false;
    }
    return true;
}

bool TestPort::SupportsExclusive() const {
    return true;
}

bool TestPort::LineSettings(Line* line) const {
    termios t;
    if (tcgetattr(impl_->slave, &t) != 0) {
        return false;
    }
    line->baudRate = 0;
    for (auto [code, rate] : kSpeeds) {
        if (code == cfgetispeed(&t) && code == cfgetospeed(&t)) {
            line->baudRate = rate;
        }
    }
    line->twoStopBits = (t.c_cflag & CSTOPB) != 0;
    return true;
}

int TestPort::BrokenPort() {
    constexpr int kNumber = 13;
    platform::posix::DeviceMap map;
    std::error_code error;
    std::filesystem::create_directories(map.Directory(), error);
    const std::string entry = map.EntryPath(kNumber);
    unlink(entry.c_str());
    return symlink("/dev/null", entry.c_str()) == 0 ? kNumber : 0;
}
