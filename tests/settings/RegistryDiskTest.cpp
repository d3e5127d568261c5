// The Linux registry's file: where it lives, what survives a write, and damage kept aside.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Registry.h"
#include "platform/posix/RegistryStorage.h"
#include "tests/settings/RegistryValues.h"
#include "tests/support/RegistrySandbox.h"

namespace platform {
namespace {

std::string ReadText(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}
class RegistryDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sandbox.Ready());
        path = RegistryStorage::FilePath();
    }
    void Write(const std::string& text) {
        mkdir(RegistryStorage::FolderPath().c_str(), 0700);
        std::ofstream(path, std::ios::binary) << text;
    }
    RegistrySandbox sandbox;
    std::string path;
};

TEST_F(RegistryDiskTest, DamagedFilesAreReadInPartAndKeptAside) {
    const std::string damaged =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\V]\n\"Baud\"=dword:000012c0\n\x01\xff\n\"P\"=dw";
    for (const std::string& text : {damaged, std::string(3 << 20, '\xff')}) {
        Write(text);
        EXPECT_EQ(Raw("Software\\V", "Baud"), text == damaged ? Dword(4800) : RawValue());
        EXPECT_EQ(Raw("Software\\V", "P").first, 0u);
        EXPECT_EQ(ReadText(path), text) << "reading changes nothing";
        ASSERT_EQ(SetDword("Software\\V", "P", 2), kRegSuccess);
        EXPECT_EQ(ReadText(path + ".bad"), text);
        EXPECT_EQ(Raw("Software\\V", "P"), Dword(2));
        EXPECT_EQ(Raw("Software\\V", "Baud"), text == damaged ? Dword(4800) : RawValue())
            << "what could be read is kept";
        ASSERT_EQ(SetDword("Software\\V", "P", 1), kRegSuccess);
        EXPECT_EQ(ReadText(path + ".bad"), text) << "a clean file is not kept again";
    }
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << "a folder where the file should be";
    EXPECT_NE(SetDword("Software\\V", "X", 1), kRegSuccess);
    EXPECT_TRUE(std::filesystem::exists(path + "/."));
    rmdir(path.c_str());
}

}  // namespace
}  // namespace platform
