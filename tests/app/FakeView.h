#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/LineSource.h"
#include "app/TargetView.h"

// Records what a tick does to the window.
class FakeView : public TargetView {
public:
    void InsertLineAtTop(const char* line, size_t length) override {
        lines.insert(lines.begin(), std::string(line, length));
    }
    void SetControlText(int id, const std::string& text) override {
        writes.push_back(id);
        texts[id] = text;
    }
    std::vector<std::string> lines;  // top first
    std::vector<int> writes;
    std::map<int, std::string> texts;
};

// Hands out scripted lines, one per call, as the link would.
class ScriptedSource : public LineSource {
public:
    uint32_t ReadLine(char* buffer, uint32_t limit) override {
        if (next >= script.size()) {
            return 0;
        }
        const std::string& line = script[next++];
        const size_t n = line.copy(buffer, limit);
        buffer[n] = '\0';
        return static_cast<uint32_t>(n);
    }
    void Add(const std::string& line) { script.push_back(line); }
    std::vector<std::string> script;
    size_t next = 0;
};
