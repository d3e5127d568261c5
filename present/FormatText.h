#pragma once

#include <string>

// printf into a string of exactly the length the text needs: no buffer to size or to cut.
[[gnu::format(printf, 1, 2)]] std::string FormatText(const char* format, ...);
