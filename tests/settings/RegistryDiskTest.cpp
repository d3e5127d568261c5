#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Registry.h"
#include "platform/posix/RegistryFile.h"
#include "platform/posix/RegistryStorage.h"
#include "tests/support/RegistrySandbox.h"

namespace platform {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

void WriteText(const std::string& path, const std::string& text) {
    mkdir(RegistryStorage::FolderPath().c_str(), 0700);
    std::ofstream(path, std::ios::binary) << text;
}

// Creates the key below HKEY_CURRENT_USER and stores one DWORD in it.
long SetDword(const char* keyPath, const char* name, uint32_t value) {
    RegKey key = nullptr;
    long status = RegistryCreateKey(CurrentUserKey(), keyPath, &key);
    if (status != kRegSuccess) {
        return status;
    }
    status = RegistrySetDword(key, name, value);
    RegistryCloseKey(key);
    return status;
}

// The DWORD stored there, or `missing`.
uint32_t GetDword(const char* keyPath, const char* name, uint32_t missing) {
    RegKey key = nullptr;
    if (RegistryOpenKey(CurrentUserKey(), keyPath, &key) != kRegSuccess) {
        return missing;
    }
    uint8_t bytes[4] = {};
    uint32_t type = 0;
    uint32_t size = sizeof bytes;
    const long status = RegistryQueryValue(key, name, &type, bytes, &size);
    RegistryCloseKey(key);
    if (status != kRegSuccess || type != kRegTypeDword || size != 4) {
        return missing;
    }
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

class RegistryDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sandbox.Ready());
        path = RegistryStorage::FilePath();
    }

    RegistrySandbox sandbox;
    std::string path;
};

TEST_F(RegistryDiskTest, LivesInTheConfigFolder) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(path, std::string(config) + "/brenlow/registry.reg");

    const std::string home = std::string(config) + "/home";
    const char* savedHome = std::getenv("HOME");
    const std::string saved = savedHome != nullptr ? savedHome : "";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    EXPECT_EQ(RegistryStorage::FilePath(), home + "/.config/brenlow/registry.reg");
    unsetenv("XDG_CONFIG_HOME");
    mkdir(home.c_str(), 0700);
    EXPECT_EQ(SetDword("Software\\Veltmark", "X", 1), kRegSuccess);
    EXPECT_TRUE(Exists(home + "/.config/brenlow/registry.reg"));
    setenv("HOME", saved.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config, 1);
}

TEST_F(RegistryDiskTest, WritesRegedit4Text) {
    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Baud Rate", 19200), kRegSuccess);
    EXPECT_EQ(ReadText(path),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\n"
              "\"Baud Rate\"=dword:00004b00\n");
    EXPECT_FALSE(Exists(path + ".bad"));
}

TEST_F(RegistryDiskTest, OnlySoftwareExistsAtFirst) {
    RegKey key = nullptr;
    ASSERT_EQ(RegistryOpenKey(CurrentUserKey(), "Software", &key), kRegSuccess);
    RegKey below = nullptr;
    EXPECT_EQ(RegistryOpenKey(key, "Veltmark", &below), kRegNotFound);
    EXPECT_EQ(RegistryCloseKey(key), kRegSuccess);
    EXPECT_FALSE(Exists(path));
}

TEST_F(RegistryDiskTest, KeysAreCaseInsensitive) {
    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow", "Port Number", 3), kRegSuccess);
    EXPECT_EQ(GetDword("SOFTWARE\\veltmark\\BRENLOW", "port number", 0), 3u);
    ASSERT_EQ(SetDword("software\\VELTMARK\\brenlow", "PORT NUMBER", 4), kRegSuccess);
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow", "Port Number", 0), 4u);
    RegistryFile file;
    ASSERT_TRUE(file.Parse(ReadText(path)));
    EXPECT_EQ(file.Keys().size(), 1u);
}

