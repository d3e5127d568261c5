#include "platform/Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr const char* kSandbox = "Software\\BrenlowPlatformTest";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSandbox); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSandbox); }
};

TEST_F(RegistryTest, DwordRoundTripsAsFourLittleEndianBytes) {
    platform::RegKey key = nullptr;
    ASSERT_EQ(platform::RegistryCreateKey(platform::CurrentUserKey(), kSandbox, &key),
              platform::kRegSuccess);
    ASSERT_EQ(platform::RegistrySetDword(key, "Baud Rate", 0x01020304u), platform::kRegSuccess);
    EXPECT_EQ(platform::RegistryCloseKey(key), platform::kRegSuccess);

    ASSERT_EQ(platform::RegistryOpenKey(platform::CurrentUserKey(), kSandbox, &key),
              platform::kRegSuccess);
    uint32_t type = 0;
    uint8_t data[8] = {};
    uint32_t size = sizeof data;
    ASSERT_EQ(platform::RegistryQueryValue(key, "Baud Rate", &type, data, &size),
              platform::kRegSuccess);
    platform::RegistryCloseKey(key);
    EXPECT_EQ(type, platform::kRegTypeDword);
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(data[0], 0x04);
    EXPECT_EQ(data[3], 0x01);

    // The value really is a REG_DWORD to the system's own reader.
    DWORD value = 0;
    DWORD valueSize = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kSandbox, "Baud Rate", RRF_RT_REG_DWORD, nullptr,
                           &value, &valueSize),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0x01020304u);
}

TEST_F(RegistryTest, OpeningAMissingKeyFailsAndCreatesNothing) {
    platform::RegKey key = reinterpret_cast<platform::RegKey>(1);
    EXPECT_EQ(platform::RegistryOpenKey(platform::CurrentUserKey(), kSandbox, &key),
              platform::kRegNotFound);
    EXPECT_EQ(key, nullptr);
    HKEY probe = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSandbox, 0, KEY_READ, &probe), ERROR_SUCCESS);
}

TEST_F(RegistryTest, LargerValueThanBufferReportsMoreData) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSandbox, 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                              nullptr),
              ERROR_SUCCESS);
    const char text[] = "not a number";
    RegSetValueExA(raw, "Parity", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegCloseKey(raw);

    platform::RegKey key = nullptr;
    ASSERT_EQ(platform::RegistryOpenKey(platform::CurrentUserKey(), kSandbox, &key),
              platform::kRegSuccess);
    uint32_t type = 0;
    uint8_t data[4] = {};
    uint32_t size = sizeof data;
    EXPECT_EQ(platform::RegistryQueryValue(key, "Parity", &type, data, &size),
              platform::kRegMoreData);
    EXPECT_EQ(size, sizeof text);
    platform::RegistryCloseKey(key);
}

TEST_F(RegistryTest, OpenedKeyCannotBeWrittenThrough) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSandbox, 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(raw);

    // Opened for querying only, as the read path asks for.
    platform::RegKey key = nullptr;
    ASSERT_EQ(platform::RegistryOpenKey(platform::CurrentUserKey(), kSandbox, &key),
              platform::kRegSuccess);
    EXPECT_EQ(platform::RegistrySetDword(key, "Stop Bits", 1), platform::kRegAccessDenied);
    platform::RegistryCloseKey(key);
}

}  // namespace
