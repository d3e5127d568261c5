// Parses arbitrary text as the registry file, then checks that whatever was read, and whatever
// is added to it afterwards, reads back unchanged from the written text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/posix/RegistryFile.h"
#include "tests/fuzz/FuzzCheck.h"

using platform::RegistryFile;
using platform::RegistryKey;
using platform::RegistryValue;

namespace {

bool SameKeys(const std::vector<RegistryKey>& a, const std::vector<RegistryKey>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t k = 0; k < a.size(); ++k) {
        if (a[k].path != b[k].path || a[k].values.size() != b[k].values.size())
            return false;
        for (size_t v = 0; v < a[k].values.size(); ++v) {
            const RegistryValue& x = a[k].values[v];
            const RegistryValue& y = b[k].values[v];
            if (x.name != y.name || x.type != y.type || x.data != y.data)
                return false;
        }
    }
    return true;
}

void CheckRoundTrip(const RegistryFile& file) {
    const std::string text = file.Serialise();
    RegistryFile again;
    if (!again.Parse(text))
        std::fprintf(stderr, "written text:\n%s\n", text.c_str());
    FUZZ_CHECK(again.Parse(text));
    FUZZ_CHECK(SameKeys(file.Keys(), again.Keys()));
    FUZZ_CHECK(again.Serialise() == text);
}

// Names as programs give them: any printable or non-ASCII byte, and tabs.
std::string Name(FuzzedDataProvider& input, size_t maxLength) {
    std::string name =
        input.ConsumeBytesAsString(input.ConsumeIntegralInRange<size_t>(0, maxLength));
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F)
            c = static_cast<char>('a' + byte % 26);
    }
    return name;
}

// One or more non-empty names joined by single backslashes, not starting with "-".
std::string KeyPath(FuzzedDataProvider& input) {
    std::string path;
    const int parts = input.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < parts; ++i) {
        std::string part = Name(input, 12);
        for (char& c : part)
            if (c == '\\')
                c = '/';
        if (part.empty())
            part = "k";
        if (i > 0)
            path += '\\';
        path += part;
    }
    if (path.front() == '-')
        path.front() = '_';
    return path;
}

void Edit(RegistryFile& file, FuzzedDataProvider& input) {
    while (input.remaining_bytes() > 0) {
        if (file.Keys().empty() || input.ConsumeIntegralInRange(0, 3) == 0) {
            file.AddKey(KeyPath(input));
            continue;
        }
        const size_t index = input.ConsumeIntegralInRange<size_t>(0, file.Keys().size() - 1);
        // Keys() is read-only; AddKey with the same path gives the stored key to edit.
        RegistryKey& key = file.AddKey(file.Keys()[index].path);
        const std::string name = Name(input, 16);
        uint32_t type = input.ConsumeIntegral<uint32_t>();
        if (input.ConsumeBool())
            type %= 12;
        std::vector<uint8_t> data =
            input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 80));
        RegistryFile::SetValue(key, name, type, std::move(data));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last bytes drive the edits; the rest is the file text.
    FuzzedDataProvider input(data, size);
    const size_t editBytes = input.ConsumeIntegralInRange<size_t>(0, 256);
    const size_t textBytes =
        input.remaining_bytes() > editBytes ? input.remaining_bytes() - editBytes : 0;
    const std::string text = input.ConsumeBytesAsString(textBytes);

    RegistryFile file;
    file.Parse(text);
    CheckRoundTrip(file);
    Edit(file, input);
    CheckRoundTrip(file);
    return 0;
}
