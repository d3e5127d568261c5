#include "serial/ListComPorts.h"

#include <gtest/gtest.h>

#include <string>

TEST(ComPortNames, ComNamesOfTheListInOrder) {
    const std::pair<std::string, std::vector<unsigned>> cases[] = {
        {std::string("COM1\0LPT1\0COM10\0com3\0COM\0\0", 27), {1, 10, 3}},
        {std::string("COMX\0cOm7a\0\0", 12), {0, 7}},
        {std::string("COM4\0COM5", 9), {4}},  // an unterminated name is not read, nor what follows
        {std::string("COM2\0\0COM9\0\0", 12), {2}},
        {std::string("\0", 1), {}}};
    for (const auto& [list, expected] : cases) {
        std::vector<unsigned> ports;
        const std::string beyond = list + "7";  // a byte past the list's end
        AppendComPortNames(beyond.data(), static_cast<unsigned>(list.size()), ports);
        EXPECT_EQ(ports, expected) << list;
    }
}
