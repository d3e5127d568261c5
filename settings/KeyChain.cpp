#include "platform/Registry.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStore.h"

int OpenKeyChain(const char* section, platform::RegKey* deepest) {
    SettingsState& state = StoreState();
    platform::RegKey* keyStack = state.keyStack;
    int32_t& keyDepth = state.keyDepth;
    long& keyChainStatus = state.keyChainStatus;
    keyDepth = 0;
    keyChainStatus =
        platform::RegistryOpenKey(platform::CurrentUserKey(), "Software", &keyStack[0]);
    if (keyChainStatus != platform::kRegSuccess) {
        keyStack[0] = nullptr;
        return 0;
    }
    keyDepth = 1;
    keyChainStatus =
        platform::RegistryCreateKey(keyStack[0], CompanyKeyName().c_str(), &keyStack[1]);
    if (keyChainStatus != platform::kRegSuccess) {
        keyStack[1] = nullptr;
        platform::RegistryCloseKey(keyStack[0]);
        keyStack[0] = nullptr;
        keyDepth = 0;
        return 0;
    }
    keyDepth = 2;
    // A level that cannot be created is skipped: the value lands in the deepest key open.
    if (!state.appKeyName.empty()) {
        if (platform::RegistryCreateKey(keyStack[1], state.appKeyName.c_str(), &keyStack[2]) ==
            platform::kRegSuccess) {
            keyDepth = 3;
        } else {
            keyStack[2] = nullptr;
        }
    }
    if (section != nullptr && section[0] != '\0') {
        if (platform::RegistryCreateKey(keyStack[keyDepth - 1], section, &keyStack[keyDepth]) ==
            platform::kRegSuccess) {
            keyDepth += 1;
        } else {
            keyStack[keyDepth] = nullptr;
        }
    }
    if (deepest != nullptr) {
        *deepest = keyStack[keyDepth - 1];
    }
    return keyDepth;
}

void CloseKeyChain() {
    SettingsState& state = StoreState();
    for (int32_t i = 0; i < state.keyDepth; ++i) {
        platform::RegistryCloseKey(state.keyStack[i]);
        state.keyStack[i] = nullptr;
    }
}
