#include "platform/posix/LineTermios.h"

#include <gtest/gtest.h>

#include <tuple>

// A raw line with the settings, or a refusal that leaves the termios alone.
TEST(LineTermios, RawLineOfTheSettingsOrNone) {
    for (auto [baud, parity, dataBits, stopBits, speed, cflags] :
         {std::tuple{19200, 'N', 8, 1, B19200, CS8},
          {4800, 'E', 7, 1, B4800, CS7 | PARENB},
          {38400, 'O', 6, 2, B38400, CS6 | PARENB | PARODD | CSTOPB},
          {9600, 'M', 5, 1, B9600, CS5 | PARENB | PARODD | CMSPAR},
          {115200, 'S', 8, 2, B115200, CS8 | PARENB | CMSPAR | CSTOPB},
          {12345, 'N', 8, 1, B0, 0},
          {9600, 'X', 8, 1, B0, 0},
          {9600, 'N', 4, 1, B0, 0},
          {9600, 'N', 9, 1, B0, 0},
          {9600, 'N', 8, 0, B0, 0},
          {9600, 'N', 8, 3, B0, 0}}) {
        termios t{};
        t.c_iflag = ICRNL | IXON | ISTRIP, t.c_oflag = OPOST, t.c_lflag = ICANON | ECHO | ISIG;
        t.c_cflag = CS8 | CRTSCTS, t.c_cc[VMIN] = 1;
        const bool made = platform::posix::MakeLineTermios(baud, parity, dataBits, stopBits, &t);
        ASSERT_EQ(made, speed != B0) << baud << parity << dataBits << stopBits;
        EXPECT_EQ(cfgetospeed(&t), made ? speed : B0);
        EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CREAD | CRTSCTS),
                  made ? cflags | CREAD : CS8 | CRTSCTS)
            << "refused: left alone";
        EXPECT_EQ(t.c_iflag | t.c_oflag | (t.c_lflag & (ICANON | ECHO | ISIG)) | t.c_cc[VMIN],
                  made ? 0u : ICRNL | IXON | ISTRIP | OPOST | ICANON | ECHO | ISIG | 1u);
    }
}
