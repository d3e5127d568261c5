#include "serial/ListComPorts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<unsigned> Parse(const std::string& list) {
    std::vector<unsigned> ports;
    AppendComPortNames(list.data(), static_cast<unsigned>(list.size()), ports);
    return ports;
}

TEST(ComPortNames, KeepsComNamesInListOrder) {
    EXPECT_THAT(Parse(std::string("COM1\0LPT1\0COM10\0com3\0COM\0\0", 27)),
                ElementsAre(1u, 10u, 3u));
}

TEST(ComPortNames, NameWithoutDigitsGivesZero) {
    EXPECT_THAT(Parse(std::string("COMX\0cOm7a\0\0", 12)), ElementsAre(0u, 7u));
}

TEST(ComPortNames, EmptyListGivesNothing) {
    EXPECT_THAT(Parse(std::string("\0", 1)), IsEmpty());
}

TEST(ComPortNames, UnterminatedNameIsNotRead) {
    EXPECT_THAT(Parse(std::string("COM4\0COM5", 9)), ElementsAre(4u));
}

TEST(ComPortNames, NamesAfterTheListEndAreIgnored) {
    EXPECT_THAT(Parse(std::string("COM2\0\0COM9\0\0", 12)), ElementsAre(2u));
}

}  // namespace
