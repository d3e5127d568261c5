#pragma once

// Icon 128 (radar, 32x32 and 16x16) and icon 129 (tick, 32x32) as XPM pixel tables.
namespace res {

extern const char* const kRadarIcon32[];
extern const char* const kRadarIcon16[];
extern const char* const kTickIcon32[];

}  // namespace res
