#include "tools/brenlow-sim/FaultInjector.h"

#include <algorithm>

namespace {

constexpr const char* FaultNames[] = {"none", "checksum", "noise", "nul", "lost", "garbage"};

// The span of a sentence's payload: after the fifth comma, up to the next comma.
bool PayloadSpan(const std::string& s, size_t& begin, size_t& end) {
    size_t pos = 0;
    for (int i = 0; i < 5; ++i) {
        pos = s.find(',', pos);
        if (pos == std::string::npos) {
            return false;
        }
        ++pos;
    }
    begin = pos;
    end = s.find(',', pos);
    return end != std::string::npos && end > begin;
}

}  // namespace

const char* FaultName(Fault fault) {
    return FaultNames[static_cast<int>(fault)];
}

bool ParseFaultKinds(std::string_view list, uint32_t& mask) {
    mask = 0;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        bool known = name == "all";
        if (known) {
            mask = kAllFaults;
        }
        for (int i = 1; i <= kFaultKinds && !known; ++i) {
            if (name == FaultNames[i]) {
                mask |= 1u << (i - 1);
                known = true;
            }
        }
        if (!known) {
            return false;
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return mask != 0;
}

FaultInjector::FaultInjector(double share, uint32_t kindMask, uint64_t seed)
    : share(share), random(seed) {
    for (int i = 1; i <= kFaultKinds; ++i) {
        if ((kindMask & (1u << (i - 1))) != 0) {
            kinds.push_back(static_cast<Fault>(i));
        }
    }
}

Fault FaultInjector::Apply(std::vector<std::string>& sentences) {
    if (kinds.empty() || sentences.empty() || !random.Chance(share)) {
        return Fault::None;
    }
    const Fault fault = kinds[random.Below(static_cast<uint32_t>(kinds.size()))];
    const size_t victim = random.Below(static_cast<uint32_t>(sentences.size()));
    switch (fault) {
        case Fault::Checksum:
            CorruptChecksum(sentences[victim]);
            break;
        case Fault::Noise:
            AddNoise(sentences[victim]);
            break;
        case Fault::Nul:
            AddNuls(sentences[victim]);
            break;
        case Fault::Lost:
            sentences.erase(sentences.begin() + static_cast<std::ptrdiff_t>(victim));
            break;
        case Fault::Garbage:
            sentences.insert(sentences.begin(), GarbageLine());
            break;
        case Fault::None:
            break;
    }
    return fault;
}

void FaultInjector::CorruptChecksum(std::string& s) {
    const size_t star = s.rfind('*');
    if (star == std::string::npos || star + 2 >= s.size()) {
        return;
    }
    static constexpr char Hex[] = "0123456789ABCDEF";
    char& digit = s[star + 1 + random.Below(2)];
    const char original = digit;
    while (digit == original) {
        digit = Hex[random.Below(16)];
    }
}

void FaultInjector::AddNoise(std::string& s) {
    // Bytes that a disturbed line delivers; none that would end the line or move the field
    // boundaries, so the sentence keeps its place in the stream.
    size_t begin = 0;
    size_t end = 0;
    if (!PayloadSpan(s, begin, end)) {
        return;
    }
    // Distinct places, so a later byte never restores an earlier one. The last byte is drawn
    // so that the checksum no longer matches: damage that leaves a valid sentence could not
    // be told apart from a real message by anyone.
    const size_t first = random.Below(static_cast<uint32_t>(end - begin));
    const size_t count = std::min<size_t>(random.Between(1, 3), end - begin);
    unsigned change = 0;
    for (size_t i = 0; i < count; ++i) {
        char& target = s[begin + (first + i * 7) % (end - begin)];
        const bool last = i + 1 == count;
        char byte;
        do {
            byte = static_cast<char>(random.Between(1, 255));
        } while (byte == target || byte == '\r' || byte == '\n' || byte == ',' || byte == '*' ||
                 byte == '!' ||
                 (last && (change ^ static_cast<unsigned char>(target) ^
                           static_cast<unsigned char>(byte)) == 0));
        change ^= static_cast<unsigned char>(target) ^ static_cast<unsigned char>(byte);
        target = byte;
    }
}

void FaultInjector::AddNuls(std::string& s) {
    // NULs either before the line's start, as after a receiver's reset, or inside the payload.
    size_t begin = 0;
    size_t end = 0;
    size_t at = 0;
    if (random.Chance(0.5) && PayloadSpan(s, begin, end)) {
        at = begin + random.Below(static_cast<uint32_t>(end - begin));
    }
    s.insert(at, static_cast<size_t>(random.Between(1, 3)), '\0');
}

std::string FaultInjector::GarbageLine() {
    std::string line;
    line.reserve(kGarbageLineBytes);
    while (line.size() < kGarbageLineBytes - 2) {
        const char byte = static_cast<char>(random.Between(1, 255));
        if (byte != '\n' && byte != '\r') {
            line.push_back(byte);
        }
    }
    return line + "\r\n";
}
