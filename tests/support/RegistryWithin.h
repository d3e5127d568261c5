#pragma once

#include "platform/posix/RegistryFile.h"

// Every value of `part` is in `whole` with the same type and data.
inline bool Within(const platform::RegistryFile& part, const platform::RegistryFile& whole) {
    for (const platform::RegistryKey& key : part.Keys()) {
        const platform::RegistryKey* other = whole.FindKey(key.path);
        for (const platform::RegistryValue& value : key.values) {
            const platform::RegistryValue* same =
                other != nullptr ? platform::RegistryFile::FindValue(*other, value.name) : nullptr;
            if (same == nullptr || same->type != value.type || same->data != value.data)
                return false;
        }
    }
    return true;
}
