#include "platform/posix/LineTermios.h"

#include <cstddef>

namespace platform::posix {

namespace {

struct Speed {
    int32_t rate;
    speed_t code;
};

constexpr Speed kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

struct Parity {
    char letter;
    tcflag_t flags;
};

constexpr Parity kParities[] = {
    {'N', 0},
    {'O', PARENB | PARODD},
    {'E', PARENB},
    {'M', PARENB | CMSPAR | PARODD},
    {'S', PARENB | CMSPAR},
};

constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};

// The row whose `key` is `value` (keys are unique), or nullptr.
template <typename Row, typename Key, size_t N>
const Row* FindRow(const Row (&rows)[N], Key Row::*key, Key value) {
    for (const Row& row : rows) {
        if (row.*key == value) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

bool MakeLineTermios(int32_t baudRate, char parityLetter, int dataBits, int stopBits, termios* t) {
    const Speed* speed = FindRow(kSpeeds, &Speed::rate, baudRate);
    const Parity* parity = FindRow(kParities, &Parity::letter, parityLetter);
    if (speed == nullptr || parity == nullptr || dataBits < 5 || dataBits > 8 ||
        (stopBits != 1 && stopBits != 2)) {
        return false;
    }
    termios line = *t;
    cfmakeraw(&line);
    line.c_iflag &= ~(IXON | IXOFF | IXANY);
    line.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    line.c_cflag |= CLOCAL | CREAD | kSizes[dataBits - 5] | parity->flags;
    if (stopBits == 2) {
        line.c_cflag |= CSTOPB;
    }
    line.c_cc[VMIN] = 0;
    line.c_cc[VTIME] = 0;
    if (cfsetispeed(&line, speed->code) != 0 || cfsetospeed(&line, speed->code) != 0) {
        return false;
    }
    *t = line;
    return true;
}

}  // namespace platform::posix
