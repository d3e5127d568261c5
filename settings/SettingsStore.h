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
// Stores `value` as REG_DWORD, creating every key on the way. True when stored; inside a
// SettingsUpdate, true when taken into the update, whose Commit then says whether it was.
bool WriteDword(const char* section, const char* name, uint32_t value);

// Groups the store's reads and writes made while it lives into one update: on Linux one
// read of the file and at most one atomic write; on Windows each call is applied at once.
// Commit() ends the group and returns 0 or the Win32 status of the first write that failed
// (also a failed final write of the file). The destructor commits when Commit was not called.
// Groups may nest: an inner one's Commit gives the status so far, the outermost one writes.
// ReadDword and WriteDword outside any group are one update each.
class SettingsUpdate {
public:
    SettingsUpdate();
    ~SettingsUpdate();
    SettingsUpdate(const SettingsUpdate&) = delete;
    SettingsUpdate& operator=(const SettingsUpdate&) = delete;
    // Ends the group (once; later calls give the same status).
    long Commit();

private:
    bool committed = false;
    long status = 0;
};

// Plain words for a status that Commit returned, for "settings not saved: <words>".
const char* SettingsStatusText(long status);

std::string BuildKeyPath(const char* section);
std::string CompanyKeyName();
int OpenKeyChain(const char* section, platform::RegKey* deepest);
void CloseKeyChain();

// The executable's file name without directory and extension; empty until a SettingsScope
// could learn it.
const std::string& FileTitle();
