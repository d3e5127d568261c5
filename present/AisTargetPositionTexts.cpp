#include <cmath>
#include <limits>
#include <string>

#include "ais/AisTarget.h"
#include "present/FormatText.h"

namespace {

// Degrees and minutes with a hemisphere letter. There is no range test: the AIS codes for not
// available (91 and 181 degrees) show like a position. Only values with no whole degrees to
// show (NaN, infinite, beyond int) give "n/a".
std::string DegreesMinutes(double value, int degreeDigits, char positive, char negative) {
    const double magnitude = std::fabs(value);
    if (!(magnitude < std::numeric_limits<int>::max())) {
        return "n/a";
    }
    int degrees = static_cast<int>(std::floor(magnitude));
    std::string minutes = FormatText("%07.4lf", (magnitude - degrees) * 60.0);
    // A fraction just below a whole degree rounds to 60.0000 minutes; carry it into the degrees.
    if (minutes[0] == '6') {
        ++degrees;
        minutes = "00.0000";
    }
    return FormatText("%0*d\xB0 %s' %c", degreeDigits, degrees, minutes.c_str(),
                      value >= 0.0 ? positive : negative);
}

}  // namespace

std::string AisTarget::LatitudeText() const {
    return DegreesMinutes(latitude, 2, 'N', 'S');
}

std::string AisTarget::LongitudeText() const {
    return DegreesMinutes(longitude, 3, 'E', 'W');
}
