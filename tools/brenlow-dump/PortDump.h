#pragma once

#include "ais/AisDecoder.h"
#include "tools/brenlow-dump/DumpOptions.h"
#include "tools/brenlow-dump/JsonWriter.h"

// Decodes live from COM port `options.port` with the monitor's stored line settings until
// `options.seconds` have passed (0: until interrupted), recording every line when asked. An
// absent or busy port is waited for; with `options.summary`, what the port brought in is written
// at the end as one JSON object on standard error. Returns the exit status.
int DumpPort(const DumpOptions& options, AisDecoder& decoder, JsonWriter& json);
