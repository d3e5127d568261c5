#pragma once

#include <cstdint>
#include <string>

// One station's decoded state, in display units. The own vessel is the base part of
// AisDecoder. Text fields are Windows-1252, NUL-terminated within their width.
struct AisTarget {
    uint32_t mmsi;
    uint32_t imoNumber;
    int32_t navStatus;
    double rateOfTurn;  // magnitude only; the largest finite double = not available
    double speedOverGround;
    int32_t positionAccuracy;
    double latitude;
    double longitude;
    double courseOverGround;  // -1.0 = not available
    int32_t trueHeading;      // -1 = not available
    char callSign[8];
    char shipName[21];
    char destination[21];
    int32_t fixType;
    int32_t shipType;
    double draught;
    int32_t dimToBow;
    int32_t dimToStern;
    int32_t dimToPort;
    int32_t dimToStarboard;
    char etaText[24];

    AisTarget() { Clear(); }
    void Clear();

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
