#include <cfloat>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "ais/AisTarget.h"

namespace {

// Room for any double in "%05.1lf" (up to 309 integer digits), so no text is ever cut short.
constexpr std::size_t kTextSize = DBL_MAX_10_EXP + 16;

std::string OneDecimal(double value, const char* unit) {
    char text[kTextSize];
    std::snprintf(text, sizeof text, "%05.1lf%s", value, unit);
    return text;
}

std::string Metres(int64_t total) {
    char text[32];
    std::snprintf(text, sizeof text, "%5" PRId64, total);
    return text;
}

}  // namespace

std::string AisTarget::MmsiText() const {
    char text[16];
    std::snprintf(text, sizeof text, "%" PRIu32, mmsi);
    return text;
}

std::string AisTarget::ImoNumberText() const {
    if (imoNumber == 0) {
        return "n/a";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%" PRIu32, imoNumber);
    return text;
}

// The range tests are written so that a NaN counts as not available.

std::string AisTarget::RateOfTurnText() const {
    if (!(rateOfTurn <= 720.0)) {
        return "n/a";
    }
    return OneDecimal(rateOfTurn, "");
}

std::string AisTarget::SpeedOverGroundText() const {
    if (!(speedOverGround <= 102.2)) {
        return "n/a";
    }
    if (speedOverGround == 102.2) {
        return "> 102";
    }
    return OneDecimal(speedOverGround, "");
}

std::string AisTarget::CourseOverGroundText() const {
    if (!(courseOverGround >= 0.0)) {
        return "n/a";
    }
    return OneDecimal(courseOverGround, "\xB0");
}

std::string AisTarget::TrueHeadingText() const {
    if (trueHeading < 0) {
        return "n/a";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%03" PRId32 "\xB0", trueHeading);
    return text;
}

// Summed in 64 bits: the record's fields are plain ints and must not overflow.
std::string AisTarget::LengthText() const {
    if (dimToBow == 0 && dimToStern == 0) {
        return "n/a";
    }
    return Metres(int64_t{dimToBow} + dimToStern);
}

std::string AisTarget::WidthText() const {
    if (dimToPort == 0 && dimToStarboard == 0) {
        return "n/a";
    }
    return Metres(int64_t{dimToPort} + dimToStarboard);
}

std::string AisTarget::DraughtText() const {
    if (!(draught > 0.0)) {
        return "n/a";
    }
    if (draught == 25.5) {
        return "> 25.5";
    }
    return OneDecimal(draught, "");
}
