// What each text of the Linux settings file reads as, and what is written back from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/RegistryFile.h"

namespace {

using platform::RegistryFile;

// Latin-1 as UTF-16LE with its byte-order mark, as regedit exports.
std::string Utf16(const std::string& text) {
    std::string out = "\xFF\xFE";
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

// One value read from key `key`: its type and bytes; type 0: not read.
struct Read {
    const char* key;
    const char* name;
    uint32_t type;
    std::string data;
};

const std::string kDword7("\x07\0\0\0", 4);
const std::string kFull =
    "REGEDIT4\n\n; kept\n[K]\n\"D\"=dword:00000007\n\"S\"=\"a\\\\b\\\"c\"\n"
    "\"H\"=hex:01,02,\\\n  03\n@=hex(7):41,00,00\n\n[K\\Sub]\n\"d\"=-\n\n";

struct TextCase {
    const char* what;
    std::string bytes;
    bool clean;
    bool writtenAsRead;  // unchanged, it is written back byte for byte
    std::vector<Read> reads;
} const kCases[] = {
    {"REGEDIT4, LF, every kind of value, comments",
     kFull,
     true,
     true,
     {{"K", "D", 4, kDword7},
      {"K", "s", 1, std::string("a\\b\"c\0", 6)},
      {"K", "H", 3, "\x01\x02\x03"},
      {"K", "", 7, std::string("A\0\0", 3)},
      {"K\\Sub", "d", 0, ""}}},
    {"version 5.00, CR LF",
     "Windows Registry Editor Version 5.00\r\n\r\n[K]\r\n\"D\"=dword:00000007\r\n",
     true,
     true,
     {{"K", "D", 4, kDword7}}},
    {"UTF-16LE with its mark",
     Utf16("Windows Registry Editor Version 5.00\r\n\r\n[K]\r\n\"D\"="
           "dword:00000007\r\n\"H\"=hex(2):41,00,\\\r\n  00,00\r\n"
           "\"S\"=\"\xFC\"\r\n"),
     true,
     true,
     {{"K", "D", 4, kDword7},
      {"K", "H", 2, std::string("A\0\0\0", 4)},
      {"K", "S", 1, std::string("\xC3\xBC", 3)}}},
    {"UTF-16LE with a byte left over",
     Utf16("REGEDIT4\n[K]\n\"D\"=dword:00000007\n") + "A",
     false,
     false,
     {{"K", "D", 4, kDword7}}},
    {"UTF-16 without its mark",
     Utf16("REGEDIT4\n[K]\n\"D\"=dword:00000007\n").substr(2),
     false,
     false,
     {{"K", "D", 0, ""}}},
    {"UTF-8 mark",
     "\xEF\xBB\xBFREGEDIT4\n\n[K]\n\"D\"=dword:00000007\n",
     true,
     true,
     {{"K", "D", 4, kDword7}}},
    {"CR line ends",
     "REGEDIT4\r\r[K]\r\"D\"=dword:00000007\r",
     true,
     false,
     {{"K", "D", 4, kDword7}}},
    {"no header", "[K]\n\"D\"=dword:00000007\n", false, false, {{"K", "D", 4, kDword7}}},
    {"key and value names ignore case; the later value counts",
     "REGEDIT4\n[K]\n\"D\"=dword:00000001\n[k]\n\"d\"=dword:00000007\n",
     true,
     false,
     {{"K", "D", 4, kDword7}}},
    {"unknown value types are kept",
     "REGEDIT4\n[K]\n\"Q\"=hex(b):01,02,03,04,05,06,07,08\n",
     true,
     true,
     {{"K", "Q", 11, "\x01\x02\x03\x04\x05\x06\x07\x08"}}},
    {"unknown syntax is damage",
     "REGEDIT4\n[K]\n\"Q\"=qword:1\n\"D\"=dword:00000007\n",
     false,
     false,
     {{"K", "Q", 0, ""}, {"K", "D", 4, kDword7}}},
    {"dword with seven digits",
     "REGEDIT4\n[K]\n\"D\"=dword:0000007\n",
     false,
     false,
     {{"K", "D", 0, ""}}},
    {"string without its closing quote",
     "REGEDIT4\n[K]\n\"S\"=\"ab\n\"D\"=dword:00000007\n",
     false,
     false,
     {{"K", "S", 0, ""}, {"K", "D", 4, kDword7}}},
    {"hex continued into nothing",
     "REGEDIT4\n[K]\n\"H\"=hex:01,\\\n[L]\n\"D\"=dword:00000007\n",
     false,
     false,
     {{"K", "H", 0, ""}, {"L", "D", 4, kDword7}}},
    {"hex(n) continuation without its line end",
     "REGEDIT4\n[K]\n\"H\"=hex(2):41,00,\\\n  42,00",
     false,
     false,
     {{"K", "H", 0, ""}}},
    {"hex byte of one digit", "REGEDIT4\n[K]\n\"H\"=hex:01,2\n", false, false, {{"K", "H", 0, ""}}},
    {"control byte in a line",
     "REGEDIT4\n[K]\n\"D\"=dword:0000\x01"
     "007\n",
     false,
     false,
     {{"K", "D", 0, ""}}},
    {"values under a broken key line",
     "REGEDIT4\n[K\n\"D\"=dword:00000007\n",
     false,
     false,
     {{"K", "D", 0, ""}}},
    {"empty file", "", true, false, {{"K", "D", 0, ""}}},
};

// Every value of `part` is in `whole`, the same.
void ExpectWithin(const RegistryFile& part, const RegistryFile& whole, const std::string& what) {
    for (const platform::RegistryKey& key : part.Keys()) {
        const platform::RegistryKey* other = whole.FindKey(key.path);
        ASSERT_NE(other, nullptr) << what << ": " << key.path;
        for (const platform::RegistryValue& value : key.values) {
            const platform::RegistryValue* same = RegistryFile::FindValue(*other, value.name);
            ASSERT_NE(same, nullptr) << what << ": " << value.name;
            EXPECT_EQ(same->type, value.type) << what;
            EXPECT_EQ(same->data, value.data) << what;
        }
    }
}

TEST(RegistryText, ReadsWhatEachTextHoldsAndWritesAllOfItBack) {
    for (const TextCase& c : kCases) {
        RegistryFile file;
        EXPECT_EQ(file.Parse(c.bytes), c.clean) << c.what;
        for (const Read& r : c.reads) {
            const platform::RegistryKey* key = file.FindKey(r.key);
            const platform::RegistryValue* value =
                key != nullptr ? RegistryFile::FindValue(*key, r.name) : nullptr;
            EXPECT_EQ(value != nullptr ? value->type : 0, r.type) << c.what << ": " << r.name;
            if (value != nullptr) {
                EXPECT_EQ(std::string(value->data.begin(), value->data.end()), r.data) << c.what;
            }
        }
        EXPECT_TRUE(!c.writtenAsRead || file.Serialise() == c.bytes) << c.what;
        // A setting stored: the text keeps its mark and header and reads back whole.
        file.SetValue(file.AddKey("K\\New"), "D", 4, {7, 0, 0, 0});
        const std::string written = file.Serialise();
        RegistryFile again;
        EXPECT_TRUE(again.Parse(written)) << c.what;
        ExpectWithin(file, again, c.what);
        if (!c.writtenAsRead) {
            continue;
        }
        const size_t headerEnd = c.bytes.find(c.bytes[0] == '\xFF' ? '\r' : '\n');
        EXPECT_EQ(written.substr(0, headerEnd), c.bytes.substr(0, headerEnd)) << c.what;
        // Cut at any byte: no value reads otherwise than whole.
        for (size_t cut = 0; cut < c.bytes.size(); ++cut) {
            RegistryFile part;
            part.Parse(std::string_view(c.bytes).substr(0, cut));
            ExpectWithin(part, again, std::string(c.what) + " cut at " + std::to_string(cut));
        }
    }
}

TEST(RegistryText, NewKeysAreWrittenAsRegeditWritesThem) {
    RegistryFile file;
    ASSERT_TRUE(file.Parse("REGEDIT4\r\n\r\n[A]\r\n\"x\"=dword:00000001\r\n"));
    file.SetValue(file.AddKey("A\\B"), "Port Number", 4, {7, 0, 0, 0});
    file.SetValue(file.AddKey("a"), "s", 1, {'a', '"', 0});
    EXPECT_EQ(file.Serialise(),
              "REGEDIT4\r\n\r\n[A]\r\n\"x\"=dword:00000001\r\n\"s\"=\"a\\\"\"\r\n\r\n"
              "[A\\B]\r\n\"Port Number\"=dword:00000007\r\n\r\n");
    EXPECT_TRUE(file.KeyExists("a") && file.KeyExists("A\\b") && !file.KeyExists("A\\B\\C"));
}

}  // namespace
