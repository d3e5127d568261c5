#include "ais/SentenceOutcome.h"

#include <cstddef>
#include <iterator>

namespace {

constexpr const char* kNames[] = {"not NMEA",  "other NMEA", "decoded",   "collected",
                                  "ignored",   "checksum",   "form",      "payload",
                                  "fragments", "length",     "no station"};
static_assert(std::size(kNames) == kSentenceOutcomeCount);
static_assert(static_cast<int>(SentenceOutcome::NoStation) + 1 == kSentenceOutcomeCount);

}  // namespace

bool IsRefusal(SentenceOutcome outcome) {
    return outcome >= SentenceOutcome::Checksum;
}

const char* OutcomeName(SentenceOutcome outcome) {
    const auto index = static_cast<size_t>(outcome);
    return index < std::size(kNames) ? kNames[index] : "";
}
