#include <cinttypes>
#include <string>

#include "ais/AisTarget.h"
#include "present/FormatText.h"

namespace {

std::string OneDecimal(double value, const char* unit) {
    return FormatText("%05.1lf%s", value, unit);
}

std::string Metres(int64_t total) {
    return FormatText("%5" PRId64, total);
}

}  // namespace

std::string AisTarget::MmsiText() const {
    return std::to_string(mmsi);
}

std::string AisTarget::ImoNumberText() const {
    if (imoNumber == 0) {
        return "n/a";
    }
    return std::to_string(imoNumber);
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
    return FormatText("%03" PRId32 "\xB0", trueHeading);
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
