// Encrypting then decrypting restores every byte, for sizes around every boundary of the format.

#include <sys/stat.h>

#include "CipherTestSupport.h"
#include "engine/cipher/ChunkPipeline.h"
#include "engine/cipher/FileFormat.h"

namespace kyv::cipher::test {
namespace {

using format::kChunkSize;

struct RoundTripCase {
    const char* name;
    std::size_t size;
    Content content;
    unsigned threads;
};

constexpr std::size_t kSlab = kChunksPerSlab * kChunkSize;

const RoundTripCase kRoundTripCases[] = {
    {"Empty", 0, Content::Text, 2},
    {"OneByte", 1, Content::Text, 2},
    {"ThreeBytes", 3, Content::Random, 2},
    {"OneChunkLessOne", kChunkSize - 1, Content::Random, 2},
    {"ExactlyOneChunk", kChunkSize, Content::Zeros, 2},
    {"OneChunkPlusOne", kChunkSize + 1, Content::Text, 2},
    {"ExactlyOneSlab", kSlab, Content::Random, 2},
    {"OneSlabPlusOne", kSlab + 1, Content::Random, 2},
    {"SeveralSlabsTwoThreads", 3 * kSlab + 12345, Content::Random, 2},
    {"SeveralSlabsOneThread", 3 * kSlab + 12345, Content::Text, 1},
    {"SeveralSlabsFourThreads", 5 * kSlab - 1, Content::Zeros, 4},
};

class RoundTrip : public CipherTest, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, RestoresInputAndHasExpectedSize)
{
    const RoundTripCase& param = GetParam();
    auto engine = MakeEngine();
    engine->SetMaxThreads(param.threads);
    const Bytes plaintext = MakePlaintext(param.content, param.size);
    const std::string key = TestKey();

    ASSERT_EQ(EncryptBytes(*engine, plaintext, key), CipherResult::Success);
    EXPECT_EQ(engine->BytesProcessed(), param.size);
    const auto encryptedSize = std::filesystem::file_size(Path("enc.kyv"));
    EXPECT_EQ(encryptedSize, format::EncryptedSize(param.size));
    EXPECT_EQ(LastOutputLength(), encryptedSize);
    EXPECT_GE(encryptedSize, 3u);

