// Arbitrary bytes read as the registry file, then a setting stored as the monitor stores it:
// the text written reads back whole, unchanged and with every value that was read, and a cut
// of it reads no value otherwise than whole.
#include "platform/posix/RegistryFile.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/RegistryWithin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::RegistryFile file;
    file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    file.SetValue(file.AddKey("HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow"), "Baud Rate", 4,
                  {0x00, 0x4B, 0x00, 0x00});  // REG_DWORD
    const std::string text = file.Serialise();
    platform::RegistryFile again;
    FUZZ_CHECK(again.Parse(text) && again.Serialise() == text);
    FUZZ_CHECK(again.FindKey("HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow") != nullptr);
    FUZZ_CHECK(Within(file, again));
    platform::RegistryFile cut;
    cut.Parse(std::string_view(text).substr(0, size % (text.size() + 1)));
    FUZZ_CHECK(Within(cut, again));
    return 0;
}
