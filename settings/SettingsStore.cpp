#include "settings/SettingsStore.h"

#include "settings/ModuleInfo.h"
#include "settings/SettingsState.h"

SettingsState& StoreState() {
    static SettingsState state;
    return state;
}

namespace {

bool HasSection(const char* section) {
    return section != nullptr && section[0] != '\0';
}

uint32_t LittleEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

}  // namespace

void SetRegistryCompanyName(const char* company) {
    StoreState().companyName = company != nullptr ? company : "";
}

std::string CompanyKeyName() {
    const std::string& company = StoreState().companyName;
    return company.empty() ? "Pellgarth" : company;
}

SettingsScope::SettingsScope() {
    SettingsState& state = StoreState();
    state.keyDepth = 0;
    for (platform::RegKey& key : state.keyStack) {
        key = nullptr;
    }
    ModuleInfo::Learn();
    state.appKeyName = ModuleInfo::fileTitle;
}

const std::string& FileTitle() {
    return ModuleInfo::fileTitle;
}

std::string BuildKeyPath(const char* section) {
    std::string path = "Software\\" + CompanyKeyName();
    if (const std::string& application = StoreState().appKeyName; !application.empty()) {
        path += '\\';
        path += application;
    }
    if (HasSection(section)) {
        path += '\\';
        path += section;
    }
    return path;
}

bool WriteDword(const char* section, const char* name, uint32_t value) {
    SettingsState& state = StoreState();
    const bool grouped = state.updateDepth > 0;
    SettingsUpdate update;
    platform::RegKey deepest = nullptr;
    OpenKeyChain(section, &deepest);
    long status = state.keyChainStatus;
    if (status == platform::kRegSuccess) {
        status = platform::RegistrySetDword(deepest, name, value);
        CloseKeyChain();
    }
    if (state.updateFailure == platform::kRegSuccess) {
        state.updateFailure = status;
    }
    const long committed = update.Commit();
    return grouped ? status == platform::kRegSuccess : committed == platform::kRegSuccess;
}

uint32_t ReadDword(const char* section, const char* name, uint32_t defaultValue) {
    SettingsUpdate update;  // the default written back, if need be, in the same update
    platform::RegKey key = nullptr;
    if (platform::RegistryOpenKey(platform::CurrentUserKey(), BuildKeyPath(section).c_str(),
                                  &key) != platform::kRegSuccess) {
        WriteDword(section, name, defaultValue);
        return defaultValue;
    }
    uint8_t bytes[4] = {};
    uint32_t type = 0;
    uint32_t size = sizeof bytes;
    if (platform::RegistryQueryValue(key, name, &type, bytes, &size) != platform::kRegSuccess) {
        WriteDword(section, name, defaultValue);
        platform::RegistryCloseKey(key);
        return defaultValue;
    }
    platform::RegistryCloseKey(key);
    return type == platform::kRegTypeDword && size == sizeof bytes ? LittleEndian(bytes) : 0;
}
