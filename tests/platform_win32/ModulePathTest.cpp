#include "platform/ModulePath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(ModulePathTest, GivesTheFullPathOfThisProgram) {
    char path[260];
    const uint32_t length = platform::ModuleFileName(path, sizeof path);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::strlen(path), length);
    const std::string text(path);
    EXPECT_EQ(text.find(':'), 1u) << text;  // drive letter
    EXPECT_NE(text.find("test_win32_platform.exe"), std::string::npos) << text;
}

TEST(ModulePathTest, PathThatDoesNotFitIsAFailure) {
    char path[8];
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(platform::ModuleFileName(path, sizeof path), 0u);
    EXPECT_EQ(path[0], '\0');
}

}  // namespace
