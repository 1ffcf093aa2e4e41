// The chunks are sealed by libcrypto while keys, hashes and random bytes come from libsodium. Both
// implement the same ChaCha20-Poly1305 (IETF): the same key, nonce and data must give the same
// bytes, in both directions, so that a change in either library cannot change the file format.

#include <gtest/gtest.h>
#include <sodium.h>

#include <cstddef>
#include <vector>

#include "engine/cipher/ChaChaPoly.h"
#include "engine/cipher/FileFormat.h"

namespace kyv::cipher::test {
namespace {

using format::kTagSize;
using Bytes = std::vector<unsigned char>;

struct SealCase {
    const char* name;
    std::size_t plainSize;
    std::size_t associatedDataSize;
};

// Empty, shorter than a ChaCha20 block, across block and vector-width boundaries, the length field
// with the public header, a full chunk with the whole header, and a short final chunk.
const SealCase kSealCases[] = {
    {"Empty", 0, format::kHeaderSize},
    {"OneByte", 1, format::kHeaderSize},
    {"LengthField", format::kLengthFieldSize, format::kPublicHeaderSize},
    {"Block", 64, format::kHeaderSize},
    {"BlockPlusOne", 65, format::kHeaderSize},
    {"EightBlocksLessOne", 511, format::kHeaderSize},
    {"ShortFinalChunk", 5000, format::kHeaderSize},
    {"FullChunk", format::kChunkSize, format::kHeaderSize},
    {"NoAssociatedData", 300, 0},
};

class ChaChaPolyAgreement : public ::testing::TestWithParam<SealCase> {
protected:
    void SetUp() override
    {
        ASSERT_GE(sodium_init(), 0);
        const SealCase& c = GetParam();
        key_.resize(format::kKeySize);
        plain_.resize(c.plainSize);
        associatedData_.resize(c.associatedDataSize);
        randombytes_buf(key_.data(), key_.size());
        randombytes_buf(nonce_.data(), nonce_.size());
        // An empty vector may have no storage at all, and libsodium wants a real buffer.
        if (!plain_.empty()) randombytes_buf(plain_.data(), plain_.size());
        if (!associatedData_.empty()) randombytes_buf(associatedData_.data(), associatedData_.size());
    }

    [[nodiscard]] Bytes SodiumSealed() const
    {
        Bytes sealed(plain_.size() + kTagSize);
        crypto_aead_chacha20poly1305_ietf_encrypt(sealed.data(), nullptr, plain_.data(), plain_.size(),
                                                  associatedData_.data(), associatedData_.size(), nullptr,
                                                  nonce_.data(), key_.data());
        return sealed;
    }

    Bytes key_;
    format::AeadNonce nonce_{};
    Bytes plain_;
    Bytes associatedData_;
};

TEST_P(ChaChaPolyAgreement, SealsTheSameBytesAsLibsodium)
{
    ChaChaPoly sealer(key_.data(), ChaChaPoly::Direction::Seal);
    ASSERT_TRUE(sealer.Valid());
    Bytes sealed(plain_.size() + kTagSize);
    ASSERT_TRUE(sealer.Seal(sealed.data(), plain_.data(), plain_.size(), associatedData_.data(),
                            associatedData_.size(), nonce_));
    EXPECT_EQ(sealed, SodiumSealed());
    // A second seal on the same context starts afresh.
    Bytes again(sealed.size());
    ASSERT_TRUE(sealer.Seal(again.data(), plain_.data(), plain_.size(), associatedData_.data(),
                            associatedData_.size(), nonce_));
    EXPECT_EQ(again, sealed);
}

// Checking the tag alone (as verification does) accepts and refuses exactly what opening does.
TEST_P(ChaChaPolyAgreement, OpensWhatLibsodiumSealedAndRefusesEveryChangedTagOrData)
{
    const Bytes sealed = SodiumSealed();
    ChaChaPoly opener(key_.data(), ChaChaPoly::Direction::Open);
    ChaChaPoly checker(key_.data(), ChaChaPoly::Direction::Check);
    ASSERT_TRUE(opener.Valid());
    ASSERT_TRUE(checker.Valid());
    Bytes opened(plain_.size());
    const auto accepts = [&](const Bytes& bytes, const Bytes& associatedData,
                             const format::AeadNonce& nonce) {
        const bool opens = opener.Open(opened.data(), bytes.data(), bytes.size(), associatedData.data(),
                                       associatedData.size(), nonce);
        EXPECT_EQ(checker.Authenticate(bytes.data(), bytes.size(), associatedData.data(),
                                       associatedData.size(), nonce),
                  opens);
        return opens;
    };
    ASSERT_TRUE(accepts(sealed, associatedData_, nonce_));
    EXPECT_EQ(opened, plain_);

    // The first and last byte of the ciphertext, of the tag and of the associated data.
    std::vector<std::size_t> sealedPlaces = {plain_.size(), sealed.size() - 1};
    if (!plain_.empty()) {
        sealedPlaces.push_back(0);
        sealedPlaces.push_back(plain_.size() - 1);
    }
    for (const std::size_t place : sealedPlaces) {
        Bytes changed = sealed;
        changed[place] ^= 0x01;
        EXPECT_FALSE(accepts(changed, associatedData_, nonce_)) << "sealed byte " << place;
    }
    if (!associatedData_.empty()) {
        Bytes changed = associatedData_;
        changed.back() ^= 0x80;
        EXPECT_FALSE(accepts(sealed, changed, nonce_));
    }
    format::AeadNonce otherNonce = nonce_;
    otherNonce.back() ^= 0x01;  // a final-chunk flag set where it was not
    EXPECT_FALSE(accepts(sealed, associatedData_, otherNonce));
    // After refusals the contexts still accept the genuine chunk.
    EXPECT_TRUE(accepts(sealed, associatedData_, nonce_));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChaChaPolyAgreement, ::testing::ValuesIn(kSealCases),
                         [](const ::testing::TestParamInfo<SealCase>& param) { return param.param.name; });

TEST(ChaChaPoly, RefusesASealedInputShorterThanATag)
{
    const Bytes key(format::kKeySize, 0x42);
    ChaChaPoly opener(key.data(), ChaChaPoly::Direction::Open);
    const Bytes sealed(kTagSize - 1, 0);
    Bytes plain(1);
    EXPECT_FALSE(opener.Open(plain.data(), sealed.data(), sealed.size(), nullptr, 0, format::AeadNonce{}));
}

}  // namespace
}  // namespace kyv::cipher::test
