#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/posix/RegistryStorage.h"
#include "tests/support/RegistrySandbox.h"

// A temporary XDG_CONFIG_HOME holds the registry file.
namespace {

std::string sandboxRoot;
std::string savedConfigHome;
bool hadConfigHome = false;

}  // namespace

RegistrySandbox::RegistrySandbox() {
    char root[] = "/tmp/brenlow-registry-XXXXXX";
    if (mkdtemp(root) == nullptr) {
        return;
    }
    sandboxRoot = root;
    const char* previous = std::getenv("XDG_CONFIG_HOME");
    hadConfigHome = previous != nullptr;
    savedConfigHome = previous != nullptr ? previous : "";
    ready = setenv("XDG_CONFIG_HOME", root, 1) == 0;
}

RegistrySandbox::~RegistrySandbox() {
    if (hadConfigHome) {
        setenv("XDG_CONFIG_HOME", savedConfigHome.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    if (!sandboxRoot.empty()) {
        std::error_code error;
        std::filesystem::permissions(sandboxRoot + "/brenlow", std::filesystem::perms::owner_all,
                                     error);
        std::filesystem::remove_all(sandboxRoot, error);
    }
}

bool RegistrySandbox::SetRawValue(const char* keyPath, const char* name, uint32_t type,
                                  const void* data, uint32_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    const std::string path = std::string("HKEY_CURRENT_USER\\") + keyPath;
    return platform::RegistryStorage::Update([&](platform::RegistryFile& file) {
               platform::RegistryFile::SetValue(file.AddKey(path), name, type,
                                                std::vector<uint8_t>(bytes, bytes + size));
               return platform::kRegSuccess;
           }) == platform::kRegSuccess;
}

// A folder in the place of the lock file: nothing can open it for writing, root included.
bool RegistrySandbox::DenyWrites() {
    const std::string folder = platform::RegistryStorage::FolderPath();
    const std::string lock = platform::RegistryStorage::FilePath() + ".lock";
    mkdir(folder.c_str(), 0700);
    unlink(lock.c_str());
    return mkdir(lock.c_str(), 0700) == 0 && chmod(folder.c_str(), 0500) == 0;
}
