#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

// Values as the registry holds them, read and written past the store.
using RawValue = std::pair<uint32_t, std::vector<uint8_t>>;  // type 0: missing

inline RawValue Raw(const std::string& keyPath, const char* name) {
    platform::RegKey key = nullptr;
    uint32_t type = 0, size = 64;
    std::vector<uint8_t> data(size);
    if (platform::RegistryOpenKey(platform::CurrentUserKey(), keyPath.c_str(), &key) == 0) {
        if (platform::RegistryQueryValue(key, name, &type, data.data(), &size) != 0) {
            type = 0;
        }
        platform::RegistryCloseKey(key);
    }
    data.resize(type != 0 ? size : 0);
    return {type, data};
}
inline RawValue Dword(uint32_t v) {
    return {platform::kRegTypeDword,
            {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}};
}
inline long SetDword(const char* keyPath, const char* name, uint32_t value) {
    platform::RegKey key = nullptr;
    long status = platform::RegistryCreateKey(platform::CurrentUserKey(), keyPath, &key);
    if (status == platform::kRegSuccess) {
        status = platform::RegistrySetDword(key, name, value);
        platform::RegistryCloseKey(key);
    }
    return status;
}
