#include "ais/AisTarget.h"

#include <cstring>

void AisTarget::Clear() {
    mmsi = 0;
    imoNumber = 0;
    navStatus = 0;
    rateOfTurn = 0.0;
    speedOverGround = 0.0;
    positionAccuracy = 0;
    latitude = 0.0;
    longitude = 0.0;
    courseOverGround = 0.0;
    trueHeading = 0;
    std::memset(callSign, 0, sizeof callSign);
    std::memset(shipName, 0, sizeof shipName);
    std::memset(destination, 0, sizeof destination);
    fixType = 0;
    shipType = 0;
    draught = 0.0;
    dimToBow = 0;
    dimToStern = 0;
    dimToPort = 0;
    dimToStarboard = 0;
    std::memset(etaText, 0, sizeof etaText);
}