TEST_F(RegistryDiskTest, CreatedKeysWithoutValuesSurviveLaterWrites) {
    RegKey key = nullptr;
    ASSERT_EQ(RegistryCreateKey(CurrentUserKey(), "Software\\Veltmark\\Empty", &key), kRegSuccess);
    RegistryCloseKey(key);
    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow", "X", 1), kRegSuccess);

    ASSERT_EQ(RegistryOpenKey(CurrentUserKey(), "Software\\Veltmark\\Empty", &key), kRegSuccess);
    RegistryCloseKey(key);
    EXPECT_NE(ReadText(path).find("[HKEY_CURRENT_USER\\Software\\Veltmark\\Empty]\n"),
              std::string::npos);
}

TEST_F(RegistryDiskTest, OtherKeysAndValuesSurviveWrites) {
    const std::string others =
        "REGEDIT4\n\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Elsewhere]\n"
        "\"Name\"=\"Caf\xe9 \\\"quoted\\\"\"\n\n"
        "[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\n"
        "\"Port Number\"=dword:00000005\n"
        "\"Window\"=hex:01,02,03,04,05,06,07,08\n"
        "@=\"unit\"\n";
    WriteText(path, others);
    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Baud Rate", 4800), kRegSuccess);
    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Port Number", 6), kRegSuccess);

    RegistryFile before;
    ASSERT_TRUE(before.Parse(others));
    RegistryFile after;
    ASSERT_TRUE(after.Parse(ReadText(path)));
    const RegistryKey* elsewhere = after.FindKey("HKEY_LOCAL_MACHINE\\Software\\Elsewhere");
    ASSERT_NE(elsewhere, nullptr);
    EXPECT_EQ(elsewhere->values[0].data, before.Keys()[0].values[0].data);
    const RegistryKey* unit =
        after.FindKey("HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(RegistryFile::FindValue(*unit, "Window")->data,
              RegistryFile::FindValue(before.Keys()[1], "Window")->data);
    EXPECT_NE(RegistryFile::FindValue(*unit, ""), nullptr);
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Port Number", 0), 6u);
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Baud Rate", 0), 4800u);
}

TEST_F(RegistryDiskTest, QueryReportsTypeAndSizeAndMoreData) {
    WriteText(path, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n\"Blob\"=hex:01,02,03,04,05\n");
    RegKey key = nullptr;
    ASSERT_EQ(RegistryOpenKey(CurrentUserKey(), "Software\\A", &key), kRegSuccess);
    uint8_t bytes[4] = {9, 9, 9, 9};
    uint32_t type = 0;
    uint32_t size = sizeof bytes;
    EXPECT_EQ(RegistryQueryValue(key, "Blob", &type, bytes, &size), kRegMoreData);
    EXPECT_EQ(type, kRegTypeBinary);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(bytes[0], 9);

    size = 0;
    EXPECT_EQ(RegistryQueryValue(key, "Blob", &type, nullptr, &size), kRegSuccess);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(RegistryQueryValue(key, "Missing", &type, bytes, &size), kRegNotFound);
    RegistryCloseKey(key);
}

TEST_F(RegistryDiskTest, HandlesHaveTheAccessTheyWereOpenedWith) {
    ASSERT_EQ(SetDword("Software\\A", "X", 1), kRegSuccess);
    RegKey reading = nullptr;
    ASSERT_EQ(RegistryOpenKey(CurrentUserKey(), "Software\\A", &reading), kRegSuccess);
    EXPECT_EQ(RegistrySetDword(reading, "X", 2), kRegAccessDenied);
    RegistryCloseKey(reading);

    RegKey writing = nullptr;
    ASSERT_EQ(RegistryCreateKey(CurrentUserKey(), "Software\\A", &writing), kRegSuccess);
    uint32_t size = 4;
    uint8_t bytes[4];
    EXPECT_EQ(RegistryQueryValue(writing, "X", nullptr, bytes, &size), kRegAccessDenied);
    RegistryCloseKey(writing);
    EXPECT_EQ(GetDword("Software\\A", "X", 0), 1u);
}

