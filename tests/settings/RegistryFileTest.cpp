// The Linux registry's REGEDIT4 text: every kind of value, and damage read around.
#include "platform/posix/RegistryFile.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

using Bytes = std::vector<uint8_t>;
const std::string kHeader = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\A]\n";

TEST(RegistryFileText, WhatEachTextReadsAs) {
    const struct {
        std::string text;
        bool clean;
        const char* name;
        uint32_t type;  // 0: not read
        Bytes data;
    } cases[] = {
        {kHeader + "\"Baud Rate\"=dword:00004b00\r\n; note\r\n",
         true,
         "baud rate",
         4,
         {0, 0x4b, 0, 0}},
        {kHeader + "\"P\"=\"C:\\\\x\\\"y\\\"\"\n",
         true,
         "P",
         1,
         {'C', ':', '\\', 'x', '"', 'y', '"', 0}},
        {kHeader + "@=\"d\"\n", true, "", 1, {'d', 0}},
        {kHeader + "\"B\"=hex:01,ff,\\\n  20\n", true, "B", 3, {1, 0xff, 0x20}},
        {kHeader + "\"M\"=hex(7):61,00,00\n", true, "M", 7, {0x61, 0, 0}},
        {kHeader + "\"B\"=hex:01,02,\\\n", false, "B", 0, {}},
        {kHeader + "\"X\"=dword:0000\n", false, "X", 0, {}},
        {kHeader + "\"X\"=dword:zz000002\n", false, "X", 0, {}},
        {kHeader + "\"X\"=word:3\n", false, "X", 0, {}},
        {kHeader + "junk\n\x01\xff\n\"X\"=dword:00000001\n", false, "X", 4, {1, 0, 0, 0}},
        {kHeader + "[HKEY_CURRENT_USER\\Software\\B\n\"X\"=dword:00000002\n", false, "X", 0, {}},
        {kHeader + "[HKEY_CURRENT_USER\\\\Software]\n\"X\"=dword:00000002\n", false, "X", 0, {}},
        {kHeader.substr(10) + "\"X\"=dword:00000001\n", false, "X", 4, {1, 0, 0, 0}},
        {"[HKEY_CURRENT_USER\\software\\a]\n\"X\"=dword:00000001\n" + kHeader.substr(10) +
             "\"x\"=dword:00000002\n",
         false,
         "X",
         4,
         {2, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        RegistryFile file;
        EXPECT_EQ(file.Parse(c.text), c.clean) << c.text;
        const RegistryKey* key = file.FindKey("HKEY_CURRENT_USER\\SOFTWARE\\a");
        const RegistryValue* value = key ? RegistryFile::FindValue(*key, c.name) : nullptr;
        EXPECT_EQ(value ? value->type : 0, c.type) << c.text;
        EXPECT_EQ(value ? value->data : Bytes(), c.data) << c.text;
        EXPECT_LE(file.Keys().size(), 1u) << c.text;
    }
    RegistryFile empty;
    EXPECT_TRUE(empty.Parse(""));
    EXPECT_FALSE(empty.Parse(std::string("REGEDIT4\n\0\xfe\n[", 15)));
}

TEST(RegistryFileText, WhatIsWrittenReadsBack) {
    RegistryFile file;
    RegistryKey& unit = file.AddKey("HKEY_CURRENT_USER\\Software\\Veltmark");
    RegistryFile::SetValue(unit, "Baud Rate", 4, {0x00, 0x4b, 0, 0});
    EXPECT_EQ(
        file.Serialise(),
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Veltmark]\n\"Baud Rate\"=dword:00004b00\n");
    RegistryFile::SetValue(unit, "BAUD RATE", 4, {3, 0, 1, 0});
    RegistryFile::SetValue(unit, "Q\"\\", 1, {'a', '"', '\\', '\n', 0x1b, '\t', 0});
    RegistryFile::SetValue(unit, "", 0x100, {1, 2, 3});
    RegistryFile::SetValue(file.AddKey("HKEY_LOCAL_MACHINE\\X"), "Name", 1, {0xB0, 0});
    RegistryFile again;
    ASSERT_TRUE(again.Parse(file.Serialise()));
    EXPECT_EQ(again.Serialise(), file.Serialise());
    ASSERT_EQ(again.Keys().size(), 2u);
    const auto& read = again.Keys()[0].values;
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].name, "Baud Rate") << "a replaced value keeps its spelling";
    for (size_t v = 0; v < read.size(); ++v) {
        EXPECT_EQ(read[v].type, file.Keys()[0].values[v].type);
        EXPECT_EQ(read[v].data, file.Keys()[0].values[v].data);
    }
    EXPECT_TRUE(again.KeyExists("HKEY_CURRENT_USER\\software"));
    EXPECT_FALSE(again.KeyExists("HKEY_CURRENT_USER\\Software\\Velt"));
}

}  // namespace
}  // namespace platform
