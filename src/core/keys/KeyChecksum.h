#pragma once
// The four-digit checksum that lets the user confirm a key without showing it.

#include <span>

#include "core/keys/KeyState.h"
#include "core/keys/SecureBytes.h"

namespace kyv {

inline constexpr std::size_t kMD5DigestLength = 16;
inline constexpr int kLowestChecksum = 1001;
inline constexpr int kHighestChecksum = 9999;

// The MD5 digest (RFC 1321) of the first `length` bytes of `bytes`, one byte per digest byte.
[[nodiscard]] SecureBytes MD5Digest(std::span<const unsigned char> bytes, std::size_t length);

// 1001 to 9999 from the 16 digest bytes taken in pairs (D1, D2), (D3, D4) ... (D15, D16).
[[nodiscard]] int ChecksumFromDigest(std::span<const unsigned char> digest);

// The checksum of an already normalised key; keeps the digest in digest.
[[nodiscard]] int KeyChecksum(KeyState& keyState, std::span<const unsigned char> key);

// The checksum a text would give once normalised, leaving the key record alone: what the typing
// dialogs show while the user types.
[[nodiscard]] int RunningChecksum(std::span<const unsigned char> text);

}  // namespace kyv
