// The settings store: where values land, what reads give, and a registry that refuses writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "settings/ModuleInfo.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStore.h"
#include "tests/support/RegistrySandbox.h"

namespace {

constexpr char kSection[] = "AIS Unit";
constexpr char kUnitKey[] = "Software\\Veltmark\\Brenlow\\AIS Unit";

// A value as the registry holds it, read past the store.
using RawValue = std::pair<uint32_t, std::vector<uint8_t>>;  // type 0: missing

RawValue Raw(const std::string& keyPath, const char* name) {
    platform::RegKey key = nullptr;
    uint32_t type = 0, size = 64;
    std::vector<uint8_t> data(size);
    if (platform::RegistryOpenKey(platform::CurrentUserKey(), keyPath.c_str(), &key) == 0) {
        type = platform::RegistryQueryValue(key, name, &type, data.data(), &size) == 0 ? type : 0;
        platform::RegistryCloseKey(key);
    }
    return {type, {data.begin(), data.begin() + (type != 0 ? size : 0)}};
}
RawValue Dword(uint32_t v) {
    return {platform::kRegTypeDword,
            {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
}

bool ChainClosed() {
    return std::ranges::count(StoreState().keyStack, nullptr) == 4;
}

// Runs as the delivered program would: company "Veltmark", executable "Brenlow".
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

TEST_F(SettingsStoreTest, ReadsStoreTheirDefaultAndGiveWhole32Bits) {
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 19200u);
    EXPECT_EQ(Raw(kUnitKey, "Baud Rate"), Dword(19200));
    EXPECT_TRUE(ChainClosed());
    ASSERT_TRUE(WriteDword("ais unit", "BAUD RATE", 0xFFFFFFFFu)) << "names ignore case";
    EXPECT_EQ(ReadDword(kSection, "Baud Rate", 19200), 0xFFFFFFFFu);
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesReadZeroAndAreKeptUnlessTooLarge) {
    for (const RawValue& raw : {RawValue{platform::kRegTypeBinary, {1, 2, 3, 4}},
                                {platform::kRegTypeString, {'a', 'b', 0}},
                                {platform::kRegTypeDword, {7, 0}},
                                {platform::kRegTypeString, {'l', 'o', 'n', 'g', 0}}}) {
        ASSERT_TRUE(sandbox.SetRawValue(kUnitKey, "Data Bits", raw.first, raw.second.data(),
                                        static_cast<uint32_t>(raw.second.size())));
        const bool large = raw.second.size() > 4;  // larger than a DWORD: the default replaces it
        EXPECT_EQ(ReadDword(kSection, "Data Bits", 8), large ? 8u : 0u);
        EXPECT_EQ(Raw(kUnitKey, "Data Bits"), large ? Dword(8) : raw);
    }
}

TEST_F(SettingsStoreTest, KeyPathFollowsCompanyApplicationAndSection) {
    const struct {
        const char *company, *application, *section, *path;
    } cases[] = {
        {"Veltmark", "Brenlow", kSection, kUnitKey},
        {"Veltmark", "Brenlow", nullptr, "Software\\Veltmark\\Brenlow"},
        {"", "Brenlow", kSection, "Software\\Pellgarth\\Brenlow\\AIS Unit"},
        {nullptr, "Other", "", "Software\\Pellgarth\\Other"},
        {"Veltmark", "", kSection, "Software\\Veltmark\\AIS Unit"},
    };
    uint32_t value = 5;  // a new one for every path
    for (const auto& c : cases) {
        ++value;
        SetRegistryCompanyName(c.company);
        SettingsScope scope;
        StoreState().appKeyName = c.application;
        EXPECT_EQ(BuildKeyPath(c.section), c.path);
        EXPECT_EQ(ReadDword(c.section, "Port Number", value), value);
        EXPECT_EQ(Raw(c.path, "Port Number"), Dword(value)) << c.path;
        platform::RegKey deepest = nullptr;
        const int depth = OpenKeyChain(c.section, &deepest);
        EXPECT_EQ(depth, 4 - (*c.application == '\0') - (c.section == nullptr || *c.section == 0));
        EXPECT_EQ(deepest, StoreState().keyStack[depth - 1]);
        CloseKeyChain();
        EXPECT_TRUE(ChainClosed());
    }
    ModuleInfo::fileTitle.clear();
    SettingsScope learned;
    EXPECT_EQ(FileTitle(), "test_settings") << "learned from the running executable";
    EXPECT_EQ(StoreState().appKeyName, "test_settings");
    // The title drops the drive, the folders and the last extension.
    std::string titles;
    for (const char* path : {"/x/y/Other.exe", "C:\\Program Files\\Veltmark\\Brenlow.exe",
                             "C:Brenlow.exe", "Brenlow.exe", "/opt/app.v2/Brenlow",
                             "/x/Brenlow.tar.gz", "/x/y/", static_cast<const char*>(nullptr)})
        titles += "[" + FileTitleOf(path) + "]";
    EXPECT_EQ(titles, "[Other][Brenlow][Brenlow][Brenlow][Brenlow][Brenlow.tar][][]");
}

TEST_F(SettingsStoreTest, RefusedWritesFailAndReadsGiveDefaults) {
    ASSERT_TRUE(WriteDword(kSection, "Baud Rate", 4800));
    if (!sandbox.DenyWrites())
        GTEST_SKIP() << "this platform cannot refuse registry writes here";
    // Braced lists run in order: the write refused, the keys closed, the value stored before
    // read, and a missing one read as its default without being stored.
    EXPECT_EQ((std::tuple{WriteDword(kSection, "Baud Rate", 9600), ChainClosed(),
                          ReadDword(kSection, "Baud Rate", 19200), ReadDword(kSection, "Parity", 2),
                          Raw(kUnitKey, "Parity").first}),
              std::tuple(false, true, 4800u, 2u, 0u));
    {
        SettingsUpdate save;  // every failure of the group reaches its Commit
        WriteDword(kSection, "Stop Bits", 2);
        EXPECT_TRUE(WriteDword(kSection, "Baud Rate", 4800)) << "stored already";
        EXPECT_EQ(save.Commit(), platform::kRegAccessDenied);
        EXPECT_STREQ(SettingsStatusText(save.Commit()), "permission denied");
        EXPECT_STREQ(SettingsStatusText(87), "write error");
    }
    SetRegistryCompanyName("Fresh");
    EXPECT_EQ(OpenKeyChain(kSection, nullptr), 0) << "no key can be made";
    EXPECT_TRUE(ChainClosed());
    EXPECT_EQ(ReadDword(kSection, "Data Bits", 8), 8u);
}

}  // namespace
