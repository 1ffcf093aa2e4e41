#pragma once
// ChaCha20-Poly1305 (IETF, RFC 8439) for the chunks and the sealed length, through libcrypto's EVP.
//
// libcrypto's implementation of this algorithm is several times faster per core than libsodium's
// on current x86 processors, and its output is the same byte for byte (a test compares the two).
// One object holds one key for one direction; it keeps its own copy of the key's schedule in the
// EVP context, which libcrypto wipes when the context is freed. Not for use by two threads at once.
//
// Checking a tag needs no deciphering: Poly1305 runs over the ciphertext under a one-time key,
// the first 32 bytes of the ChaCha20 keystream for the nonce. Direction::Check does just that, so
// a file is authenticated at the speed of Poly1305 alone.

#include <cstddef>

#include "engine/cipher/FileFormat.h"

struct evp_cipher_ctx_st;
struct evp_mac_ctx_st;

namespace kyv::cipher {

class ChaChaPoly {
public:
    enum class Direction { Seal, Open, Check };

    // `key` is format::kKeySize bytes; the caller may wipe it once the constructor returns.
    ChaChaPoly(const unsigned char* key, Direction direction);
    ~ChaChaPoly();
    ChaChaPoly(const ChaChaPoly&) = delete;
    ChaChaPoly& operator=(const ChaChaPoly&) = delete;

    // False when libcrypto could not set up the context (no memory); every call then fails.
    [[nodiscard]] bool Valid() const { return context_ != nullptr; }

    // Writes plainSize bytes of ciphertext and the kTagSize-byte tag to `sealed`.
    [[nodiscard]] bool Seal(unsigned char* sealed, const unsigned char* plain, std::size_t plainSize,
                            const unsigned char* associatedData, std::size_t associatedDataSize,
                            const format::AeadNonce& nonce);
    // Opens sealedSize bytes (ciphertext and tag) into sealedSize - kTagSize bytes of `plain`. False
    // when the tag does not match: `plain` then holds unauthenticated bytes that must not be used.
    [[nodiscard]] bool Open(unsigned char* plain, const unsigned char* sealed, std::size_t sealedSize,
                            const unsigned char* associatedData, std::size_t associatedDataSize,
                            const format::AeadNonce& nonce);

    // Check only: whether sealedSize bytes (ciphertext and tag) carry the tag Open would accept.
    [[nodiscard]] bool Authenticate(const unsigned char* sealed, std::size_t sealedSize,
                                    const unsigned char* associatedData, std::size_t associatedDataSize,
                                    const format::AeadNonce& nonce);

private:
    [[nodiscard]] bool Start(const format::AeadNonce& nonce, const unsigned char* associatedData,
                             std::size_t associatedDataSize);

    // Seal and Open: ChaCha20-Poly1305. Check: ChaCha20 alone, for the one-time keys.
    evp_cipher_ctx_st* context_ = nullptr;
    evp_mac_ctx_st* authenticator_ = nullptr;  // Check: Poly1305
};

}  // namespace kyv::cipher
