#pragma once

#include <fstream>
#include <iterator>
#include <string>

// What the file at `path` holds, byte for byte; "" when it cannot be read.
inline std::string Slurp(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}
