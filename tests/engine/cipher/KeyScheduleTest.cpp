// The expensive derivation is paid once per salt, and forgotten when the key changes.

#include "CipherTestSupport.h"

namespace kyv::cipher::test {
namespace {

TEST_F(CipherTest, BatchOfFilesNeedsOneDerivationEachWay)
{
    constexpr int kFiles = 200;
    auto writer = MakeEngine();
    for (int i = 0; i < kFiles; ++i) {
        WriteBytes(Path("p" + std::to_string(i)), MakePlaintext(Content::Random, 100 + i, i));
        ASSERT_EQ(Encrypt(*writer, Path("p" + std::to_string(i)), Path("e" + std::to_string(i)), TestKey()),
                  CipherResult::Success);
    }
    EXPECT_EQ(writer->DerivationCount(), 1u);

    auto reader = MakeEngine();
    for (int i = 0; i < kFiles; ++i) {
        ASSERT_EQ(Decrypt(*reader, Path("e" + std::to_string(i)), Path("d" + std::to_string(i)), TestKey()),
                  CipherResult::Success);
        ASSERT_TRUE(ReadBytes(Path("d" + std::to_string(i))) == MakePlaintext(Content::Random, 100 + i, i));
    }
    EXPECT_EQ(reader->DerivationCount(), 1u);
    // The writer decrypts its own files with the key it already holds.
    ASSERT_EQ(Decrypt(*writer, Path("e0"), Path("d0"), TestKey()), CipherResult::Success);
    EXPECT_EQ(writer->DerivationCount(), 1u);
}

TEST_F(CipherTest, KeyChangeAndWipingForgetDerivations)
{
    auto engine = MakeEngine();
    WriteBytes(Path("plain"), MakePlaintext(Content::Text, 10));
    ASSERT_EQ(Encrypt(*engine, Path("plain"), Path("a"), TestKey('A')), CipherResult::Success);
    ASSERT_EQ(Encrypt(*engine, Path("plain"), Path("b"), TestKey('B')), CipherResult::Success);
    // The count starts again with each key: one derivation for B, none kept from A.
    EXPECT_EQ(engine->DerivationCount(), 1u);
    const auto a = ReadBytes(Path("a"));
    const auto b = ReadBytes(Path("b"));
    EXPECT_FALSE(std::equal(a.begin() + 3, a.begin() + 19, b.begin() + 3)) << "a new key draws a new salt";

    ASSERT_EQ(Decrypt(*engine, Path("a"), Path("a.out"), TestKey('A')), CipherResult::Success);
    ASSERT_EQ(Decrypt(*engine, Path("b"), Path("b.out"), TestKey('B')), CipherResult::Success);
    EXPECT_EQ(engine->DerivationCount(), 1u);

    engine->WipeKeys();
    ASSERT_EQ(Decrypt(*engine, Path("b"), Path("b.out"), TestKey('B')), CipherResult::Success);
    EXPECT_EQ(engine->DerivationCount(), 1u);
}

TEST_F(CipherTest, DecryptionCacheIsBoundedAndStillCorrect)
{
    // More salts than the cache holds: every file still decrypts, the oldest are derived again.
    constexpr int kSalts = static_cast<int>(KeySchedule::kCacheCapacity) + 3;
    for (int i = 0; i < kSalts; ++i) {
        auto writer = MakeEngine();
        WriteBytes(Path("p"), MakePlaintext(Content::Text, 20 + i));
        ASSERT_EQ(Encrypt(*writer, Path("p"), Path("e" + std::to_string(i)), TestKey()),
                  CipherResult::Success);
    }
    auto reader = MakeEngine();
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < kSalts; ++i) {
            ASSERT_EQ(Decrypt(*reader, Path("e" + std::to_string(i)), Path("d"), TestKey()),
                      CipherResult::Success);
            EXPECT_EQ(ReadBytes(Path("d")).size(), 20u + i);
        }
    }
    EXPECT_EQ(reader->DerivationCount(), 2u * kSalts);
}

}  // namespace
}  // namespace kyv::cipher::test
