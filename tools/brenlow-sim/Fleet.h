#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/brenlow-sim/AisEncoder.h"
#include "tools/brenlow-sim/Random.h"

// One simulated station: its static data and where it is going.
struct Vessel {
    StaticReport statics;  // as its static reports carry it

    int navStatus = 0;
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double course = 0.0;     // degrees
    double speed = 0.0;      // knots
    int rateOfTurn = 0;      // raw, -128 = not available
    int headingOffset = 0;   // heading minus course; 511 marks no compass
    int accuracy = 0;
    double time = 0.0;  // seconds, the moment latitude and longitude belong to
};

// Vessels around a centre, moving by course and speed.
class Fleet {
public:
    Fleet(int count, uint64_t seed, double centreLatitude, double centreLongitude,
          uint32_t ownMmsi);

    std::vector<Vessel>& Vessels() { return vessels; }
    Vessel& Own() { return own; }

    // Moves the vessel to `time` (seconds since the start) and now and then changes its
    // rate of turn; vessels that stray far from the centre turn back.
    void Advance(Vessel& vessel, double time);

    static PositionReport PositionOf(const Vessel& vessel, int type, double time);

private:
    Vessel MakeVessel(uint32_t mmsi);
    uint32_t UniqueMmsi();

    Random random;
    double centreLatitude;
    double centreLongitude;
    std::vector<Vessel> vessels;
    Vessel own;
};
