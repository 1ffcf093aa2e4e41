#include "engine/cipher/ChaChaPoly.h"

#include <openssl/evp.h>

#include <array>
#include <climits>

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

// EVP takes lengths as int; a chunk, the header and the length field are far below that.
bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

}  // namespace

ChaChaPoly::ChaChaPoly(const unsigned char* key, Direction direction)
{
    const EVP_CIPHER* algorithm = Algorithm();
    if (algorithm == nullptr) {
        return;
    }
    context_ = EVP_CIPHER_CTX_new();
    if (context_ == nullptr) {
        return;
    }
    const int encrypt = direction == Direction::Seal ? 1 : 0;
    if (EVP_CipherInit_ex(context_, algorithm, nullptr, key, nullptr, encrypt) != 1) {
        EVP_CIPHER_CTX_free(context_);
        context_ = nullptr;
    }
}

ChaChaPoly::~ChaChaPoly()
{
    // Frees the context and cleanses its copy of the key.
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

}  // namespace kyv::cipher
