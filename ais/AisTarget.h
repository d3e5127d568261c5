#pragma once

#include <cstdint>
#include <string>

// One station's decoded state, in display units. The own vessel is the base part of
// AisDecoder. Text fields are Windows-1252, NUL-terminated within their width.
struct AisTarget {
    uint32_t mmsi = 0;
    uint32_t imoNumber = 0;
    int32_t navStatus = 0;
    double rateOfTurn = 0;  // magnitude only; the largest finite double = not available
    double speedOverGround = 0;
    int32_t positionAccuracy = 0;
    double latitude = 0;
    double longitude = 0;
    double courseOverGround = 0;  // -1.0 = not available
    int32_t trueHeading = 0;      // -1 = not available
    char callSign[8] = {};
    char shipName[21] = {};
    char destination[21] = {};
    int32_t fixType = 0;
    int32_t shipType = 0;
    double draught = 0;
    int32_t dimToBow = 0;
    int32_t dimToStern = 0;
    int32_t dimToPort = 0;
    int32_t dimToStarboard = 0;
    char etaText[24] = {};

    // Every number 0, every text empty; the own vessel is cleared through its base part.
    void Clear() { *this = AisTarget(); }

    // Field texts as the window shows them (Windows-1252; degree sign is byte 0xB0).
    std::string MmsiText() const;
    std::string ImoNumberText() const;
    std::string ShipTypeText() const;
    std::string NavStatusText() const;
    std::string PositionAccuracyText() const;
    std::string FixTypeText() const;
    std::string LatitudeText() const;
    std::string LongitudeText() const;
    std::string RateOfTurnText() const;
    std::string SpeedOverGroundText() const;
    std::string CourseOverGroundText() const;
    std::string TrueHeadingText() const;
    std::string LengthText() const;
    std::string WidthText() const;
    std::string DraughtText() const;
};
