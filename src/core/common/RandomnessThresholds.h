#pragma once
// Where the randomness measure draws its lines.

namespace kyv {

// Smaller files are too short for their randomness to say anything.
inline constexpr int kMinFileSizeForRandomness = 256;
// A file measured this random or more looks encrypted.
inline constexpr double kMinEncryptedRandomness = 0.89;

}  // namespace kyv
