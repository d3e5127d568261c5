#include "settings/ModuleInfo.h"

#include <cctype>
#include <cstring>

#include "platform/ModulePath.h"

std::string ModuleInfo::fileTitle;

void ModuleInfo::Learn() {
    if (!fileTitle.empty()) {
        return;
    }
    char path[260];
    if (platform::ModuleFileName(path, sizeof path) == 0) {
        return;
    }
    fileTitle = FileTitleOf(path);
}

std::string FileTitleOf(const char* path) {
    if (path == nullptr) {
        return {};
    }
    const char* name = path;
    if (std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        name = path + 2;
    }
    for (const char* p = name; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            name = p + 1;
        }
    }
    const char* dot = std::strrchr(name, '.');
    return dot != nullptr ? std::string(name, dot) : std::string(name);
}
