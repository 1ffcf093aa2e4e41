#pragma once
// How random a file or a byte string is, on a scale of 0 to 1 (docs/RANDOMNESS.md).

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace kyv::filelib {

// Error values of FileRandomness; every value of -11 or below is an error, not a measure.
inline constexpr double kRandomnessNotFound = -11.0;
inline constexpr double kRandomnessReadError = -12.0;
inline constexpr double kRandomnessEmpty = -14.0;
inline constexpr double kRandomnessTooShort = -15.0;

// Whether a value of FileRandomness or RandomnessMeasure is one of the errors above, not a measure.
// The value stays one number because the program shows an error as its number in file listings.
[[nodiscard]] constexpr bool IsRandomnessError(double value) { return value <= kRandomnessNotFound; }

// Files of this size and larger are counted by several threads at once, each reading every n-th block.
inline constexpr std::int64_t kRandomnessParallelFrom = std::int64_t{16} << 20;

// Randomness of the whole file; kRandomnessTooShort for a file shorter than `minimumSize` bytes.
[[nodiscard]] double FileRandomness(const std::filesystem::path& path, std::int64_t minimumSize);

// Randomness of `count` bytes; `sampleCount` is the second count of the measure (both 64 for keys):
// the fewest bytes worth measuring, so fewer than that give kRandomnessTooShort (none: kRandomnessEmpty).
[[nodiscard]] double RandomnessMeasure(const unsigned char* bytes, std::size_t count,
                                       std::size_t sampleCount);

}  // namespace kyv::filelib
