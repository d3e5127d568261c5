#pragma once

#include <fstream>
#include <string>
#include <vector>

// The real recording's lines as a receiver sends them, CR LF included.
inline std::vector<std::string> CorpusLines() {
    std::vector<std::string> lines;
    std::ifstream in(BRENLOW_CORPUS_DIR "/real.nmea");
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line + "\r\n");
    }
    return lines;
}
