#include "platform/posix/RegistryFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

constexpr char kUnit[] = "HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit";

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
    std::vector<uint8_t> out;
    for (int b : list)
        out.push_back(static_cast<uint8_t>(b));
    return out;
}

const RegistryValue* Find(const RegistryFile& file, std::string_view key, std::string_view name) {
    const RegistryKey* entry = file.FindKey(key);
    return entry != nullptr ? RegistryFile::FindValue(*entry, name) : nullptr;
}

TEST(RegistryFileText, ReadsEveryKindOfValue) {
    RegistryFile file;
    ASSERT_TRUE(
        file.Parse("REGEDIT4\r\n"
                   "\r\n"
                   "[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\r\n"
                   "\"Baud Rate\"=dword:00004b00\r\n"
                   "\"Path\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"\r\n"
                   "@=\"default\"\r\n"
                   "\"Blob\"=hex:01,ff,\\\r\n"
                   "  20\r\n"
                   "\"Multi\"=hex(7):61,00,00\r\n"
                   "; a comment\r\n"));

    EXPECT_EQ(Find(file, kUnit, "Baud Rate")->type, 4u);
    EXPECT_EQ(Find(file, kUnit, "Baud Rate")->data, Bytes({0x00, 0x4b, 0, 0}));
    const std::string path = "C:\\Program Files\\\"x\"";
    std::vector<uint8_t> pathBytes(path.begin(), path.end());
    pathBytes.push_back(0);
    EXPECT_EQ(Find(file, kUnit, "Path")->type, 1u);
    EXPECT_EQ(Find(file, kUnit, "Path")->data, pathBytes);
    EXPECT_EQ(Find(file, kUnit, "")->data, Bytes({'d', 'e', 'f', 'a', 'u', 'l', 't', 0}));
    EXPECT_EQ(Find(file, kUnit, "Blob")->type, 3u);
    EXPECT_EQ(Find(file, kUnit, "Blob")->data, Bytes({0x01, 0xff, 0x20}));
    EXPECT_EQ(Find(file, kUnit, "Multi")->type, 7u);
    EXPECT_EQ(Find(file, kUnit, "Multi")->data, Bytes({0x61, 0, 0}));
}

TEST(RegistryFileText, WritesRegedit4) {
    RegistryFile file;
    RegistryFile::SetValue(file.AddKey(kUnit), "Baud Rate", 4, Bytes({0x00, 0x4b, 0, 0}));
    EXPECT_EQ(file.Serialise(),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit]\n"
              "\"Baud Rate\"=dword:00004b00\n");
}

TEST(RegistryFileText, RoundTripKeepsEveryKeyAndValue) {
    RegistryFile file;
    RegistryKey& unit = file.AddKey(kUnit);
    RegistryFile::SetValue(unit, "Port Number", 4, Bytes({3, 0, 1, 0}));
    RegistryFile::SetValue(unit, "Quote\"and\\slash", 1, Bytes({'a', '"', '\\', 0}));
    RegistryFile::SetValue(unit, "Lines", 1, Bytes({'a', '\n', 'b', 0}));
    RegistryFile::SetValue(unit, "", 3, {});
    RegistryFile::SetValue(unit, "Short dword", 4, Bytes({1, 2}));
    std::vector<uint8_t> big(100);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i * 7);
    RegistryFile::SetValue(unit, "Big", 0x100, big);
    file.AddKey("HKEY_CURRENT_USER\\Software\\Empty");
    RegistryFile::SetValue(file.AddKey("HKEY_LOCAL_MACHINE\\Software\\Other"), "Name", 1,
                           Bytes({0xB0, 0}));

    RegistryFile again;
    ASSERT_TRUE(again.Parse(file.Serialise()));
    ASSERT_EQ(again.Keys().size(), file.Keys().size());
    for (size_t k = 0; k < file.Keys().size(); ++k) {
        const RegistryKey& want = file.Keys()[k];
        const RegistryKey& got = again.Keys()[k];
        EXPECT_EQ(got.path, want.path);
        ASSERT_EQ(got.values.size(), want.values.size()) << want.path;
        for (size_t v = 0; v < want.values.size(); ++v) {
            EXPECT_EQ(got.values[v].name, want.values[v].name);
            EXPECT_EQ(got.values[v].type, want.values[v].type) << want.values[v].name;
            EXPECT_EQ(got.values[v].data, want.values[v].data) << want.values[v].name;
        }
    }
    EXPECT_EQ(again.Serialise(), file.Serialise());
}

TEST(RegistryFileText, NamesAreCaseInsensitiveAndKeepTheirSpelling) {
    RegistryFile file;
    ASSERT_TRUE(
        file.Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Veltmark]\n"
                   "\"Baud Rate\"=dword:00000001\n"
                   "[hkey_current_user\\software\\VELTMARK]\n"
                   "\"BAUD RATE\"=dword:00000002\n"));
    ASSERT_EQ(file.Keys().size(), 1u);
    const RegistryValue* value = Find(file, "HKEY_CURRENT_USER\\SOFTWARE\\veltmark", "baud rate");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->name, "Baud Rate");
    EXPECT_EQ(value->data, Bytes({2, 0, 0, 0}));
}

