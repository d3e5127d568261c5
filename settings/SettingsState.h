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
