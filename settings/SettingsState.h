#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

// The store's process-wide state, shared by its files (and looked at by its tests).

// Application key name used in paths; copied from ModuleInfo::fileTitle by every
// SettingsScope.
extern std::string appKeyName;

// Keys opened by OpenKeyChain, outermost first: Software, company, application, section.
extern platform::RegKey keyStack[4];
// Number of valid entries in keyStack.
extern int32_t keyDepth;

// Why the last OpenKeyChain returned 0: the Win32 status of the call that failed.
extern long keyChainStatus;

// Number of SettingsUpdate groups open, and the status of the first write that failed in the
// outermost one (0 while none has).
extern int32_t updateDepth;
extern long updateFailure;
