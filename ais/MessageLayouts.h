#pragma once

#include <cstdint>
#include <span>

#include "ais/AisTarget.h"

// The fields of one message being written into a record.
struct MessageFields {
    AisTarget& record;
    int eta[4] = {0, 0, 0, 0};  // month, day, hour, minute
};

// One field of a message layout: where it lies and where it goes. A row stores either a
// number (converted by `store`) or text (`length` / 6 characters into `text`); a row with
// neither is not read.
struct LayoutRow {
    int start;
    int length;
    void (*store)(MessageFields&, int32_t raw);
    char* (*text)(AisTarget&);
};

// Types 1, 2 and 3 (position report) and type 5 (static and voyage related data), in bit
// order; the MMSI (bits 9-38) is read before the record is chosen.
extern const std::span<const LayoutRow> PositionReportLayout;
extern const std::span<const LayoutRow> StaticReportLayout;

// Data bits (fill bits excluded) a message needs: a position report up to its heading; a static
// report its 420 bits, the last destination character of a longer one being optional.
inline constexpr int kPositionReportMinBits = 137;
inline constexpr int kStaticReportMinBits = 420;

extern const char* const MonthAbbrevNames[13];

// "%2d %s  %02d:%02d" of day, month, hour, minute, or "n/a" when any is out of range.
void FormatEta(std::span<const int, 4> eta, char* out, int size);
