#include "engine/cipher/FileFormat.h"

namespace kyv::cipher::format {

AeadNonce ChunkNonce(std::uint64_t index, bool final)
{
    AeadNonce nonce{};
    // Bytes 0..2 of the 11-byte counter stay zero: a file never has 2^64 chunks.
    for (std::size_t i = 0; i < 8; ++i) {
        nonce[10 - i] = static_cast<unsigned char>(index >> (8 * i));
    }
    nonce[11] = final ? 1 : 0;
    return nonce;
}

std::optional<std::uint64_t> PlaintextLengthFor(std::uint64_t size)
{
    if (size < kHeaderSize + kTagSize) return std::nullopt;
    const std::uint64_t body = size - kHeaderSize;
    // Every full sealed chunk but the last holds kChunkSize bytes; the last holds 0..kChunkSize.
    const std::uint64_t fullChunks = (body - 1) / kSealedChunkSize;
    const std::uint64_t lastSealed = body - fullChunks * kSealedChunkSize;
    if (lastSealed < kTagSize || (fullChunks > 0 && lastSealed == kTagSize)) return std::nullopt;
    const std::uint64_t length = fullChunks * kChunkSize + (lastSealed - kTagSize);
    if (length > kMaxPlaintextLength || EncryptedSize(length) != size) return std::nullopt;
    return length;
}

AeadNonce LengthFieldNonce()
{
    AeadNonce nonce;
    nonce.fill(0xFF);
    return nonce;
}

bool CostIsValid(std::uint8_t opsLimit, std::uint8_t memLimitLog2)
{
    // 2^40 bytes is far above any real machine; the bound only keeps the shift defined.
    return opsLimit >= kMinOpsLimit && memLimitLog2 >= kMinMemLimitLog2 && memLimitLog2 <= 40;
}

}  // namespace kyv::cipher::format
