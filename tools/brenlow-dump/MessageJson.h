#pragma once

#include <cstdint>

#include "ais/AisDecoder.h"
#include "tools/brenlow-dump/JsonWriter.h"

// One decoded message as one JSON line: where it came from, the record fields the message
// wrote, and every field text of the record.
void WriteMessageJson(JsonWriter& json, uint64_t lineNumber, uint32_t mmsi,
                      const DecodedMessage& message);
