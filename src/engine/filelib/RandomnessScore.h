#pragma once
// Scoring half of the randomness measure (docs/RANDOMNESS.md): how far two histograms fall short of
// what uniformly random data of the same length shows, turned into a value from 0 to 1.

#include <array>
#include <cstdint>

namespace kyv::filelib {

// Expected Shannon entropy, in bits, of the histogram of `samples` independent uniform bytes.
// It is below 8 for every finite count: a short random sample cannot fill 256 bins evenly.
[[nodiscard]] double ExpectedUniformEntropy(std::uint64_t samples);

// Standard deviation of that entropy from one random sample to the next.
[[nodiscard]] double UniformEntropySpread(std::uint64_t samples);

// Shannon entropy, in bits, of a histogram; 0 for an empty one.
[[nodiscard]] double HistogramEntropy(const std::array<std::uint64_t, 256>& counts);

// Bits by which a histogram of `samples` values falls short of random data of that length, less
// the shortfall that chance alone produces in short random samples; never negative.
[[nodiscard]] double EntropyShortfall(const std::array<std::uint64_t, 256>& counts, std::uint64_t samples);

// The measure from the two shortfalls, 0 to 1: 1 for no shortfall.
[[nodiscard]] double ScoreFromShortfalls(double byteShortfall, double stepShortfall);

}  // namespace kyv::filelib
