#pragma once

#include <cstdint>

// A private, empty per-user registry for the lifetime of one test; the user's own settings
// are never touched. One implementation per platform.
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // True when the sandbox is in place.
    bool Ready() const { return ready; }

    // Stores a value of any type under HKEY_CURRENT_USER\`keyPath` (creating the key).
    bool SetRawValue(const char* keyPath, const char* name, uint32_t type, const void* data,
                     uint32_t size);

    // From now on the registry refuses every write but can still be read. False when this
    // platform cannot arrange that (the test is then skipped).
    bool DenyWrites();

private:
    bool ready = false;
};
