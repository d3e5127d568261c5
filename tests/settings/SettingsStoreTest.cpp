#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Registry.h"
#include "settings/ModuleInfo.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStore.h"
#include "tests/support/RegistrySandbox.h"

namespace {

constexpr char kSection[] = "AIS Unit";
constexpr char kUnitKey[] = "Software\\Veltmark\\Brenlow\\AIS Unit";

struct RawValue {
    bool found = false;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

// A value as the registry holds it, read past the store.
RawValue ReadRaw(const char* keyPath, const char* name) {
    RawValue raw;
    platform::RegKey key = nullptr;
    if (platform::RegistryOpenKey(platform::CurrentUserKey(), keyPath, &key) !=
        platform::kRegSuccess) {
        return raw;
    }
    uint32_t size = 0;
    if (platform::RegistryQueryValue(key, name, &raw.type, nullptr, &size) ==
        platform::kRegSuccess) {
        raw.data.resize(size);
        raw.found = platform::RegistryQueryValue(key, name, &raw.type, raw.data.data(), &size) ==
                    platform::kRegSuccess;
    }
    platform::RegistryCloseKey(key);
    return raw;
}

std::vector<uint8_t> DwordBytes(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

bool ChainIsClosed() {
    for (platform::RegKey key : keyStack) {
        if (key != nullptr)
            return false;
    }
    return true;
}

// Every test runs as the delivered program would: company "Veltmark", executable "Brenlow",
// whatever this test program is called.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sandbox.Ready());
        SetRegistryCompanyName("Veltmark");
        ModuleInfo::fileTitle = "Brenlow";
        SettingsScope scope;
    }

    RegistrySandbox sandbox;
};

TEST_F(SettingsStoreTest, FirstRunStoresTheDefaultAsDword) {
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 19200u);

    const RawValue stored = ReadRaw(kUnitKey, "Baud Rate");
    ASSERT_TRUE(stored.found);
    EXPECT_EQ(stored.type, platform::kRegTypeDword);
    EXPECT_EQ(stored.data, DwordBytes(19200));
    EXPECT_TRUE(ChainIsClosed());
}

TEST_F(SettingsStoreTest, StoredValueWinsOverTheDefault) {
    ASSERT_TRUE(WriteDword(kSection, "Baud Rate", 4800));
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 4800u);
    EXPECT_EQ(ReadRaw(kUnitKey, "Baud Rate").data, DwordBytes(4800));
}

TEST_F(SettingsStoreTest, ValuesReadBackAsWhole32Bits) {
    ASSERT_TRUE(WriteDword(kSection, "Port Number", 65539));
    ASSERT_TRUE(WriteDword(kSection, "Stop Bits", 0xFFFFFFFFu));
    EXPECT_EQ(ReadDword(kSection, "Port Number", 0), 65539u);
    EXPECT_EQ(ReadDword(kSection, "Stop Bits", 1), 0xFFFFFFFFu);
}

TEST_F(SettingsStoreTest, OtherTypeThatFitsReadsZeroAndIsKept) {
    const uint8_t binary[4] = {1, 2, 3, 4};
    const char text[] = "ab";
    const uint8_t shortDword[2] = {7, 0};
    ASSERT_TRUE(sandbox.SetRawValue(kUnitKey, "Parity", platform::kRegTypeBinary, binary, 4));
    ASSERT_TRUE(sandbox.SetRawValue(kUnitKey, "Data Bits", platform::kRegTypeString, text, 3));
    ASSERT_TRUE(sandbox.SetRawValue(kUnitKey, "Stop Bits", platform::kRegTypeDword, shortDword, 2));

    EXPECT_EQ(ReadDword(kSection, "Parity", 2), 0u);
    EXPECT_EQ(ReadDword(kSection, "Data Bits", 8), 0u);
    EXPECT_EQ(ReadDword(kSection, "Stop Bits", 1), 0u);

    EXPECT_EQ(ReadRaw(kUnitKey, "Parity").type, platform::kRegTypeBinary);
    EXPECT_EQ(ReadRaw(kUnitKey, "Parity").data, std::vector<uint8_t>(binary, binary + 4));
    EXPECT_EQ(ReadRaw(kUnitKey, "Data Bits").type, platform::kRegTypeString);
    EXPECT_EQ(ReadRaw(kUnitKey, "Stop Bits").data,
              std::vector<uint8_t>(shortDword, shortDword + 2));
}

TEST_F(SettingsStoreTest, ValueTooLargeReadsTheDefaultWhichReplacesIt) {
    const char text[] = "a long text";
    ASSERT_TRUE(
        sandbox.SetRawValue(kUnitKey, "Data Bits", platform::kRegTypeString, text, sizeof text));
    EXPECT_EQ(ReadDword(kSection, "Data Bits", 8), 8u);

    const RawValue replaced = ReadRaw(kUnitKey, "Data Bits");
    EXPECT_EQ(replaced.type, platform::kRegTypeDword);
    EXPECT_EQ(replaced.data, DwordBytes(8));
}

TEST_F(SettingsStoreTest, ValueNamesAreCaseInsensitive) {
    ASSERT_TRUE(WriteDword("ais unit", "BAUD RATE", 38400));
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 38400u);
}

TEST_F(SettingsStoreTest, KeyPathFollowsApplicationAndSection) {
    EXPECT_EQ(BuildKeyPath(kSection), "Software\\Veltmark\\Brenlow\\AIS Unit");
    EXPECT_EQ(BuildKeyPath(nullptr), "Software\\Veltmark\\Brenlow");
    appKeyName.clear();
    EXPECT_EQ(BuildKeyPath(kSection), "Software\\Veltmark\\AIS Unit");
    EXPECT_EQ(BuildKeyPath(nullptr), "Software\\Veltmark");
}

