// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 64-bit Mersenne Twister, giving exactly the numbers of
// std::mt19937_64 for the same seed, but without a branch on each word's
// low bit when it refills: that branch is taken at random, half the time,
// and its mispredictions made the library's generator the dearest part of
// calibrating a reference set.

#include <array>
#include <cstddef>
#include <cstdint>

namespace engine {

class TMersenne64 {
public:
    explicit TMersenne64(uint64_t seed) {
        fX[0] = seed;
        for (size_t i = 1; i < kN; ++i)
            fX[i] = 6364136223846793005ULL * (fX[i - 1] ^ (fX[i - 1] >> 62)) + i;
    }

    uint64_t operator()() {
        if (fAt == kN)
            Refill();
        uint64_t y = fX[fAt++];
        y ^= (y >> 29) & 0x5555555555555555ULL;
        y ^= (y << 17) & 0x71D67FFFEDA60000ULL;
        y ^= (y << 37) & 0xFFF7EEE000000000ULL;
        return y ^ (y >> 43);
    }

private:
    static constexpr size_t kN = 312, kM = 156;

    static uint64_t Next(uint64_t upper, uint64_t lower, uint64_t far) {
        const uint64_t y = (upper & 0xFFFFFFFF80000000ULL) | (lower & 0x7FFFFFFFULL);
        return far ^ (y >> 1) ^ ((0 - (y & 1)) & 0xB5026F5AA96619E9ULL);
    }

    void Refill() {
        size_t k = 0;
        for (; k < kN - kM; ++k)
            fX[k] = Next(fX[k], fX[k + 1], fX[k + kM]);
        for (; k < kN - 1; ++k)
            fX[k] = Next(fX[k], fX[k + 1], fX[k + kM - kN]);
        fX[kN - 1] = Next(fX[kN - 1], fX[0], fX[kM - 1]);
        fAt = 0;
    }

    std::array<uint64_t, kN> fX{};
    size_t fAt = kN;
};

} // namespace engine
