#pragma once

#include <string>

// What the store knows of the running executable.
struct ModuleInfo {
    // The executable's file name without directory and extension; empty until learned.
    static std::string fileTitle;

    // Learns fileTitle from the module path while it is still empty; a path that cannot be
    // had leaves it empty for a later try.
    static void Learn();
};

// The file name part of `path` without drive, directory and extension. Both '/' and '\' end
// a directory, so Windows and POSIX paths split alike.
std::string FileTitleOf(const char* path);
