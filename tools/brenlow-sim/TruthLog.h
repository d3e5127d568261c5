#pragma once

#include <string>

#include "tools/brenlow-sim/TrafficGenerator.h"

// One JSON object (no newline) describing a sent message: raw field values as encoded
// (latitude and longitude in 1/10000 minute, speed and draught in tenths, course in tenths
// of a degree, rate of turn -128..127), texts without their "@" padding, the fault and the
// lines exactly as sent (control bytes and bytes above 127 as \u00XX).
std::string TruthLine(const SimMessage& message);
