#include "app/ListText.h"

namespace {

constexpr char kControlMark = '\xB7';

bool IsLineEnd(char ch) {
    return ch == '\r' || ch == '\n';
}

}  // namespace

std::string ListText(const char* line, size_t length) {
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
    return text;
}
