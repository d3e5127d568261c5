#pragma once

#include <cstdint>

namespace platform {

// GetModuleFileNameA(NULL, ...): the running executable's full path, NUL-terminated.
// Returns its length, or 0 when it cannot be had or does not fit.
uint32_t ModuleFileName(char* buffer, uint32_t size);

}  // namespace platform
