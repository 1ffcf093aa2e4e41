#pragma once
// The keys the reliability test uses after its first performance: a fresh random key of random
// length, installed without normalisation, so that each performance also tries spaces, lower-case
// letters and (about one key in ten) every byte a keyfile may hold.

#include "core/keys/KeyState.h"

namespace kyv {

inline constexpr int kRandomTextKeyShortest = 16;
inline constexpr int kRandomTextKeyLongest = 64;

// Installs a key of 16 to 64 characters drawn from libsodium's random source: nine keys in ten
// have codes 32 (space) to 122 ("z") and count as typed, the others codes 32 to 255 and count as
// read from a keyfile. Writes the key, its source and the last key text; the checksum, the
// classification flags and the keyfile path stay as they were.
void GenerateRandomTextKey(KeyState& keyState);

}  // namespace kyv