TEST_F(RegistryDiskTest, NamesTheTextCannotHoldAreRefused) {
    RegKey key = nullptr;
    EXPECT_NE(RegistryCreateKey(CurrentUserKey(), "Software\\A]\n[B", &key), kRegSuccess);
    EXPECT_NE(RegistryCreateKey(CurrentUserKey(), "Software\\\\A", &key), kRegSuccess);
    ASSERT_EQ(RegistryCreateKey(CurrentUserKey(), "Software\\A", &key), kRegSuccess);
    EXPECT_NE(RegistrySetDword(key, "two\nlines", 1), kRegSuccess);
    RegistryCloseKey(key);
    RegistryFile file;
    EXPECT_TRUE(file.Parse(ReadText(path)));
}

TEST_F(RegistryDiskTest, DamagedFileIsReadInPartAndKeptAsBadOnTheFirstWrite) {
    const std::string damaged =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\n"
        "\"Baud Rate\"=dword:000012c0\n"
        "\x01\x02garbage\xff\n"
        "\"Parity\"=dword:0000";
    WriteText(path, damaged);
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Baud Rate", 0), 4800u);
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Parity", 77), 77u);
    EXPECT_FALSE(Exists(path + ".bad"));
    EXPECT_EQ(ReadText(path), damaged);

    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Parity", 2), kRegSuccess);
    EXPECT_EQ(ReadText(path + ".bad"), damaged);
    RegistryFile repaired;
    EXPECT_TRUE(repaired.Parse(ReadText(path)));
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Baud Rate", 0), 4800u);
    EXPECT_EQ(GetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Parity", 0), 2u);

    // The file is clean now: the next write leaves the kept original alone.
    ASSERT_EQ(SetDword("Software\\Veltmark\\Brenlow\\AIS Unit", "Parity", 1), kRegSuccess);
    EXPECT_EQ(ReadText(path + ".bad"), damaged);
}

TEST_F(RegistryDiskTest, OversizedJunkFileIsKeptWhole) {
    std::string junk(3 << 20, '\0');
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>(i * 31 + (i >> 9));
    WriteText(path, junk);
    EXPECT_EQ(GetDword("Software\\Veltmark", "X", 5), 5u);
    ASSERT_EQ(SetDword("Software\\Veltmark", "X", 6), kRegSuccess);
    EXPECT_EQ(ReadText(path + ".bad"), junk);
    EXPECT_EQ(GetDword("Software\\Veltmark", "X", 5), 6u);
}

TEST_F(RegistryDiskTest, FolderThatCannotBeMadeFailsWritesAndReadsNothing) {
    const std::string folder = RegistryStorage::FolderPath();
    std::ofstream(folder) << "a file where the folder should be";
    ASSERT_TRUE(Exists(folder));
    RegKey key = nullptr;
    EXPECT_NE(RegistryCreateKey(CurrentUserKey(), "Software\\Veltmark", &key), kRegSuccess);
    EXPECT_EQ(RegistryOpenKey(CurrentUserKey(), "Software\\Veltmark", &key), kRegNotFound);
    ASSERT_EQ(RegistryOpenKey(CurrentUserKey(), "Software", &key), kRegSuccess);
    RegistryCloseKey(key);
    unlink(folder.c_str());
}

TEST_F(RegistryDiskTest, UnreadableFileIsNeverOverwritten) {
    mkdir(RegistryStorage::FolderPath().c_str(), 0700);
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << "a folder where the file should be";
    EXPECT_NE(SetDword("Software\\Veltmark", "X", 1), kRegSuccess);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    rmdir(path.c_str());
}

TEST_F(RegistryDiskTest, ConcurrentWritersLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kValues = 15;
    pid_t children[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        children[w] = fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            int failures = 0;
            for (int v = 0; v < kValues; ++v) {
                const std::string name = "W" + std::to_string(w) + "V" + std::to_string(v);
                failures += SetDword("Software\\Veltmark\\Race", name.c_str(), v) != kRegSuccess;
            }
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < kWriters; ++w) {
        for (int v = 0; v < kValues; ++v) {
            const std::string name = "W" + std::to_string(w) + "V" + std::to_string(v);
            EXPECT_EQ(GetDword("Software\\Veltmark\\Race", name.c_str(), 999), uint32_t(v)) << name;
        }
    }
}

}  // namespace
}  // namespace platform
