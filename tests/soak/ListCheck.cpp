#include "tests/soak/ListCheck.h"

#include <functional>

namespace {

constexpr size_t kRecent = 256;

}  // namespace

// What the list shows of a received line: without its line end, control bytes as a middle
// dot (Windows-1252 0xB7).
std::string ListCheck::Shown(std::string_view received) {
    while (!received.empty() && (received.back() == '\r' || received.back() == '\n')) {
        received.remove_suffix(1);
    }
    std::string shown(received);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '\xB7';
        }
    }
    return shown;
}

uint64_t ListCheck::Fingerprint(std::string_view shown) {
    return std::hash<std::string_view>{}(shown);
}

void ListCheck::Add(std::string_view received) {
    ++received_;
    std::string shown = Shown(received);
    fingerprints_.push_back(Fingerprint(shown));
    if (fingerprints_.size() > cap_) {
        fingerprints_.pop_front();
    }
    recent_.push_back(std::move(shown));
    if (recent_.size() > kRecent) {
        recent_.pop_front();
    }
}

bool ListCheck::TopMatches(const LineStore& store, size_t count) const {
    if (count > recent_.size() || count > store.Size()) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        if (store.Line(i) != recent_[recent_.size() - 1 - i]) {
            return false;
        }
    }
    return true;
}

bool ListCheck::AllMatch(const LineStore& store) const {
    if (store.Size() != fingerprints_.size() || store.Size() > store.Cap()) {
        return false;
    }
    for (size_t i = 0; i < store.Size(); ++i) {
        if (Fingerprint(store.Line(i)) != fingerprints_[fingerprints_.size() - 1 - i]) {
            return false;
        }
    }
    return true;
}
