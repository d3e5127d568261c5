#pragma once

#include <map>
#include <string>

#include "app/LineStore.h"
#include "app/TargetView.h"

// The window without a display: the bounded line list and the last text of each control.
class HeadlessView : public TargetView {
public:
    void InsertLineAtTop(const char* line, size_t length) override {
        lines.PushFront(line, length);
    }
    void SetControlText(int id, const std::string& cp1252) override { texts[id] = cp1252; }

    std::string Text(int id) const {
        auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    }

    LineStore lines;
    std::map<int, std::string> texts;
};
