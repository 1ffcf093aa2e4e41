// Encrypted files of 256 bytes or more look random to the file library's measure, whatever the
// plaintext: the program asks before decrypting files that measure below 0.89.

#include "CipherTestSupport.h"
#include "engine/cipher/FileFormat.h"
#include "engine/filelib/Randomness.h"

namespace kyv::cipher::test {
namespace {

constexpr double kMinEncryptedRandomness = 0.89;
constexpr std::int64_t kMinSizeForRandomness = 256;

struct RandomnessCase {
    const char* name;
    Content content;
};

const RandomnessCase kRandomnessCases[] = {
    {"Zeros", Content::Zeros},
    {"Text", Content::Text},
    {"Random", Content::Random},
};

class OutputRandomness : public CipherTest, public ::testing::WithParamInterface<RandomnessCase> {};

TEST_P(OutputRandomness, IsAtLeastTheProgramsThreshold)
{
    // The smallest plaintext whose encryption is 256 bytes, then sizes up to 1 MiB.
    const std::size_t smallest = kMinSizeForRandomness - format::kHeaderSize - format::kTagSize;
    const std::size_t sizes[] = {smallest, smallest + 1, 300,    1000,
                                 4096,     65536,        200000, std::size_t{1} << 20};
    auto engine = MakeEngine();
    for (std::size_t size : sizes) {
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            ASSERT_EQ(EncryptBytes(*engine, MakePlaintext(GetParam().content, size, seed), TestKey()),
                      CipherResult::Success);
            const double randomness = filelib::FileRandomness(Path("enc.kyv"), kMinSizeForRandomness);
            EXPECT_GE(randomness, kMinEncryptedRandomness)
                << "plaintext of " << size << " bytes, seed " << seed;
        }
    }
    ASSERT_EQ(EncryptBytes(*engine, MakePlaintext(GetParam().content, smallest - 1), TestKey()),
              CipherResult::Success);
    EXPECT_EQ(std::filesystem::file_size(Path("enc.kyv")), 255u);
}

INSTANTIATE_TEST_SUITE_P(Plaintexts, OutputRandomness, ::testing::ValuesIn(kRandomnessCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace kyv::cipher::test
