#pragma once

#include <string>
#include <vector>

// What brenlow-dump was asked to do.
struct DumpOptions {
    int port = 0;        // 0: files
    double seconds = 0;  // 0: until interrupted
    bool summary = false;
    const char* record = nullptr;  // with port: the recording to make
    bool overwrite = false;        // an existing recording may be replaced
    bool help = false;
    std::vector<const char*> files;  // none: standard input
};

// The options in any order. False with `error` saying why: an unknown option, a missing or
// bad value, or options that do not go together.
bool ParseOptions(int argc, char** argv, DumpOptions& out, std::string& error);
