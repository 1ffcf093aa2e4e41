#pragma once
// How hard a key is to find for an attacker who holds an encrypted file and tries keys one by one,
// each at the cost of the program's key derivation. A typed key is estimated by libzxcvbn over its
// normalised form, the bytes the program really uses; a random key is as strong as the key
// schedule can hold; any other keyfile is as strong as the file is secret.

#include <optional>
#include <span>

#include "core/keys/KeyState.h"

namespace kyv {

// Guesses one GPU makes per second against the writer's Argon2id cost (3 passes over 256 MiB):
// rounded up from the bound that the memory each guess moves and a GPU's memory bandwidth set,
// worked out in docs/FORMAT.md ("How strong a key is").
inline constexpr double kGuessesPerSecondPerGpu = 1000.0;

// The key schedule derives a 32-byte master key: no key gives more than 256 bits.
inline constexpr double kMostKeyBits = 256.0;

// The levels by the time one GPU needs: a day, a thousand years, a thousand million years, and
// 2^128 guesses.
enum class KeyStrengthLevel { VeryWeak, Weak, Fair, Strong, VeryStrong };
inline constexpr int kKeyStrengthLevels = 5;

enum class KeyStrengthBasis {
    Estimated,   // typed text, by libzxcvbn
    RandomKey,   // a random key: all it holds
    SecretFile,  // a keyfile whose bytes are not random: no count of guesses applies
};

struct KeyStrength {
    KeyStrengthBasis basis = KeyStrengthBasis::Estimated;
    // log2 of the guesses that find the key (not for SecretFile).
    double bits = 0;
    KeyStrengthLevel level = KeyStrengthLevel::VeryWeak;

    // Seconds one GPU needs for those guesses.
    [[nodiscard]] double SecondsForOneGpu() const;
};

// Bytes of memory one Argon2id guess reads and writes at `passes` over 2^memoryLog2 bytes, when the
// attacker keeps the block just computed on the chip: each 1 KiB block of the first pass reads a
// reference block and is written; each of a later pass also reads the block it overwrites.
[[nodiscard]] double ArgonTrafficPerGuess(int passes, int memoryLog2);

[[nodiscard]] KeyStrengthLevel LevelOfBits(double bits);

// The key that `text` (Windows-1252 bytes as typed) gives. The text is normalised in guarded
// memory; libzxcvbn's working copies are wiped before this returns.
[[nodiscard]] KeyStrength TypedKeyStrength(std::span<const unsigned char> text);

// A keyfile's key: `random` for a new random key or bytes that measured random.
[[nodiscard]] KeyStrength KeyfileStrength(bool random);

// The key in the inspection window: the typed text or a keyfile's bytes of the key record.
[[nodiscard]] KeyStrength InspectedKeyStrength(const KeyState& keyState, bool typed);

// The current key of the record; nothing when no key is specified.
[[nodiscard]] std::optional<KeyStrength> InstalledKeyStrength(const KeyState& keyState);

}  // namespace kyv