TEST(RegistryFileText, KeysExistThroughTheKeysBelowThem) {
    RegistryFile file;
    file.AddKey("HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow");
    EXPECT_TRUE(file.KeyExists("HKEY_CURRENT_USER\\Software\\veltmark"));
    EXPECT_TRUE(file.KeyExists("HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow"));
    EXPECT_FALSE(file.KeyExists("HKEY_CURRENT_USER\\Software\\Velt"));
    EXPECT_FALSE(file.KeyExists("HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow\\AIS Unit"));
}

TEST(RegistryFileDamage, GarbageLinesAreSkippedAndTheRestKept) {
    RegistryFile file;
    EXPECT_FALSE(
        file.Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n"
                   "\"One\"=dword:00000001\n"
                   "this is not a registry line\n"
                   "\"Two\"=dword:zz000002\n"
                   "\"Three\"=word:3\n"
                   "\"Four\"=dword:00000004\n"));
    EXPECT_NE(Find(file, "HKEY_CURRENT_USER\\Software\\A", "One"), nullptr);
    EXPECT_EQ(Find(file, "HKEY_CURRENT_USER\\Software\\A", "Two"), nullptr);
    EXPECT_EQ(Find(file, "HKEY_CURRENT_USER\\Software\\A", "Three"), nullptr);
    EXPECT_NE(Find(file, "HKEY_CURRENT_USER\\Software\\A", "Four"), nullptr);
}

TEST(RegistryFileDamage, TruncatedValuesReadAsMissing) {
    const std::string whole =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n\"Blob\"=hex:01,02,\\\n  03\n"
        "\"Baud Rate\"=dword:00004b00\n";
    RegistryFile dword;
    EXPECT_FALSE(dword.Parse(whole.substr(0, whole.size() - 3)));
    EXPECT_EQ(Find(dword, "HKEY_CURRENT_USER\\Software\\A", "Baud Rate"), nullptr);
    EXPECT_NE(Find(dword, "HKEY_CURRENT_USER\\Software\\A", "Blob"), nullptr);

    RegistryFile hex;
    EXPECT_FALSE(hex.Parse(whole.substr(0, whole.find("  03"))));
    EXPECT_EQ(Find(hex, "HKEY_CURRENT_USER\\Software\\A", "Blob"), nullptr);

    RegistryFile key;
    EXPECT_FALSE(
        key.Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n\"X\"=dword:00000001\n"
                  "[HKEY_CURRENT_USER\\Softw"));
    EXPECT_NE(Find(key, "HKEY_CURRENT_USER\\Software\\A", "X"), nullptr);
    EXPECT_EQ(key.Keys().size(), 1u);
}

TEST(RegistryFileDamage, ValuesUnderABrokenKeyLineGoNowhere) {
    RegistryFile file;
    EXPECT_FALSE(
        file.Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n"
                   "\"X\"=dword:00000001\n"
                   "[HKEY_CURRENT_USER\\Software\\B\n"
                   "\"X\"=dword:00000002\n"
                   "[HKEY_CURRENT_USER\\\\Software]\n"
                   "\"Y\"=dword:00000002\n"));
    EXPECT_EQ(Find(file, "HKEY_CURRENT_USER\\Software\\A", "X")->data, Bytes({1, 0, 0, 0}));
    EXPECT_EQ(Find(file, "HKEY_CURRENT_USER\\Software\\A", "Y"), nullptr);
    EXPECT_EQ(file.Keys().size(), 1u);
}

TEST(RegistryFileDamage, BinaryJunkNeverBreaksParsing) {
    std::string junk;
    uint32_t seed = 12345;
    for (int i = 0; i < 5000; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk.push_back(static_cast<char>(seed >> 16));
    }
    RegistryFile file;
    EXPECT_FALSE(file.Parse(junk));

    RegistryFile mixed;
    EXPECT_FALSE(
        mixed.Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n"
                    "\"X\"=dword:00000001\n" +
                    junk.substr(0, 100) + std::string(1, '\0') +
                    "\n[HKEY_CURRENT_USER\\Software\\B]\n\"Y\"=dword:00000002\n"));
    EXPECT_NE(Find(mixed, "HKEY_CURRENT_USER\\Software\\A", "X"), nullptr);
    EXPECT_NE(Find(mixed, "HKEY_CURRENT_USER\\Software\\B", "Y"), nullptr);
}

TEST(RegistryFileDamage, MissingHeaderCountsAsDamageButValuesAreUsed) {
    RegistryFile file;
    EXPECT_FALSE(file.Parse("[HKEY_CURRENT_USER\\Software\\A]\n\"X\"=dword:00000001\n"));
    EXPECT_NE(Find(file, "HKEY_CURRENT_USER\\Software\\A", "X"), nullptr);

    RegistryFile empty;
    EXPECT_TRUE(empty.Parse(""));
    EXPECT_TRUE(empty.Keys().empty());
}

}  // namespace
}  // namespace platform
