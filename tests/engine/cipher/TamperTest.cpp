// A modified, truncated, extended or reordered file never decrypts: it gets its code, and output
// appears only as a prefix of authenticated chunks.

#include <algorithm>

#include "CipherTestSupport.h"
#include "engine/cipher/ChunkPipeline.h"
#include "engine/cipher/FileFormat.h"

namespace kyv::cipher::test {
namespace {

using format::kChunkSize;
using format::kHeaderSize;
using format::kSealedChunkSize;

class Tamper : public CipherTest {
protected:
    // Encrypts `plaintext` into enc.kyv and returns the ciphertext.
    Bytes Sealed(const Bytes& plaintext)
    {
        engine_ = MakeEngine();
        EXPECT_EQ(EncryptBytes(*engine_, plaintext, TestKey()), CipherResult::Success);
        return ReadBytes(Path("enc.kyv"));
    }
    CipherResult DecryptModified(const Bytes& modified)
    {
        WriteBytes(Path("bad.kyv"), modified);
        return Decrypt(*engine_, Path("bad.kyv"), Path("out.bin"), TestKey());
    }
    [[nodiscard]] bool OutputExists() const { return std::filesystem::exists(Path("out.bin")); }

    std::unique_ptr<ChunkedCipherEngine> engine_;
};

TEST_F(Tamper, EveryBitFlipIsDetectedWithoutOutput)
{
    const Bytes plaintext = MakePlaintext(Content::Text, 40);
    const Bytes sealed = Sealed(plaintext);
    ASSERT_EQ(sealed.size(), kHeaderSize + 40 + format::kTagSize);
    int flips = 0;
    for (std::size_t byte = 0; byte < sealed.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes modified = sealed;
            modified[byte] ^= static_cast<unsigned char>(1 << bit);
            const CipherResult expected = byte < kHeaderSize ? CipherResult::KeyIncorrectOrHeaderCorrupt
                                                             : CipherResult::ChunkAuthenticationFailed;
            ASSERT_EQ(DecryptModified(modified), expected) << "byte " << byte << " bit " << bit;
            // A single chunk that fails leaves nothing authenticated, so nothing is written.
            ASSERT_FALSE(OutputExists()) << "byte " << byte << " bit " << bit;
            ++flips;
        }
    }
    EXPECT_EQ(flips, static_cast<int>(sealed.size() * 8));
    // Flipped salts cost derivations, but the unmodified salt was derived once only.
    EXPECT_LE(engine_->DerivationCount(), 1u + 16 * 8 + 2 * 8);
}

// Verification reads the same checks as decryption and writes nothing: a whole file passes, a flip
// in its last chunk (past its first slab) or a cut fails, and the folder holds no more files than
// before.
TEST_F(Tamper, VerificationAuthenticatesWithoutWritingPlaintext)
{
    const Bytes sealed = Sealed(MakePlaintext(Content::Text, (kChunksPerCheckedSlab + 3) * kChunkSize + 5));
    const auto files = [this] {
        return std::distance(std::filesystem::directory_iterator(Path("")),
                             std::filesystem::directory_iterator());
    };
    const auto before = files();
    const auto verify = [&](const Bytes& bytes) {
        WriteBytes(Path("check.kyv"), bytes);
        return engine_->Verify(KeyOf(TestKey()), Path("check.kyv")).result;
    };
    EXPECT_EQ(verify(sealed), CipherResult::Success);
    Bytes flipped = sealed;
    flipped[sealed.size() - 3] ^= 1;
    EXPECT_EQ(verify(flipped), CipherResult::ChunkAuthenticationFailed);
    EXPECT_EQ(verify(Bytes(sealed.begin(), sealed.end() - 100)), CipherResult::Truncated);
    EXPECT_EQ(files(), before + 1) << "only the file checked was added";
}

// The header check reads the header alone: a damaged body still passes it; a flipped header, a
// cut inside the header or another key does not.
TEST_F(Tamper, TheHeaderCheckLooksAtTheHeaderAlone)
{
    const Bytes sealed = Sealed(MakePlaintext(Content::Text, 3 * kChunkSize + 5));
    const auto recognised = [&](const Bytes& bytes, const std::string& key) {
        WriteBytes(Path("check.kyv"), bytes);
        return engine_->IsEncryptedWithKey(KeyOf(key), Path("check.kyv"));
    };
    Bytes zeroedBody = sealed;
    std::fill(zeroedBody.begin() + kHeaderSize, zeroedBody.end(), 0);
    Bytes flippedHeader = sealed;
    flippedHeader[kHeaderSize - 1] ^= 1;
    EXPECT_TRUE(recognised(sealed, TestKey()));
    EXPECT_TRUE(recognised(zeroedBody, TestKey()));
    EXPECT_FALSE(recognised(flippedHeader, TestKey()));
    EXPECT_FALSE(recognised(Bytes(sealed.begin(), sealed.begin() + kHeaderSize - 1), TestKey()));
    EXPECT_FALSE(recognised(sealed, TestKey('L')));
}

struct SizeChangeCase {
    const char* name;
    std::int64_t keptBytes;  // bytes of the ciphertext kept; negative counts from its end
    std::size_t appended;
    CipherResult expected;
};

// A file of three full chunks and a partial one (4 chunks).
constexpr std::size_t kFourChunkPlaintext = 3 * kChunkSize + 1000;
constexpr std::int64_t Boundary(int chunks) { return kHeaderSize + chunks * std::int64_t{kSealedChunkSize}; }

const SizeChangeCase kSizeChangeCases[] = {
    {"Empty", 0, 0, CipherResult::EndsInsideHeader},
    {"OneByte", 1, 0, CipherResult::EndsInsideHeader},
    {"TwoBytes", 2, 0, CipherResult::EndsInsideHeader},
    {"ThreeBytes", 3, 0, CipherResult::EndsInsideHeader},
    {"HeaderLessOne", kHeaderSize - 1, 0, CipherResult::EndsInsideHeader},
    {"HeaderOnly", kHeaderSize, 0, CipherResult::Truncated},
    {"FirstBoundaryLessOne", Boundary(1) - 1, 0, CipherResult::Truncated},
    {"FirstBoundary", Boundary(1), 0, CipherResult::Truncated},
    {"SecondBoundaryLessOne", Boundary(2) - 1, 0, CipherResult::Truncated},
    {"SecondBoundary", Boundary(2), 0, CipherResult::Truncated},
    {"ThirdBoundaryLessOne", Boundary(3) - 1, 0, CipherResult::Truncated},
    {"ThirdBoundary", Boundary(3), 0, CipherResult::Truncated},
    {"LastByteMissing", -1, 0, CipherResult::Truncated},
    {"OneByteAppended", -0, 1, CipherResult::BytesAppended},
    {"ChunkAppended", -0, kSealedChunkSize, CipherResult::BytesAppended},
};

class SizeChange : public Tamper, public ::testing::WithParamInterface<SizeChangeCase> {};

TEST_P(SizeChange, GivesExpansionCodeBeforeAnyOutput)
{
    const SizeChangeCase& param = GetParam();
    const Bytes sealed = Sealed(MakePlaintext(Content::Random, kFourChunkPlaintext));
    const auto size = static_cast<std::int64_t>(sealed.size());
    const std::int64_t kept = param.keptBytes > 0 || (param.keptBytes == 0 && param.appended == 0)
                                  ? param.keptBytes
                                  : size + param.keptBytes;
    ASSERT_LE(kept, size);
    Bytes modified(sealed.begin(), sealed.begin() + kept);
    const Bytes extra = MakePlaintext(Content::Random, param.appended, 99);
    modified.insert(modified.end(), extra.begin(), extra.end());

    EXPECT_EQ(DecryptModified(modified), param.expected);
    EXPECT_FALSE(OutputExists());
}

INSTANTIATE_TEST_SUITE_P(Cuts, SizeChange, ::testing::ValuesIn(kSizeChangeCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(Tamper, SwappedChunksKeepOnlyTheChunksBefore)
{
    const Bytes plaintext = MakePlaintext(Content::Random, kFourChunkPlaintext);
    const Bytes sealed = Sealed(plaintext);
    Bytes modified = sealed;
    std::swap_ranges(modified.begin() + Boundary(1), modified.begin() + Boundary(2),
                     modified.begin() + Boundary(2));

    EXPECT_EQ(DecryptModified(modified), CipherResult::ChunkAuthenticationFailed);
    const Bytes partial = ReadBytes(Path("out.bin"));
    EXPECT_TRUE(partial == Bytes(plaintext.begin(), plaintext.begin() + kChunkSize));
}

TEST_F(Tamper, ChunkFromAnotherFileIsRejected)
{
    const Bytes plaintext = MakePlaintext(Content::Random, kFourChunkPlaintext);
    const Bytes first = Sealed(plaintext);
    ASSERT_EQ(EncryptBytes(*engine_, plaintext, TestKey()), CipherResult::Success);
    const Bytes second = ReadBytes(Path("enc.kyv"));
    Bytes spliced = first;
    std::copy(second.begin() + Boundary(2), second.begin() + Boundary(3), spliced.begin() + Boundary(2));

    EXPECT_EQ(DecryptModified(spliced), CipherResult::ChunkAuthenticationFailed);
    const Bytes partial = ReadBytes(Path("out.bin"));
    EXPECT_TRUE(partial == Bytes(plaintext.begin(), plaintext.begin() + 2 * kChunkSize));
}

TEST_F(Tamper, FinalChunkMovedForwardIsRejected)
{
    // Two files' worth of layout: keep the header and put the final chunk where chunk 0 was.
    const Bytes plaintext = MakePlaintext(Content::Random, kChunkSize + 100);
    const Bytes sealed = Sealed(plaintext);
    Bytes modified(sealed.begin(), sealed.begin() + kHeaderSize);
    modified.insert(modified.end(), sealed.begin() + Boundary(1), sealed.end());
    modified.insert(modified.end(), sealed.begin() + kHeaderSize, sealed.begin() + Boundary(1));

    EXPECT_EQ(DecryptModified(modified), CipherResult::ChunkAuthenticationFailed);
    EXPECT_FALSE(OutputExists());
}

struct DamagedChunkCase {
    const char* name;
    std::size_t chunks;  // full chunks of the plaintext, plus 500 bytes
    std::size_t damaged;
    unsigned threads;
};

const DamagedChunkCase kDamagedChunkCases[] = {
    {"FirstOfMany", 40, 0, 2},           {"MiddleOneThread", 40, 21, 1}, {"MiddleTwoThreads", 40, 21, 2},
    {"LaterSlabFourThreads", 70, 50, 4}, {"Final", 40, 40, 2},
};

class DamagedChunk : public Tamper, public ::testing::WithParamInterface<DamagedChunkCase> {};

TEST_P(DamagedChunk, OutputHoldsExactlyTheAuthenticatedPrefix)
{
    const DamagedChunkCase& param = GetParam();
    const Bytes plaintext = MakePlaintext(Content::Random, param.chunks * kChunkSize + 500);
    Bytes modified = Sealed(plaintext);
    modified[Boundary(static_cast<int>(param.damaged)) + 7] ^= 0x20;
    engine_->SetMaxThreads(param.threads);

    EXPECT_EQ(DecryptModified(modified), CipherResult::ChunkAuthenticationFailed);
    if (param.damaged == 0) {
        EXPECT_FALSE(OutputExists());
    } else {
        const Bytes partial = ReadBytes(Path("out.bin"));
        EXPECT_TRUE(partial == Bytes(plaintext.begin(), plaintext.begin() + param.damaged * kChunkSize));
    }
    EXPECT_EQ(FolderEntries(folder_).size(), param.damaged == 0 ? 3u : 4u);
}

INSTANTIATE_TEST_SUITE_P(Chunks, DamagedChunk, ::testing::ValuesIn(kDamagedChunkCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(Tamper, WrongKeyCreatesNoOutput)
{
    const Bytes sealed = Sealed(MakePlaintext(Content::Text, 3 * kChunkSize));
    for (char fill : {'k', 'L', ' '}) {
        EXPECT_EQ(Decrypt(*engine_, Path("enc.kyv"), Path("out.bin"), TestKey(fill)),
                  CipherResult::KeyIncorrectOrHeaderCorrupt)
            << fill;
        EXPECT_FALSE(OutputExists());
    }
    const std::string shorter = TestKey().substr(0, 63);
    EXPECT_EQ(Decrypt(*engine_, Path("enc.kyv"), Path("out.bin"), shorter),
              CipherResult::KeyIncorrectOrHeaderCorrupt);
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{"enc.kyv", "plain.bin"}));
}

TEST_F(Tamper, UnknownVersionIsAHeaderFailure)
{
    Bytes modified = Sealed(MakePlaintext(Content::Text, 10));
    for (unsigned char version : {0, 2, 255}) {
        modified[format::kVersionOffset] = version;
        EXPECT_EQ(DecryptModified(modified), CipherResult::KeyIncorrectOrHeaderCorrupt) << int{version};
    }
}

}  // namespace
}  // namespace kyv::cipher::test
