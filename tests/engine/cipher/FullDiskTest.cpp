// A disk that fills while a file is written: the result says so and no file is left behind, for
// a file written in one call and for one written in slabs by several threads.

#include <sys/mount.h>

#include "CipherTestSupport.h"
#include "engine/cipher/ChunkPipeline.h"
#include "engine/cipher/FileFormat.h"

namespace kyv::cipher::test {
namespace {

constexpr std::size_t kSlab = kChunksPerSlab * format::kChunkSize;

struct FullDiskCase {
    const char* name;
    bool encrypt;
    std::size_t size;  // of the plaintext; the small disk holds 256 KiB
};

const FullDiskCase kFullDiskCases[] = {
    {"EncryptOneSlab", true, kSlab / 2},
    {"EncryptSeveralSlabs", true, 3 * kSlab + 1},
    {"DecryptOneSlab", false, kSlab / 2},
    {"DecryptSeveralSlabs", false, 3 * kSlab + 1},
};

class FullDisk : public CipherTest, public ::testing::WithParamInterface<FullDiskCase> {
protected:
    void TearDown() override
    {
        if (mounted_) {
            ::umount2(Path("small").c_str(), MNT_DETACH);
        }
        CipherTest::TearDown();
    }
    bool mounted_ = false;
};

TEST_P(FullDisk, GivesDiskFullAndLeavesNothing)
{
    const FullDiskCase& param = GetParam();
    std::filesystem::create_directory(Path("small"));
    if (::mount("tmpfs", Path("small").c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    }
    mounted_ = true;
    auto engine = MakeEngine();
    engine->SetMaxThreads(2);
    ASSERT_EQ(EncryptBytes(*engine, MakePlaintext(Content::Random, param.size), TestKey()),
              CipherResult::Success);

    const std::filesystem::path output = Path("small") / "out";
    const CipherResult code = param.encrypt ? Encrypt(*engine, Path("plain.bin"), output, TestKey())
                                            : Decrypt(*engine, Path("enc.kyv"), output, TestKey());
    EXPECT_EQ(code, CipherResult::DiskFull);
    EXPECT_TRUE(std::filesystem::is_empty(Path("small")));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FullDisk, ::testing::ValuesIn(kFullDiskCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace kyv::cipher::test
