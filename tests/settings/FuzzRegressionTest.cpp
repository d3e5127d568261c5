#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/RegistryFile.h"

namespace platform {
namespace {

constexpr char kKey[] = "HKEY_CURRENT_USER\\Software\\Veltmark";

// A text value holding a control character other than tab must still read back.
TEST(RegistryFileRoundTrip, TextWithControlCharacterReadsBack) {
    RegistryFile file;
    RegistryFile::SetValue(file.AddKey(kKey), "", 1, {0x18, 0});
    RegistryFile::SetValue(file.AddKey(kKey), "Esc", 1, {'a', 0x1b, 'b', 0});
    RegistryFile::SetValue(file.AddKey(kKey), "Tab", 1, {'a', '\t', 'b', 0});

    RegistryFile again;
    ASSERT_TRUE(again.Parse(file.Serialise()));
    const RegistryKey* key = again.FindKey(kKey);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(key->values[i].name, file.Keys()[0].values[i].name);
        EXPECT_EQ(key->values[i].type, 1u);
        EXPECT_EQ(key->values[i].data, file.Keys()[0].values[i].data);
    }
}

TEST(RegistryFileRoundTrip, ParsedHexTextWithControlCharacterStaysHex) {
    RegistryFile file;
    ASSERT_TRUE(
        file.Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Veltmark]\n"
                   "\"Bell\"=hex(1):07,00\n"));
    const std::string text = file.Serialise();
    EXPECT_NE(text.find("\"Bell\"=hex(1):07,00\n"), std::string::npos);
    RegistryFile again;
    ASSERT_TRUE(again.Parse(text));
    const RegistryValue* value = RegistryFile::FindValue(*again.FindKey(kKey), "Bell");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, (std::vector<uint8_t>{0x07, 0}));
}

}  // namespace
}  // namespace platform
