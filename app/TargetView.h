#pragma once

#include <cstddef>
#include <string>

// What the poll cycle needs of the window.
class TargetView {
public:
    virtual ~TargetView() = default;
    // A received line as it came, bytes in Windows-1252 (may hold CR, LF or NUL).
    virtual void InsertLineAtTop(const char* line, size_t length) = 0;
    virtual void SetControlText(int id, const std::string& cp1252) = 0;
};
