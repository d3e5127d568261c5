#pragma once

#include <cstddef>
#include <string>

// A received line as the list shows it: the trailing line end cut, any other control byte
// shown as a middle dot (Windows-1252), so that no byte can end or garble the text.
std::string ListText(const char* line, size_t length);
