#pragma once

#include <string>
#include <string_view>

#include "ais/AisTarget.h"
#include "tools/brenlow-sim/AisEncoder.h"

// Compare a decoded record with the raw values the simulator encoded. Each returns an empty
// text when every field of the message matches, else the first field that does not.
std::string PositionMismatch(const AisTarget& record, const PositionReport& sent);
std::string StaticMismatch(const AisTarget& record, const StaticReport& sent);
