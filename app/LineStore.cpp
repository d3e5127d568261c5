#include "app/LineStore.h"

#include "app/ListText.h"

void LineStore::PushFront(const char* line, size_t length) {
    if (lines_.size() >= cap_) {
        lines_.pop_back();
    }
    lines_.push_front(ListText(line, length));
}
