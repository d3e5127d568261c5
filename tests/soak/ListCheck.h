#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "app/LineStore.h"

// Keeps a fingerprint of every line the window should still list, newest last, so that the
// whole list can be compared now and then without a second copy of its text.
class ListCheck {
public:
    explicit ListCheck(size_t cap) : cap_(cap) {}

    // A line as received, after the view has listed it.
    void Add(std::string_view received);
    // The top `count` lines are the newest ones received, in order, as the list shows them.
    bool TopMatches(const LineStore& store, size_t count) const;
    // Every line listed is in its place; the list holds as many as it should.
    bool AllMatch(const LineStore& store) const;

    uint64_t Received() const { return received_; }
    uint64_t mismatches = 0;

private:
    static std::string Shown(std::string_view received);
    static uint64_t Fingerprint(std::string_view shown);

    size_t cap_;
    uint64_t received_ = 0;
    std::deque<uint64_t> fingerprints_;
    std::deque<std::string> recent_;  // the last few lines as shown, newest last
};
