#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

// 32-bit settings under HKEY_CURRENT_USER\Software\<company>\<application>\<section>.
// Process-wide state; every call comes from the one GUI thread.

// The application's registry company name; set first thing at start-up.
void SetRegistryCompanyName(const char* company);

// Construct one before any ReadDword or WriteDword: learns the executable's file title.
class SettingsScope {
public:
    SettingsScope();
};

// The stored value, or `defaultValue` (which is then stored) when it is missing.
uint32_t ReadDword(const char* section, const char* name, uint32_t defaultValue);
// Stores `value` as REG_DWORD, creating every key on the way. True when stored.
bool WriteDword(const char* section, const char* name, uint32_t value);

std::string BuildKeyPath(const char* section);
std::string CompanyKeyName();
int OpenKeyChain(const char* section, platform::RegKey* deepest);
void CloseKeyChain();

// The executable's file name without directory and extension; empty until a SettingsScope
// could learn it.
const std::string& FileTitle();
