#pragma once

#include <cstdint>

// The longest line the monitor takes whole, line end included. The window's poll cycle and the
// tools read at most this much a line; the serial link keeps the tail of a longer one.
inline constexpr uint32_t kLineLimit = 1024;
