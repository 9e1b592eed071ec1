#pragma once
// Random choices that come out the same on every machine: the engine is fixed
// by the standard, and the mapping to ranges is our own (the standard
// distributions may differ between libraries).

#include <algorithm>
#include <cstdint>
#include <random>

class TSeededRandom {
public:
    explicit TSeededRandom(std::uint64_t seed) : engine_(seed) {}

    // 0 <= result < n
    int Below(int n) { return int(engine_() % std::uint64_t(n)); }
    // low <= result <= high
    int Between(int low, int high) { return low + Below(high - low + 1); }
    bool Percent(int chance) { return Below(100) < chance; }
    // 0 <= result < 1
    double Unit() { return double(engine_() >> 11) * (1.0 / 9007199254740992.0); }
    // 0 <= result < n, the low values far more often: a few customers and
    // products carry most of the trade.
    int Skewed(int n)
    {
        const double u = Unit();
        return std::min(n - 1, int(n * u * u));
    }

private:
    std::mt19937_64 engine_;
};
