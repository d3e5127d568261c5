// Arbitrary text read as the registry file, then a setting stored as the monitor stores it:
// whatever was read, and what was added, reads back unchanged from the text written.
#include "platform/posix/RegistryFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::RegistryFile file;
    file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    platform::RegistryFile::SetValue(file.AddKey("HKEY_CURRENT_USER\\Software\\Veltmark\\Brenlow"),
                                     "Baud Rate", 4, {0x00, 0x4B, 0x00, 0x00});  // REG_DWORD
    const std::string text = file.Serialise();
    platform::RegistryFile again;
    FUZZ_CHECK(again.Parse(text) && again.Serialise() == text);
    return 0;
}
