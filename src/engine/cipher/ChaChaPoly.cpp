#include "engine/cipher/ChaChaPoly.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace kyv::cipher {

namespace {

using format::kTagSize;

// The cipher is looked up once for the process; EVP_chacha20_poly1305() would be looked up again
// on every context's set-up.
const EVP_CIPHER* Algorithm()
{
    static EVP_CIPHER* const kAlgorithm = EVP_CIPHER_fetch(nullptr, "ChaCha20-Poly1305", nullptr);
    return kAlgorithm;
}

const EVP_CIPHER* KeystreamAlgorithm()
{
    static EVP_CIPHER* const kAlgorithm = EVP_CIPHER_fetch(nullptr, "ChaCha20", nullptr);
    return kAlgorithm;
}

EVP_MAC* Poly1305()
{
    static EVP_MAC* const kAlgorithm = EVP_MAC_fetch(nullptr, "POLY1305", nullptr);
    return kAlgorithm;
}

constexpr std::size_t kOneTimeKeySize = 32;

// Poly1305 pads the associated data and the ciphertext each to a multiple of 16 bytes.
bool UpdatePadded(EVP_MAC_CTX* authenticator, const unsigned char* bytes, std::size_t size)
{
    static constexpr unsigned char kZeros[16] = {};
    const std::size_t padding = (16 - size % 16) % 16;
    return (size == 0 || EVP_MAC_update(authenticator, bytes, size) == 1) &&
           (padding == 0 || EVP_MAC_update(authenticator, kZeros, padding) == 1);
}

void StoreLittleEndian(std::uint64_t value, unsigned char* out)
{
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// EVP takes lengths as int; a chunk, the header and the length field are far below that.
bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

}  // namespace

ChaChaPoly::ChaChaPoly(const unsigned char* key, Direction direction)
{
    const bool check = direction == Direction::Check;
    const EVP_CIPHER* algorithm = check ? KeystreamAlgorithm() : Algorithm();
    if (algorithm == nullptr || (check && Poly1305() == nullptr)) {
        return;
    }
    context_ = EVP_CIPHER_CTX_new();
    if (context_ == nullptr) {
        return;
    }
    const int encrypt = direction == Direction::Open ? 0 : 1;
    if (EVP_CipherInit_ex(context_, algorithm, nullptr, key, nullptr, encrypt) != 1 ||
        (check && (authenticator_ = EVP_MAC_CTX_new(Poly1305())) == nullptr)) {
        EVP_CIPHER_CTX_free(context_);
        context_ = nullptr;
    }
}

ChaChaPoly::~ChaChaPoly()
{
    // Frees the contexts and cleanses their copies of the keys.
    EVP_MAC_CTX_free(authenticator_);
    EVP_CIPHER_CTX_free(context_);
}

bool ChaChaPoly::Start(const format::AeadNonce& nonce, const unsigned char* associatedData,
                       std::size_t associatedDataSize)
{
    if (context_ == nullptr || !FitsInt(associatedDataSize)) {
        return false;
    }
    // A new nonce restarts the cipher and the authenticator under the key already set.
    if (EVP_CipherInit_ex(context_, nullptr, nullptr, nullptr, nonce.data(), -1) != 1) {
        return false;
    }
    int written = 0;
    return associatedDataSize == 0 || EVP_CipherUpdate(context_, nullptr, &written, associatedData,
                                                       static_cast<int>(associatedDataSize)) == 1;
}

bool ChaChaPoly::Seal(unsigned char* sealed, const unsigned char* plain, std::size_t plainSize,
                      const unsigned char* associatedData, std::size_t associatedDataSize,
                      const format::AeadNonce& nonce)
{
    if (!FitsInt(plainSize) || !Start(nonce, associatedData, associatedDataSize)) {
        return false;
    }
    int written = 0;
    if (plainSize > 0 &&
        EVP_EncryptUpdate(context_, sealed, &written, plain, static_cast<int>(plainSize)) != 1) {
        return false;
    }
    int last = 0;
    if (EVP_EncryptFinal_ex(context_, sealed + written, &last) != 1 ||
        static_cast<std::size_t>(written) + static_cast<std::size_t>(last) != plainSize) {
        return false;
    }
    return EVP_CIPHER_CTX_ctrl(context_, EVP_CTRL_AEAD_GET_TAG, static_cast<int>(kTagSize),
                               sealed + plainSize) == 1;
}

bool ChaChaPoly::Open(unsigned char* plain, const unsigned char* sealed, std::size_t sealedSize,
                      const unsigned char* associatedData, std::size_t associatedDataSize,
                      const format::AeadNonce& nonce)
{
    if (sealedSize < kTagSize || !FitsInt(sealedSize) || !Start(nonce, associatedData, associatedDataSize)) {
        return false;
    }
    const std::size_t plainSize = sealedSize - kTagSize;
    std::array<unsigned char, kTagSize> tag{};
    std::copy(sealed + plainSize, sealed + sealedSize, tag.begin());
    if (EVP_CIPHER_CTX_ctrl(context_, EVP_CTRL_AEAD_SET_TAG, static_cast<int>(kTagSize), tag.data()) != 1) {
        return false;
    }
    int written = 0;
    if (plainSize > 0 &&
        EVP_DecryptUpdate(context_, plain, &written, sealed, static_cast<int>(plainSize)) != 1) {
        return false;
    }
    int last = 0;
    return EVP_DecryptFinal_ex(context_, plain + written, &last) == 1 &&
           static_cast<std::size_t>(written) + static_cast<std::size_t>(last) == plainSize;
}

bool ChaChaPoly::Authenticate(const unsigned char* sealed, std::size_t sealedSize,
                              const unsigned char* associatedData, std::size_t associatedDataSize,
                              const format::AeadNonce& nonce)
{
    if (authenticator_ == nullptr || sealedSize < kTagSize) {
        return false;
    }
    const std::size_t cipherSize = sealedSize - kTagSize;
    // Keystream block 0 (a 32-bit counter of 0, then the nonce) gives the one-time key.
    std::array<unsigned char, 16> counterAndNonce{};
    std::copy(nonce.begin(), nonce.end(), counterAndNonce.begin() + 4);
    static constexpr unsigned char kZeros[kOneTimeKeySize] = {};
    std::array<unsigned char, kOneTimeKeySize> oneTimeKey{};
    int written = 0;
    bool ok = EVP_CipherInit_ex(context_, nullptr, nullptr, nullptr, counterAndNonce.data(), -1) == 1 &&
              EVP_EncryptUpdate(context_, oneTimeKey.data(), &written, kZeros, sizeof kZeros) == 1 &&
              static_cast<std::size_t>(written) == kOneTimeKeySize &&
              EVP_MAC_init(authenticator_, oneTimeKey.data(), oneTimeKey.size(), nullptr) == 1;
    OPENSSL_cleanse(oneTimeKey.data(), oneTimeKey.size());
    std::array<unsigned char, 16> lengths{};
    StoreLittleEndian(associatedDataSize, lengths.data());
    StoreLittleEndian(cipherSize, lengths.data() + 8);
    std::array<unsigned char, kTagSize> tag{};
    std::size_t tagSize = 0;
    ok = ok && UpdatePadded(authenticator_, associatedData, associatedDataSize) &&
         UpdatePadded(authenticator_, sealed, cipherSize) &&
         EVP_MAC_update(authenticator_, lengths.data(), lengths.size()) == 1 &&
         EVP_MAC_final(authenticator_, tag.data(), &tagSize, tag.size()) == 1 && tagSize == kTagSize;
    return ok && CRYPTO_memcmp(tag.data(), sealed + cipherSize, kTagSize) == 0;
}

}  // namespace kyv::cipher
