#include "app/LineStore.h"

namespace {

constexpr char kControlMark = '\xB7';  // middle dot in Windows-1252

bool IsLineEnd(char ch) {
    return ch == '\r' || ch == '\n';
}

}  // namespace

void LineStore::PushFront(const char* line, size_t length) {
    while (length > 0 && IsLineEnd(line[length - 1])) {
        --length;
    }
    std::string text(line, length);
    for (char& ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7F) {
            ch = kControlMark;
        }
    }
    if (lines_.size() >= cap_) {
        lines_.pop_back();
    }
    lines_.push_front(std::move(text));
}
