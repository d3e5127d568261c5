#include "platform/ModulePath.h"

#include <windows.h>

namespace platform {

uint32_t ModuleFileName(char* buffer, uint32_t size) {
    if (size == 0)
        return 0;
    const DWORD length = GetModuleFileNameA(nullptr, buffer, size);
    // A full buffer means the path was cut short (and, before Vista, not terminated).
    if (length == 0 || length >= size) {
        buffer[0] = '\0';
        return 0;
    }
    return length;
}

}  // namespace platform
