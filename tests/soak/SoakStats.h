#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Resident set size of this process in KiB (VmRSS), 0 when it cannot be read.
inline long ResidentKiB() {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) {
        return 0;
    }
    char row[256];
    long kib = 0;
    while (std::fgets(row, sizeof row, f) != nullptr) {
        if (std::strncmp(row, "VmRSS:", 6) == 0) {
            kib = std::strtol(row + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return kib;
}

// Durations in microseconds, kept in logarithmic buckets (about 4 % wide) so that a run of
// any length uses the same memory.
class DurationHistogram {
public:
    void Add(double micros) {
        ++count_;
        max_ = std::max(max_, micros);
        ++buckets_[Bucket(micros)];
    }
    uint64_t Count() const { return count_; }
    double Max() const { return max_; }
    // The upper edge of the bucket holding the given quantile (0..1).
    double Quantile(double q) const {
        if (count_ == 0) {
            return 0.0;
        }
        const auto rank = static_cast<uint64_t>(std::ceil(q * static_cast<double>(count_)));
        uint64_t seen = 0;
        for (size_t i = 0; i < buckets_.size(); ++i) {
            seen += buckets_[i];
            if (seen >= std::max<uint64_t>(rank, 1)) {
                return std::min(UpperEdge(i), max_);
            }
        }
        return max_;
    }

private:
    static constexpr int kPerOctave = 16;
    static constexpr size_t kBuckets = 40 * kPerOctave;  // up to 2^40 us

    static size_t Bucket(double micros) {
        if (micros <= 1.0) {
            return 0;
        }
        const auto b = static_cast<size_t>(std::log2(micros) * kPerOctave) + 1;
        return std::min(b, kBuckets - 1);
    }
    static double UpperEdge(size_t bucket) {
        return std::exp2(static_cast<double>(bucket) / kPerOctave);
    }

    std::array<uint64_t, kBuckets> buckets_{};
    uint64_t count_ = 0;
    double max_ = 0.0;
};
