// What each text of the Linux settings file reads as, and what is written back from it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/posix/RegistryFile.h"
#include "tests/support/RegistryWithin.h"

namespace {

using platform::RegistryFile;

// Latin-1 as UTF-16LE with its byte-order mark, as regedit exports.
std::string Utf16(const std::string& text) {
    std::string out = "\xFF\xFE";
    for (char c : text)
        (out += c) += '\0';
    return out;
}

const std::string kFull =
    "REGEDIT4\n\n; kept\n[K]\n\"D\"=dword:00000007\n\"S\"=\"a\\\\b\\\"c\"\n"
    "\"H\"=hex:01,02,\\\n  03\n@=hex(7):41,00,00\n\n[K\\Sub]\n\"d\"=-\n\n";
const std::string k5 =
    "Windows Registry Editor Version 5.00\r\n\r\n[K]\r\n\"D\"=dword:00000007\r\n";

// reads: "name=type:data in hex" for values of key K ("KEY/name" for another key, "@" for the
// default value); type 0: not read. asRead: unchanged, it is written back byte for byte.
struct TextCase {
    const char* what;
    std::string bytes;
    bool clean, asRead;
    const char* reads;
} const kCases[] = {
    {"REGEDIT4, LF, values of every kind, comments", kFull, true, true,
     "D=4:07000000 s=1:615c62226300 H=3:010203 @=7:410000 K\\Sub/d=0:"},
    {"version 5.00, CR LF", k5, true, true, "D=4:07000000"},
    {"UTF-16LE with its mark", Utf16(k5 + "\"H\"=hex(2):41,00,\\\r\n  00,00\r\n\"S\"=\"\xFC\"\r\n"),
     true, true, "D=4:07000000 H=2:41000000 S=1:c3bc00"},
    {"UTF-16LE with a byte left over", Utf16(k5) + "A", false, false, "D=4:07000000"},
    {"UTF-16 without its mark", Utf16(k5).substr(2), false, false, "D=0:"},
    {"UTF-8 mark", "\xEF\xBB\xBF" + k5, true, true, "D=4:07000000"},
    {"CR line ends", "REGEDIT4\r\r[K]\r\"D\"=dword:00000007\r", true, false, "D=4:07000000"},
    {"no header", "[K]\n\"D\"=dword:00000007\n", false, false, "D=4:07000000"},
    {"names ignore case; the later value counts",
     "REGEDIT4\n[K]\n\"D\"=dword:00000001\n[k]\n\"d\"=dword:00000007\n", true, false,
     "D=4:07000000"},
    {"unknown value types are kept", "REGEDIT4\n[K]\n\"Q\"=hex(b):01,02,03,04,05,06,07,08\n", true,
     true, "Q=11:0102030405060708"},
    {"what cannot be read is left out, the rest is read",
     "REGEDIT4\n[K]\n\"Q\"=qword:1\n\"E\"=dword:00000007\n\"D\"=dword:0000007\n\"S\"=\"ab\n"
     "\"F\"=dword:00000007\n\"H\"=hex:01,2\n\"C\"=dword:0000\x01"
     "007\n[M\n\"X\"=dword:00000007\n"
     "[L]\n\"H\"=hex:01,\\\n[N]\n\"D\"=dword:00000007\n\"H\"=hex(2):41,00,\\\n  42,00",
     false, false,
     "Q=0: E=4:07000000 D=0: S=0: F=4:07000000 H=0: C=0: M/X=0: L/H=0: N/D=4:07000000 N/H=0:"},
    {"empty file", "", true, false, "D=0:"},
};

// "type:data in hex" of a value, "0:" when there is none.
std::string Described(const RegistryFile& file, const std::string& key, const std::string& name) {
    const platform::RegistryKey* k = file.FindKey(key);
    const platform::RegistryValue* v = k != nullptr ? RegistryFile::FindValue(*k, name) : nullptr;
    std::string out = std::to_string(v != nullptr ? v->type : 0) + ":";
    for (size_t i = 0; v != nullptr && i < v->data.size(); ++i)
        (out += "0123456789abcdef"[v->data[i] >> 4]) += "0123456789abcdef"[v->data[i] & 15];
    return out;
}

TEST(RegistryText, ReadsWhatEachTextHoldsAndWritesAllOfItBack) {
    for (const TextCase& c : kCases) {
        RegistryFile file;
        EXPECT_EQ(file.Parse(c.bytes), c.clean) << c.what;
        std::istringstream reads(c.reads);
        for (std::string read; reads >> read;) {
            const size_t slash = read.find('/'), is = read.find('=');
            const std::string key = slash == std::string::npos ? "K" : read.substr(0, slash);
            std::string name = read.substr(slash + 1, is - slash - 1);
            EXPECT_EQ(Described(file, key, name == "@" ? "" : name), read.substr(is + 1))
                << c.what << ": " << read;
        }
        EXPECT_TRUE(!c.asRead || file.Serialise() == c.bytes) << c.what;
        // A setting stored: the text keeps its mark and header and reads back whole.
        file.SetValue(file.AddKey("K\\New"), "D", 4, {7, 0, 0, 0});
        RegistryFile again;
        EXPECT_TRUE(again.Parse(file.Serialise()) && Within(file, again)) << c.what;
        if (!c.asRead)
            continue;
        const size_t headerEnd = c.bytes.find(c.bytes[0] == '\xFF' ? '\r' : '\n');
        EXPECT_EQ(file.Serialise().substr(0, headerEnd), c.bytes.substr(0, headerEnd)) << c.what;
        // Cut at any byte: no value reads otherwise than whole.
        for (size_t cut = 0; cut < c.bytes.size(); ++cut) {
            RegistryFile part;
            part.Parse(std::string_view(c.bytes).substr(0, cut));
            EXPECT_TRUE(Within(part, again)) << c.what << " cut at " << cut;
        }
    }
}

TEST(RegistryText, NewKeysAreWrittenAsRegeditWritesThem) {
    RegistryFile file;
    ASSERT_TRUE(file.Parse(k5));
    file.SetValue(file.AddKey("K\\New"), "Port Number", 4, {7, 0, 0, 0});
    file.SetValue(file.AddKey("k"), "s", 1, {'a', '"', 0});
    EXPECT_EQ(file.Serialise(), k5 + "\"s\"=\"a\\\"\"\r\n\r\n[K\\New]\r\n"
                                     "\"Port Number\"=dword:00000007\r\n\r\n");
}

}  // namespace
