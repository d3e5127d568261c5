#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

// What the store keeps between calls, in one place. The program has one user and one GUI
// thread, so there is one, for the process (StoreState); its tests look at it too.
struct SettingsState {
    // The registry company name; empty: the default.
    std::string companyName;
    // Application key name used in paths; copied from ModuleInfo::fileTitle by every
    // SettingsScope.
    std::string appKeyName;
    // Keys opened by OpenKeyChain, outermost first: Software, company, application, section.
    platform::RegKey keyStack[4] = {};
    // Number of valid entries in keyStack.
    int32_t keyDepth = 0;
    // Why the last OpenKeyChain returned 0: the Win32 status of the call that failed.
    long keyChainStatus = platform::kRegSuccess;
    // Number of SettingsUpdate groups open, and the status of the first write that failed in
    // the outermost one (0 while none has).
    int32_t updateDepth = 0;
    long updateFailure = platform::kRegSuccess;
};

SettingsState& StoreState();