    ASSERT_EQ(Decrypt(*engine, Path("enc.kyv"), Path("dec.bin"), key), CipherResult::Success);
    EXPECT_EQ(engine->BytesProcessed(), encryptedSize);
    EXPECT_EQ(LastOutputLength(), param.size);
    EXPECT_TRUE(ReadBytes(Path("dec.bin")) == plaintext);
    // Only the three named files: no working file was left behind.
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{"dec.bin", "enc.kyv", "plain.bin"}));
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundTrip, ::testing::ValuesIn(kRoundTripCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(CipherTest, OutputFilesAreOwnerOnly)
{
    auto engine = MakeEngine();
    ASSERT_EQ(EncryptBytes(*engine, MakePlaintext(Content::Text, 100), TestKey()), CipherResult::Success);
    ASSERT_EQ(Decrypt(*engine, Path("enc.kyv"), Path("dec.bin"), TestKey()), CipherResult::Success);
    for (const char* name : {"enc.kyv", "dec.bin"}) {
        struct stat status {};
        ASSERT_EQ(::stat(Path(name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u) << name;
    }
}

TEST_F(CipherTest, SamePlaintextTwiceGivesDifferentCiphertexts)
{
    auto engine = MakeEngine();
    const Bytes plaintext = MakePlaintext(Content::Zeros, 5000);
    ASSERT_EQ(EncryptBytes(*engine, plaintext, TestKey()), CipherResult::Success);
    const Bytes first = ReadBytes(Path("enc.kyv"));
    ASSERT_EQ(EncryptBytes(*engine, plaintext, TestKey()), CipherResult::Success);
    const Bytes second = ReadBytes(Path("enc.kyv"));
    ASSERT_EQ(first.size(), second.size());
    // Same run, so the same salt; the file nonce and everything after it must differ.
    EXPECT_TRUE(std::equal(first.begin(), first.begin() + format::kFileNonceOffset, second.begin()));
    EXPECT_FALSE(std::equal(first.begin() + format::kFileNonceOffset, first.end(),
                            second.begin() + format::kFileNonceOffset));
}

TEST_F(CipherTest, ExistingOutputIsReplacedOnSuccessAndKeptOnFailure)
{
    auto engine = MakeEngine();
    const Bytes plaintext = MakePlaintext(Content::Text, 777);
    ASSERT_EQ(EncryptBytes(*engine, plaintext, TestKey()), CipherResult::Success);

    const Bytes previous = MakePlaintext(Content::Random, 50, 7);
    WriteBytes(Path("dec.bin"), previous);
    EXPECT_EQ(Decrypt(*engine, Path("enc.kyv"), Path("dec.bin"), TestKey('X')),
              CipherResult::KeyIncorrectOrHeaderCorrupt);
    EXPECT_TRUE(ReadBytes(Path("dec.bin")) == previous);

    ASSERT_EQ(Decrypt(*engine, Path("enc.kyv"), Path("dec.bin"), TestKey()), CipherResult::Success);
    EXPECT_TRUE(ReadBytes(Path("dec.bin")) == plaintext);
}

TEST_F(CipherTest, DecryptsFilesOfAnEarlierRunAndOfOtherCosts)
{
    // Files from another engine (another salt) and with a higher recorded cost still open.
    auto writer = ChunkedCipherEngine::Make(KdfPolicy{KdfCost{2, 15}, KdfCost{2, 15}});
    ASSERT_NE(writer, nullptr);
    const Bytes plaintext = MakePlaintext(Content::Random, 3000);
    ASSERT_EQ(EncryptBytes(*writer, plaintext, TestKey()), CipherResult::Success);
    writer.reset();

    auto reader = MakeEngine();
    ASSERT_EQ(Decrypt(*reader, Path("enc.kyv"), Path("dec.bin"), TestKey()), CipherResult::Success);
    EXPECT_TRUE(ReadBytes(Path("dec.bin")) == plaintext);
}

TEST_F(CipherTest, RefusesCostsAboveTheCeiling)
{
    auto writer = ChunkedCipherEngine::Make(KdfPolicy{KdfCost{3, 13}, KdfCost{3, 13}});
    ASSERT_NE(writer, nullptr);
    ASSERT_EQ(EncryptBytes(*writer, MakePlaintext(Content::Text, 10), TestKey()), CipherResult::Success);
    auto reader = MakeEngine();  // accepts at most 2 passes
    EXPECT_EQ(Decrypt(*reader, Path("enc.kyv"), Path("dec.bin"), TestKey()),
              CipherResult::KeyIncorrectOrHeaderCorrupt);
    EXPECT_EQ(reader->DerivationCount(), 0u);
}

TEST(CipherEngineFactory, DefaultCostIsAtLeastModerate)
{
    const KdfPolicy policy = DefaultKdfPolicy();
    EXPECT_GE(policy.encrypt.opsLimit, 3);
    EXPECT_GE(std::uint64_t{1} << policy.encrypt.memLimitLog2, std::uint64_t{256} << 20);
    EXPECT_GE(policy.decryptCeiling.opsLimit, policy.encrypt.opsLimit);
    EXPECT_GE(policy.decryptCeiling.memLimitLog2, policy.encrypt.memLimitLog2);
    EXPECT_NE(MakeCipherEngine(), nullptr);
    // A cost no file can record makes no engine.
    EXPECT_EQ(MakeCipherEngine(KdfPolicy{KdfCost{0, 13}, KdfCost{1, 13}}), nullptr);
}

}  // namespace
}  // namespace kyv::cipher::test
