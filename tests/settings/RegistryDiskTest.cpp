// The Linux registry's file: where it lives, what survives a write, and damage kept aside.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Registry.h"
#include "platform/posix/RegistryStorage.h"
#include "tests/support/RegistrySandbox.h"

namespace platform {
namespace {

std::string ReadText(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}
bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}
long SetDword(const char* keyPath, const char* name, uint32_t value) {
    RegKey key = nullptr;
    long status = RegistryCreateKey(CurrentUserKey(), keyPath, &key);
    if (status == kRegSuccess) {
        status = RegistrySetDword(key, name, value);
        RegistryCloseKey(key);
    }
    return status;
}
// The DWORD stored there, or 999.
uint32_t GetDword(const char* keyPath, const char* name) {
    RegKey key = nullptr;
    uint32_t value = 999, type = 0, size = 4;
    if (RegistryOpenKey(CurrentUserKey(), keyPath, &key) == kRegSuccess) {
        if (RegistryQueryValue(key, name, &type, reinterpret_cast<uint8_t*>(&value), &size) != 0 ||
            type != kRegTypeDword) {
            value = 999;
        }
        RegistryCloseKey(key);
    }
    return value;
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

TEST_F(RegistryDiskTest, LivesInTheConfigFolderAsRegedit4Text) {
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(path, config + "/brenlow/registry.reg");
    RegKey key = nullptr;
    ASSERT_EQ(RegistryOpenKey(CurrentUserKey(), "Software", &key), kRegSuccess);
    EXPECT_EQ(RegistryOpenKey(key, "Veltmark", &key), kRegNotFound) << "only Software at first";
    EXPECT_FALSE(Exists(path));
    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Baud Rate", 19200), kRegSuccess);
    EXPECT_EQ(ReadText(path),
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\n"
              "\"Baud Rate\"=dword:00004b00\n");
}

TEST_F(RegistryDiskTest, WritesKeepEverythingElse) {
    Write(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Elsewhere]\n\"Name\"=\"Caf\xe9 \\\"q\\\"\"\n\n"
        "[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\n"
        "\"Port Number\"=dword:00000005\n\"Window\"=hex:01,02,03,04,05\n@=\"unit\"\n");
    RegKey key = nullptr;
    ASSERT_EQ(RegistryCreateKey(CurrentUserKey(), "Software\\Veltmark\\Empty", &key), kRegSuccess);
    RegistryCloseKey(key);
    ASSERT_EQ(SetDword("software\\VELTMARK\\brenlow\\ais unit", "PORT NUMBER", 6), kRegSuccess);
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Port Number"), 6u);
    const std::string text = ReadText(path);
    for (const char* kept :
         {"\"Name\"=\"Caf\xe9 \\\"q\\\"\"\n", "\"Window\"=hex:01,02,03,04,05\n", "@=\"unit\"\n",
          "[HKEY_CURRENT_USER\\Software\\Veltmark\\Empty]\n", "\"Port Number\"=dword:00000006\n"}) {
        EXPECT_NE(text.find(kept), std::string::npos) << kept;
    }
    ASSERT_EQ(RegistryCreateKey(CurrentUserKey(), "Software\\A", &key), kRegSuccess);
    EXPECT_NE(RegistrySetDword(key, "two\nlines", 1), kRegSuccess) << "names the text cannot hold";
    RegistryCloseKey(key);
    EXPECT_NE(RegistryCreateKey(CurrentUserKey(), "Software\\A]\n[B", &key), kRegSuccess);
}

TEST_F(RegistryDiskTest, DamagedFilesAreReadInPartAndKeptAside) {
    const std::string damaged =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\V]\n\"Baud\"=dword:000012c0\n\x01\xff\n\"P\"=dw";
    for (const std::string& text : {damaged, std::string(3 << 20, '\xff')}) {
        Write(text);
        EXPECT_EQ(GetDword("Software\\V", "Baud"), text == damaged ? 4800u : 999u);
        EXPECT_EQ(GetDword("Software\\V", "P"), 999u);
        EXPECT_EQ(ReadText(path), text) << "reading changes nothing";
        ASSERT_EQ(SetDword("Software\\V", "P", 2), kRegSuccess);
        EXPECT_EQ(ReadText(path + ".bad"), text);
        EXPECT_EQ(GetDword("Software\\V", "P"), 2u);
        ASSERT_EQ(SetDword("Software\\V", "P", 1), kRegSuccess);
        EXPECT_EQ(ReadText(path + ".bad"), text) << "a clean file is not kept again";
    }
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << "a folder where the file should be";
    EXPECT_NE(SetDword("Software\\V", "X", 1), kRegSuccess);
    EXPECT_TRUE(Exists(path + "/."));
    rmdir(path.c_str());
}

TEST_F(RegistryDiskTest, ConcurrentWritersLoseNothing) {
    pid_t children[4];
    for (int w = 0; w < 4; ++w) {
        if ((children[w] = fork()) == 0) {
            int failures = 0;
            for (int v = 0; v < 15; ++v) {
                const std::string name = "W" + std::to_string(w) + "V" + std::to_string(v);
                failures += SetDword("Software\\Race", name.c_str(), v) != kRegSuccess;
            }
            _exit(failures);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < 4; ++w) {
        for (int v = 0; v < 15; ++v) {
            const std::string name = "W" + std::to_string(w) + "V" + std::to_string(v);
            EXPECT_EQ(GetDword("Software\\Race", name.c_str()), uint32_t(v)) << name;
        }
    }
}

}  // namespace
}  // namespace platform
