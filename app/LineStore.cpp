#include "app/LineStore.h"

#include "app/ListText.h"

void LineStore::PushFront(const char* line, size_t length) {
    if (lines.size() >= cap) {
        lines.pop_back();
    }
    lines.push_front(ListText(line, length));
}
