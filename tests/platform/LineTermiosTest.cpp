#include "platform/posix/LineTermios.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

termios Cooked() {
    termios t{};
    t.c_iflag = ICRNL | IXON | IXOFF | ISTRIP;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ISIG;
    t.c_cflag = CS8 | CRTSCTS | HUPCL;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    return t;
}

struct Case {
    int32_t baud;
    char parity;
    int dataBits;
    int stopBits;
    speed_t speed;
    tcflag_t cflags;  // size, parity and stop bits expected
};

class LineTermiosTest : public ::testing::TestWithParam<Case> {};

TEST_P(LineTermiosTest, GivesARawLineWithTheSettings) {
    const Case& c = GetParam();
    termios t = Cooked();
    ASSERT_TRUE(platform::posix::MakeLineTermios(c.baud, c.parity, c.dataBits, c.stopBits, &t));
    EXPECT_EQ(cfgetispeed(&t), c.speed);
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), c.cflags);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), CLOCAL | CREAD);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineTermiosTest,
    ::testing::Values(Case{19200, 'N', 8, 1, B19200, CS8},
                      Case{4800, 'E', 7, 1, B4800, CS7 | PARENB},
                      Case{38400, 'O', 6, 2, B38400, CS6 | PARENB | PARODD | CSTOPB},
                      Case{9600, 'M', 5, 1, B9600, CS5 | PARENB | PARODD | CMSPAR},
                      Case{115200, 'S', 8, 2, B115200, CS8 | PARENB | CMSPAR | CSTOPB}));

TEST(LineTermiosRefuses, SettingsWithoutALineAndLeavesTheTermiosAlone) {
    struct Bad {
        int32_t baud;
        char parity;
        int dataBits;
        int stopBits;
    };
    const Bad bad[] = {{12345, 'N', 8, 1}, {0, 'N', 8, 1},     {-9600, 'N', 8, 1},
                       {9600, 'X', 8, 1},  {9600, '\0', 8, 1}, {9600, 'N', 4, 1},
                       {9600, 'N', 9, 1},  {9600, 'N', 8, 0},  {9600, 'N', 8, 3}};
    for (const Bad& b : bad) {
        termios t = Cooked();
        termios before = t;
        EXPECT_FALSE(platform::posix::MakeLineTermios(b.baud, b.parity, b.dataBits, b.stopBits, &t))
            << b.baud << ',' << b.parity << ',' << b.dataBits << ',' << b.stopBits;
        EXPECT_EQ(std::memcmp(&t, &before, sizeof t), 0);
    }
}

}  // namespace
