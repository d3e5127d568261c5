#include <windows.h>

#include <string>

#include "tests/support/RegistrySandbox.h"

// HKEY_CURRENT_USER is redirected, for this process only, to a fresh key that holds an empty
// "Software" key, as a new user's hive does.
namespace {

std::string sandboxPath;  // below the real HKEY_CURRENT_USER
int sandboxCount = 0;

}  // namespace

RegistrySandbox::RegistrySandbox() {
    sandboxPath = "Software\\BrenlowTestSandbox-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++sandboxCount);
    RegDeleteTreeA(HKEY_CURRENT_USER, sandboxPath.c_str());
    HKEY root = nullptr, software = nullptr;
    ready = RegCreateKeyA(HKEY_CURRENT_USER, sandboxPath.c_str(), &root) == ERROR_SUCCESS &&
            RegCreateKeyA(root, "Software", &software) == ERROR_SUCCESS &&
            RegOverridePredefKey(HKEY_CURRENT_USER, root) == ERROR_SUCCESS;
    RegCloseKey(software);
    RegCloseKey(root);
}

RegistrySandbox::~RegistrySandbox() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, sandboxPath.c_str());
}

bool RegistrySandbox::SetRawValue(const char* keyPath, const char* name, uint32_t type,
                                  const void* data, uint32_t size) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, keyPath, name, type, data, size) == ERROR_SUCCESS;
}

bool RegistrySandbox::DenyWrites() {
    // Not arranged here: Wine lets a key be created below one that may only be read. What the
    // store does with refused writes is shared, and checked on Linux.
    return false;
}
