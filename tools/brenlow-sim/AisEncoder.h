#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Raw field values as transmitted: every value the decoder shows is a conversion of these,
// so what the simulator sends is exactly representable.
struct PositionReport {
    int type = 1;  // 1, 2 or 3
    int repeat = 0;
    uint32_t mmsi = 0;
    int navStatus = 15;
    int rateOfTurn = -128;  // -127..127, -128 = not available
    int speed = 1023;       // 1/10 knot, 1023 = not available
    int accuracy = 0;
    int32_t longitude = 108600000;  // 1/10000 minute, 181 degrees = not available
    int32_t latitude = 54600000;    // 1/10000 minute, 91 degrees = not available
    int course = 3600;              // 1/10 degree, 3600 = not available
    int heading = 511;              // degrees, 511 = not available
    int second = 60;                // 60 = not available
    int maneuver = 0;
    int raim = 0;
    uint32_t radio = 0;  // 19-bit communication state
};

struct StaticReport {
    int repeat = 0;
    uint32_t mmsi = 0;
    int aisVersion = 0;
    uint32_t imoNumber = 0;
    std::string callSign;     // up to 7 six-bit characters
    std::string shipName;     // up to 20
    std::string destination;  // up to 20
    int shipType = 0;
    int dimToBow = 0;
    int dimToStern = 0;
    int dimToPort = 0;
    int dimToStarboard = 0;
    int fixType = 0;
    int etaMonth = 0;  // 0 = not available
    int etaDay = 0;    // 0 = not available
    int etaHour = 24;  // 24 = not available
    int etaMinute = 60;
    int draught = 0;  // 1/10 metre
    int dte = 1;
};

struct ArmouredPayload {
    std::string text;
    int fillBits = 0;
};

// One field as transmitted: an unsigned or two's complement value `width` bits wide, or text
// of `width` six-bit characters. `name` is its name in the truth log; nullptr for the fields
// the log leaves out (message type, repeat indicator, spare bits and the like).
struct MessageField {
    enum class Kind { Unsigned, Signed, Text } kind;
    int64_t value;
    std::string_view text;
    int width;
    const char* name;
};

// A report's fields in transmission order; the texts point into the report.
std::vector<MessageField> MessageFields(const PositionReport& report);
std::vector<MessageField> MessageFields(const StaticReport& report);

// Field values to payload (168 bits for a position report, 424 for a static report). False
// when a value does not fit its field.
bool ArmourPositionReport(const PositionReport& report, ArmouredPayload& out);
bool ArmourStaticReport(const StaticReport& report, ArmouredPayload& out);

// Payload to "!AIVDM"/"!AIVDO" sentences of at most kMaxSentencePayload payload characters,
// each ending in "*hh" CR LF. The sequential message id (0..9) is written only when the
// message needs more than one sentence; the fill bits go into the last one.
inline constexpr int kMaxSentencePayload = 60;
std::vector<std::string> FrameSentences(const ArmouredPayload& payload, bool own, char channel,
                                        int sequenceId);
