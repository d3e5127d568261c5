#include <aclapi.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/RegistrySandbox.h"

// HKEY_CURRENT_USER is redirected, for this process only, to a fresh key that holds an empty
// "Software" key, as a new user's hive does.
namespace {

constexpr const char* kSandboxParent = "Software\\BrenlowTestSandbox";

std::string sandboxPath;   // below the real HKEY_CURRENT_USER
std::string readOnlyPath;  // the frozen copy made by DenyWrites, if any
int sandboxCount = 0;

bool Redirect(const std::string& path, REGSAM access) {
    HKEY root = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &root) != ERROR_SUCCESS)
        return false;
    const bool done = RegOverridePredefKey(HKEY_CURRENT_USER, root) == ERROR_SUCCESS;
    RegCloseKey(root);
    return done;
}

// Volatile copy: the system refuses to create a lasting key below a volatile one, which is
// the only kind of key the settings store creates.
bool CopyVolatile(HKEY from, HKEY to) {
    char name[256];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        const LONG status =
            RegEnumValueA(from, i, name, &nameSize, nullptr, &type, data, &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS ||
            RegSetValueExA(to, name, 0, type, data, dataSize) != ERROR_SUCCESS)
            return false;
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        const LONG status =
            RegEnumKeyExA(from, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        HKEY source = nullptr;
        HKEY target = nullptr;
        if (status != ERROR_SUCCESS ||
            RegOpenKeyExA(from, name, 0, KEY_READ, &source) != ERROR_SUCCESS)
            return false;
        bool copied = RegCreateKeyExA(to, name, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                      nullptr, &target, nullptr) == ERROR_SUCCESS &&
                      CopyVolatile(source, target);
        RegCloseKey(source);
        if (target != nullptr)
            RegCloseKey(target);
        if (!copied)
            return false;
    }
    return true;
}

// Every key of the tree may be read and nothing else, for anyone.
bool MakeReadOnly(HKEY key, PACL readOnly) {
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name;
        const LONG status =
            RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        HKEY child = nullptr;
        if (status != ERROR_SUCCESS ||
            RegOpenKeyExA(key, name, 0, KEY_READ | WRITE_DAC, &child) != ERROR_SUCCESS)
            return false;
        const bool done = MakeReadOnly(child, readOnly);
        RegCloseKey(child);
        if (!done)
            return false;
    }
    return SetSecurityInfo(key, SE_REGISTRY_KEY,
                           DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                           nullptr, readOnly, nullptr) == ERROR_SUCCESS;
}

bool CreateKey(const std::string& path, DWORD options) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteTree(const std::string& path) {
    if (!path.empty())
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
}

}  // namespace

RegistrySandbox::RegistrySandbox() {
    char name[64];
    std::snprintf(name, sizeof name, "\\%lu-%d", GetCurrentProcessId(), ++sandboxCount);
    sandboxPath = std::string(kSandboxParent) + name;
    readOnlyPath.clear();
    DeleteTree(sandboxPath);
    // Another test program ending may remove the shared parent key just as it is made.
    for (int attempt = 0; attempt < 3 && !ready; ++attempt) {
        ready = CreateKey(sandboxPath + "\\Software", REG_OPTION_NON_VOLATILE) &&
                Redirect(sandboxPath, KEY_ALL_ACCESS);
    }
}

RegistrySandbox::~RegistrySandbox() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    DeleteTree(sandboxPath);
    DeleteTree(readOnlyPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, kSandboxParent);  // only when no other sandbox is left
    sandboxPath.clear();
    readOnlyPath.clear();
}

bool RegistrySandbox::SetRawValue(const char* keyPath, const char* name, uint32_t type,
                                  const void* data, uint32_t size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool RegistrySandbox::DenyWrites() {
    if (!ready || !readOnlyPath.empty())
        return ready;
    // A frozen copy of the sandbox takes its place.
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    readOnlyPath = sandboxPath + "-read-only";
    DeleteTree(readOnlyPath);

    EXPLICIT_ACCESSA access{};
    access.grfAccessPermissions = KEY_READ;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
    access.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = const_cast<char*>("EVERYONE");
    PACL readOnly = nullptr;
    if (SetEntriesInAclA(1, &access, nullptr, &readOnly) != ERROR_SUCCESS)
        return false;

    HKEY from = nullptr;
    HKEY to = nullptr;
    bool done =
        RegOpenKeyExA(HKEY_CURRENT_USER, sandboxPath.c_str(), 0, KEY_READ, &from) ==
            ERROR_SUCCESS &&
        RegCreateKeyExA(HKEY_CURRENT_USER, readOnlyPath.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &to, nullptr) == ERROR_SUCCESS &&
        CopyVolatile(from, to) && MakeReadOnly(to, readOnly);
    if (from != nullptr)
        RegCloseKey(from);
    if (to != nullptr)
        RegCloseKey(to);
    LocalFree(readOnly);
    done = done && Redirect(readOnlyPath, KEY_READ);
    if (!done)
        ready = Redirect(sandboxPath, KEY_ALL_ACCESS);
    return done;
}