TEST_F(SettingsStoreTest, EmptyCompanyNameGivesPellgarth) {
    SetRegistryCompanyName("");
    EXPECT_EQ(CompanyKeyName(), "Pellgarth");
    SetRegistryCompanyName(nullptr);
    EXPECT_EQ(CompanyKeyName(), "Pellgarth");

    EXPECT_EQ(ReadDword(kSection, "Data Bits", 8), 8u);
    EXPECT_EQ(ReadRaw("Software\\Pellgarth\\Brenlow\\AIS Unit", "Data Bits").data, DwordBytes(8));
    EXPECT_FALSE(ReadRaw(kUnitKey, "Data Bits").found);
}

TEST_F(SettingsStoreTest, WithoutApplicationNameSettingsSitUnderTheCompany) {
    appKeyName.clear();
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 19200u);
    EXPECT_EQ(ReadRaw("Software\\Veltmark\\AIS Unit", "Baud Rate").data, DwordBytes(19200));
    EXPECT_FALSE(ReadRaw(kUnitKey, "Baud Rate").found);
}

TEST_F(SettingsStoreTest, WithoutSectionValuesSitInTheApplicationKey) {
    platform::RegKey deepest = nullptr;
    EXPECT_EQ(OpenKeyChain(nullptr, &deepest), 3);
    EXPECT_EQ(deepest, keyStack[2]);
    CloseKeyChain();
    EXPECT_TRUE(ChainIsClosed());

    ASSERT_TRUE(WriteDword(nullptr, "Port Number", 4));
    EXPECT_EQ(ReadRaw("Software\\Veltmark\\Brenlow", "Port Number").data, DwordBytes(4));
}

TEST_F(SettingsStoreTest, KeyChainOpensEveryLevelAndClosesThemAll) {
    platform::RegKey deepest = nullptr;
    ASSERT_EQ(OpenKeyChain(kSection, &deepest), 4);
    EXPECT_EQ(deepest, keyStack[3]);
    for (platform::RegKey key : keyStack) {
        EXPECT_NE(key, nullptr);
    }
    CloseKeyChain();
    EXPECT_TRUE(ChainIsClosed());
}

TEST_F(SettingsStoreTest, RenamedExecutableKeepsSettingsOfItsOwn) {
    ASSERT_TRUE(WriteDword(kSection, "Port Number", 7));

    ModuleInfo::fileTitle = "Other";
    SettingsScope scope;
    EXPECT_EQ(ReadDword(kSection, "Port Number", 0), 0u);
    EXPECT_EQ(ReadRaw("Software\\Veltmark\\Other\\AIS Unit", "Port Number").data, DwordBytes(0));
    EXPECT_EQ(ReadRaw(kUnitKey, "Port Number").data, DwordBytes(7));
}

TEST_F(SettingsStoreTest, FileTitleIsLearnedOnceFromTheRunningExecutable) {
    ModuleInfo::fileTitle.clear();
    SettingsScope first;
    EXPECT_EQ(FileTitle(), "test_settings");
    EXPECT_EQ(appKeyName, "test_settings");

    ModuleInfo::fileTitle = "Other";
    SettingsScope second;
    EXPECT_EQ(FileTitle(), "Other");
    EXPECT_EQ(appKeyName, "Other");
}

TEST(FileTitleOf, DropsDirectoryDriveAndExtension) {
    EXPECT_EQ(FileTitleOf("/x/y/Other.exe"), "Other");
    EXPECT_EQ(FileTitleOf("/x/y/Brenlow"), "Brenlow");
    EXPECT_EQ(FileTitleOf("C:\\Program Files\\Veltmark\\Brenlow.exe"), "Brenlow");
    EXPECT_EQ(FileTitleOf("C:Brenlow.exe"), "Brenlow");
    EXPECT_EQ(FileTitleOf("/opt/app.v2/Brenlow"), "Brenlow");
    EXPECT_EQ(FileTitleOf("/x/Brenlow.tar.gz"), "Brenlow.tar");
    EXPECT_EQ(FileTitleOf("/x/y/"), "");
    EXPECT_EQ(FileTitleOf(""), "");
    EXPECT_EQ(FileTitleOf(nullptr), "");
}

TEST_F(SettingsStoreTest, RefusedWritesFailAndReadsGiveDefaults) {
    ASSERT_TRUE(WriteDword(kSection, "Baud Rate", 4800));
    if (!sandbox.DenyWrites()) {
        GTEST_SKIP() << "this platform cannot refuse registry writes here";
    }
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 4800u);
    EXPECT_EQ(ReadDword(kSection, "Parity", 2), 2u);
    EXPECT_FALSE(ReadRaw(kUnitKey, "Parity").found);
    EXPECT_FALSE(WriteDword(kSection, "Baud Rate", 9600));
    EXPECT_TRUE(ChainIsClosed());
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 4800u);
}

TEST_F(SettingsStoreTest, RefusedWritesOnAFreshRegistryGiveDefaults) {
    if (!sandbox.DenyWrites()) {
        GTEST_SKIP() << "this platform cannot refuse registry writes here";
    }
    platform::RegKey deepest = nullptr;
    EXPECT_EQ(OpenKeyChain(kSection, &deepest), 0);
    EXPECT_TRUE(ChainIsClosed());
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 19200u);
    EXPECT_EQ(ReadDword(kSection, "Data Bits", 8), 8u);
    EXPECT_FALSE(ReadRaw(kUnitKey, "Baud Rate").found);
}

}  // namespace
