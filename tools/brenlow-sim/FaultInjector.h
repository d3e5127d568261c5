#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/brenlow-sim/Random.h"

// The damage a real receiver line can suffer, one kind per hit message.
enum class Fault { None, Checksum, Noise, Nul, Lost, Garbage };

inline constexpr int kFaultKinds = 5;  // every kind but None
inline constexpr int kGarbageLineBytes = 2000;

const char* FaultName(Fault fault);
// "checksum,noise" and the like; "all" for every kind. False on an unknown name.
bool ParseFaultKinds(std::string_view list, uint32_t& mask);
inline constexpr uint32_t kAllFaults = (1u << kFaultKinds) - 1;

// Hits a share of the messages with a fault, chosen and placed by its own seeded generator,
// so a seed gives the same damage every run.
class FaultInjector {
public:
    FaultInjector(double share, uint32_t kindMask, uint64_t seed);

    // Damages the sentences of one message in place (CR LF endings kept, so each stays a
    // line): a wrong checksum, noise bytes or NUL bytes in one sentence, one sentence lost,
    // or a garbage line sent in front of the message. Returns what was done.
    Fault Apply(std::vector<std::string>& sentences);

private:
    void CorruptChecksum(std::string& sentence);
    void AddNoise(std::string& sentence);
    void AddNuls(std::string& sentence);
    std::string GarbageLine();

    double share;
    std::vector<Fault> kinds;
    Random random;
};
