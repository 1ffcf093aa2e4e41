#pragma once
// Every key, typed, read from a keyfile or random, goes through the same normalisation: bytes of
// code 32 or below are dropped and letters upper-cased, so spaces and case never matter.

#include <span>

#include "core/keys/KeyState.h"
#include "core/keys/SecureBytes.h"

namespace kyv {

// The normalised form of Windows-1252 `text`, without touching the key record.
[[nodiscard]] SecureBytes NormalizedKeyText(std::span<const unsigned char> text);

// The normalised form of `text`; keeps a copy of `text` in lastKeyText.
[[nodiscard]] SecureBytes NormalizeKey(KeyState& keyState, std::span<const unsigned char> text);

// How many bytes of `text` survive normalisation.
[[nodiscard]] std::size_t NormalizedLength(std::span<const unsigned char> text);

// Whether the normalised `text` has at least minKeyLength characters.
[[nodiscard]] bool KeyLengthSufficient(const KeyState& keyState, std::span<const unsigned char> text);

}  // namespace kyv
