#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/posix/RegistryStorage.h"
#include "tests/support/RegistrySandbox.h"

// A temporary XDG_CONFIG_HOME holds the registry file.
static std::string sandboxRoot;
static std::optional<std::string> savedConfigHome;

RegistrySandbox::RegistrySandbox() {
    char root[] = "/tmp/brenlow-registry-XXXXXX";
    if (mkdtemp(root) == nullptr)
        return;
    sandboxRoot = root;
    const char* previous = std::getenv("XDG_CONFIG_HOME");
    savedConfigHome = previous != nullptr ? std::optional<std::string>(previous) : std::nullopt;
    ready = setenv("XDG_CONFIG_HOME", root, 1) == 0;
}

RegistrySandbox::~RegistrySandbox() {
    savedConfigHome ? setenv("XDG_CONFIG_HOME", savedConfigHome->c_str(), 1)
                    : unsetenv("XDG_CONFIG_HOME");
    if (!sandboxRoot.empty()) {
        std::error_code error;  // a test may have left its folder read-only
        std::filesystem::permissions(sandboxRoot + "/brenlow", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(sandboxRoot, error);
    }
}

bool RegistrySandbox::SetRawValue(const char* keyPath, const char* name, uint32_t type,
                                  const void* data, uint32_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    platform::RegistryStorage storage;
    platform::RegistryFile& file = storage.File();
    file.SetValue(file.AddKey(std::string("HKEY_CURRENT_USER\\") + keyPath), name, type,
                  std::vector<uint8_t>(bytes, bytes + size));
    return storage.WriteStatus() == platform::kRegSuccess &&
           storage.Commit() == platform::kRegSuccess;
}

// A file without write permission is left alone, by root too; it can still be read.
bool RegistrySandbox::DenyWrites() {
    const char keep[] = "kept";
    return SetRawValue("Software\\RegistrySandbox", "", platform::kRegTypeString, keep,
                       sizeof keep) &&
           chmod(platform::RegistryStorage::FilePath().c_str(), 0444) == 0;
}
