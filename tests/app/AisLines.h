#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "tests/support/PayloadBuilder.h"

// Valid sentences for the window tests.
namespace ais_lines {

// Type 1 position report at the given position (degrees) and speed (knots).
inline std::string Position(uint32_t mmsi, double lat, double lon, double sog,
                            const char* address = "!AIVDM") {
    PayloadBuilder p(168);
    p.Set(1, 6, 1)
        .Set(9, 30, mmsi)
        .Set(39, 4, 0)
        .Set(43, 8, 128)
        .Set(51, 10, static_cast<int>(sog * 10));
    p.Set(61, 1, 1).Set(62, 28, static_cast<int64_t>(lon * 600000));
    p.Set(90, 27, static_cast<int64_t>(lat * 600000)).Set(117, 12, 1234).Set(129, 9, 123);
    return Sentence(p.Armoured(), 1, 1, "", "A", 0, address);
}

// Type 5 static report as its two sentences.
inline std::pair<std::string, std::string> Static(uint32_t mmsi, const std::string& name,
                                                  const std::string& callSign,
                                                  const std::string& destination) {
    PayloadBuilder p(424);
    p.Set(1, 6, 5).Set(9, 30, mmsi).Set(41, 30, 9123456).Text(71, 7, callSign);
    p.Text(113, 20, name).Set(233, 8, 70).Set(241, 9, 100).Set(250, 9, 20);
    p.Set(259, 6, 5).Set(265, 6, 6).Set(271, 4, 1).Set(275, 4, 6).Set(279, 5, 15);
    p.Set(284, 5, 12).Set(289, 6, 30).Set(295, 8, 75).Text(303, 20, destination);
    const std::string payload = p.Armoured();
    return {Sentence(payload.substr(0, 60), 2, 1, "3", "A", 0),
            Sentence(payload.substr(60), 2, 2, "3", "A", 2)};
}

}  // namespace ais_lines
