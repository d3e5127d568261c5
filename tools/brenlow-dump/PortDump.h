#pragma once

#include "ais/AisDecoder.h"
#include "tools/brenlow-dump/JsonWriter.h"

// Decodes live from COM port `port` with the monitor's stored line settings until `seconds`
// have passed (0: until interrupted). Returns the exit status.
int DumpPort(int port, double seconds, AisDecoder& decoder, JsonWriter& json);
