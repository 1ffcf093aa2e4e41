#pragma once
// Layout of an encrypted file, version 1 (docs/FORMAT.md is the full description).
//
//   header (67 bytes) | chunk 0 | chunk 1 | ... | final chunk
//
// Every chunk is a ChaCha20-Poly1305 (IETF) ciphertext of up to kChunkSize plaintext bytes plus
// its 16-byte tag, sealed with the file's own key.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kyv::cipher::format {

inline constexpr std::uint8_t kVersion = 1;

inline constexpr std::size_t kSaltSize = 16;
inline constexpr std::size_t kFileNonceSize = 24;
inline constexpr std::size_t kKeySize = 32;
inline constexpr std::size_t kTagSize = 16;
inline constexpr std::size_t kAeadNonceSize = 12;
inline constexpr std::size_t kLengthFieldSize = 8;

// Byte offsets within the header.
inline constexpr std::size_t kVersionOffset = 0;
inline constexpr std::size_t kOpsLimitOffset = 1;
inline constexpr std::size_t kMemLimitOffset = 2;
inline constexpr std::size_t kSaltOffset = 3;
inline constexpr std::size_t kFileNonceOffset = kSaltOffset + kSaltSize;                       // 19
inline constexpr std::size_t kPublicHeaderSize = kFileNonceOffset + kFileNonceSize;            // 43
inline constexpr std::size_t kSealedLengthOffset = kPublicHeaderSize;                          // 43
inline constexpr std::size_t kHeaderSize = kSealedLengthOffset + kLengthFieldSize + kTagSize;  // 67

inline constexpr std::size_t kChunkSize = 64 * 1024;
inline constexpr std::size_t kSealedChunkSize = kChunkSize + kTagSize;

// Argon2id bounds libsodium accepts: at least 1 pass and 8 KiB.
inline constexpr std::uint8_t kMinOpsLimit = 1;
inline constexpr std::uint8_t kMinMemLimitLog2 = 13;

// Context of the per-file key derivation (BLAKE2b personalisation, exactly 16 bytes).
inline constexpr std::array<unsigned char, 16> kFileKeyPersonal = {'K', 'y', 'v', 'C', 'i', 'p', 'h', 'e',
                                                                   'r', ' ', 'f', 'i', 'l', 'e', ' ', '1'};

using Header = std::array<unsigned char, kHeaderSize>;
using Salt = std::array<unsigned char, kSaltSize>;
using FileNonce = std::array<unsigned char, kFileNonceSize>;
using AeadNonce = std::array<unsigned char, kAeadNonceSize>;

// Number of chunks of a plaintext of `length` bytes: an empty plaintext still has one (empty)
// final chunk, so that even an empty file is authenticated.
[[nodiscard]] constexpr std::uint64_t ChunkCount(std::uint64_t length)
{
    return length == 0 ? 1 : (length + kChunkSize - 1) / kChunkSize;
}

// Largest plaintext whose encrypted size still fits in a signed 64-bit file length.
inline constexpr std::uint64_t kMaxPlaintextLength = (std::uint64_t{1} << 62) / kSealedChunkSize * kChunkSize;

// Size of the encrypted file for a plaintext of `length` bytes (length <= kMaxPlaintextLength).
[[nodiscard]] constexpr std::uint64_t EncryptedSize(std::uint64_t length)
{
    return kHeaderSize + length + ChunkCount(length) * kTagSize;
}

// The plaintext length whose encrypted size is `size`; none when no plaintext gives that size (a
// file cut short or lengthened shows so without the key).
[[nodiscard]] std::optional<std::uint64_t> PlaintextLengthFor(std::uint64_t size);

// Nonce of chunk `index`: 11-byte big-endian counter, then 1 for the final chunk and 0 otherwise.
[[nodiscard]] AeadNonce ChunkNonce(std::uint64_t index, bool final);
// Nonce of the sealed length field: twelve 0xFF bytes, which no chunk nonce can equal since a
// chunk's last nonce byte is 0 or 1.
[[nodiscard]] AeadNonce LengthFieldNonce();

[[nodiscard]] bool CostIsValid(std::uint8_t opsLimit, std::uint8_t memLimitLog2);

}  // namespace kyv::cipher::format
