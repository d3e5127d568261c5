#pragma once

#include <cstdint>

#include "ais/AisDecoder.h"
#include "app/LineSource.h"
#include "app/Reception.h"
#include "app/TargetView.h"

// One tick of the poll cycle: lists and decodes every line the source has ready, then shows
// the own vessel or the station that the tick's last decoded message concerned. Each line's
// outcome is counted in `reception` when one is given.
// Returns that MMSI, or 0 when nothing was decoded.
uint32_t RunPollTick(LineSource& source, AisDecoder& decoder, TargetView& view,
                     Reception* reception = nullptr, Reception::Clock::time_point now = {});
