#include "tools/brenlow-sim/Fleet.h"

#include <cmath>
#include <numbers>

namespace {

constexpr const char* NamePrefixes[] = {"NORDIC", "BALTIC",  "SEA",      "OCEAN", "ATLANTIC",
                                        "POLAR",  "SILVER",  "NORTHERN", "BLUE",  "STELLA",
                                        "ARCTIC", "WESTERN", "GOLDEN",   "MARE",  "KAPITAN"};
constexpr const char* NameSuffixes[] = {"STAR",    "SPIRIT",  "PIONEER", "TRADER", "WAVE",
                                        "EXPRESS", "HORIZON", "BREEZE",  "QUEEN",  "FALCON",
                                        "ISLAND",  "VOYAGER", "DAWN",    "CARRIER"};
constexpr const char* Destinations[] = {
    "KIEL",          "HAMBURG",    "ROTTERDAM",     "GOTHENBURG",     "AARHUS",
    "GDANSK",        "COPENHAGEN", "OSLO",          "TRAVEMUNDE",     "KLAIPEDA",
    "ST PETERSBURG", "ANTWERP",    "DE HAM>NL RTM", "FISHING GROUNDS"};
constexpr int ShipTypes[] = {30, 31, 36, 37, 52, 60, 69, 70, 71, 79, 80, 84, 89, 90};
constexpr uint32_t CountryCodes[] = {211, 219, 230, 244, 257, 261, 265, 275, 636};

constexpr double kStrayLimit = 0.25;  // degrees from the centre before a vessel turns back
constexpr double kRateOfTurnScale = 4.733;

template <typename T, size_t N>
const T& Pick(Random& random, const T (&table)[N]) {
    return table[random.Below(N)];
}

uint32_t ImoNumber(Random& random) {
    // Seven digits, the last the weighted check digit.
    const uint32_t body = 900000 + random.Below(100000);
    uint32_t sum = 0;
    uint32_t digits = body;
    for (uint32_t weight = 2; weight <= 7; ++weight) {
        sum += (digits % 10) * weight;
        digits /= 10;
    }
    return body * 10 + sum % 10;
}

std::string CallSign(Random& random) {
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string sign;
    const int length = random.Between(4, 7);
    for (int i = 0; i < length; ++i) {
        sign += i < 2 || random.Chance(0.5) ? Letters[random.Below(26)]
                                            : static_cast<char>('0' + random.Below(10));
    }
    return sign;
}

double Wrap360(double degrees) {
    degrees = std::fmod(degrees, 360.0);
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

}  // namespace

Fleet::Fleet(int count, uint64_t seed, double centreLat, double centreLon, uint32_t ownMmsi)
    : random(seed), centreLatitude(centreLat), centreLongitude(centreLon) {
    own = MakeVessel(ownMmsi);
    own.navStatus = 0;
    own.speed = 12.0;
    own.headingOffset = 0;
    own.rateOfTurn = 0;
    own.latitude = centreLatitude;
    own.longitude = centreLongitude;
    for (int i = 0; i < count; ++i) {
        vessels.push_back(MakeVessel(UniqueMmsi()));
    }
}

uint32_t Fleet::UniqueMmsi() {
    for (;;) {
        const uint32_t mmsi = Pick(random, CountryCodes) * 1000000 + random.Below(1000000);
        bool taken = mmsi == own.statics.mmsi;
        for (const Vessel& v : vessels) {
            taken = taken || v.statics.mmsi == mmsi;
        }
        if (!taken) {
            return mmsi;
        }
    }
}

Vessel Fleet::MakeVessel(uint32_t mmsi) {
    Vessel v;
    v.statics.dte = 0;
    v.statics.mmsi = mmsi;
    v.statics.imoNumber = random.Chance(0.8) ? ImoNumber(random) : 0;
    v.statics.callSign = CallSign(random);
    v.statics.shipName = std::string(Pick(random, NamePrefixes)) + ' ' + Pick(random, NameSuffixes);
    v.statics.destination = Pick(random, Destinations);
    v.statics.shipType = Pick(random, ShipTypes);
    const int length = random.Between(15, 300);
    const int beam = std::min(63, std::max(4, length / 6 + random.Between(-2, 4)));
    v.statics.dimToBow = length * random.Between(60, 85) / 100;
    v.statics.dimToStern = length - v.statics.dimToBow;
    v.statics.dimToPort = beam / 2;
    v.statics.dimToStarboard = beam - v.statics.dimToPort;
    v.statics.fixType = random.Chance(0.9) ? 1 : random.Between(0, 8);
    if (random.Chance(0.85)) {
        v.statics.etaMonth = random.Between(1, 12);
        v.statics.etaDay = random.Between(1, 28);
        v.statics.etaHour = random.Between(0, 23);
        v.statics.etaMinute = random.Between(0, 59);
    }
    v.statics.draught = random.Between(15, 160);

    const uint32_t state = random.Below(10);
    v.navStatus = state < 7 ? 0 : (state < 9 ? 1 : 5);
    v.speed = v.navStatus == 0 ? 4.0 + random.Unit() * 16.0 : 0.0;
    v.course = random.Unit() * 360.0;
    v.rateOfTurn = v.navStatus == 0 ? random.Between(-6, 6) : 0;
    v.headingOffset = random.Chance(0.9) ? random.Between(-3, 3) : 511;
    v.accuracy = random.Chance(0.5) ? 1 : 0;
    v.latitude = centreLatitude + (random.Unit() - 0.5) * kStrayLimit;
    v.longitude = centreLongitude + (random.Unit() - 0.5) * kStrayLimit * 1.6;
    return v;
}

void Fleet::Advance(Vessel& v, double time) {
    const double hours = (time - v.time) / 3600.0;
    v.time = time;
    if (hours <= 0.0) {
        return;
    }
    if (v.rateOfTurn != -128) {
        const double rate = v.rateOfTurn / kRateOfTurnScale;
        const double degreesPerMinute = std::copysign(rate * rate, rate);
        v.course = Wrap360(v.course + degreesPerMinute * hours * 60.0);
    }
    const double distance = v.speed * hours / 60.0;  // degrees of latitude
    const double radians = v.course * std::numbers::pi / 180.0;
    v.latitude += distance * std::cos(radians);
    v.longitude += distance * std::sin(radians) / std::cos(v.latitude * std::numbers::pi / 180.0);

    if (v.navStatus == 0 && random.Chance(0.15)) {
        v.rateOfTurn = random.Chance(0.1) ? -128 : random.Between(-6, 6);
    }
    const double north = v.latitude - centreLatitude;
    const double east = v.longitude - centreLongitude;
    if (std::abs(north) > kStrayLimit || std::abs(east) > kStrayLimit * 1.6) {
        v.course = Wrap360(std::atan2(-east, -north) * 180.0 / std::numbers::pi);
    }
}

PositionReport Fleet::PositionOf(const Vessel& v, int type, double time) {
    PositionReport r;
    r.type = type;
    r.mmsi = v.statics.mmsi;
    r.navStatus = v.navStatus;
    r.rateOfTurn = v.rateOfTurn;
    r.speed = static_cast<int>(std::lround(std::min(v.speed, 102.2) * 10.0));
    r.accuracy = v.accuracy;
    r.latitude = static_cast<int32_t>(std::lround(v.latitude * 600000.0));
    r.longitude = static_cast<int32_t>(std::lround(v.longitude * 600000.0));
    r.course = static_cast<int>(std::lround(v.course * 10.0)) % 3600;
    r.heading = v.headingOffset == 511
                    ? 511
                    : static_cast<int>(std::lround(Wrap360(v.course + v.headingOffset))) % 360;
    r.second = static_cast<int>(time) % 60;
    r.radio = static_cast<uint32_t>(static_cast<int64_t>(time * 37.0) % 524288);
    return r;
}
