#pragma once

#include "ais/AisDecoder.h"
#include "tools/brenlow-dump/JsonWriter.h"

// Decodes live from COM port `port` with the monitor's stored line settings until `seconds`
// have passed (0: until interrupted). An absent or busy port is waited for; with `summary`,
// what the port brought in is written at the end as one JSON object on standard error.
// Returns the exit status.
int DumpPort(int port, double seconds, bool summary, AisDecoder& decoder, JsonWriter& json);
