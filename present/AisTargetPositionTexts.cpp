#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "ais/AisTarget.h"

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
    char minutes[16];
    std::snprintf(minutes, sizeof minutes, "%07.4lf", (magnitude - degrees) * 60.0);
    // A fraction just below a whole degree rounds to 60.0000 minutes; carry it into the degrees.
    if (minutes[0] == '6') {
        ++degrees;
        std::snprintf(minutes, sizeof minutes, "%07.4lf", 0.0);
    }
    char text[48];
    std::snprintf(text, sizeof text, "%0*d\xB0 %s' %c", degreeDigits, degrees, minutes,
                  value >= 0.0 ? positive : negative);
    return text;
}

}  // namespace

std::string AisTarget::LatitudeText() const {
    return DegreesMinutes(latitude, 2, 'N', 'S');
}

std::string AisTarget::LongitudeText() const {
    return DegreesMinutes(longitude, 3, 'E', 'W');
}
