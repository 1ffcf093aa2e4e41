// Authenticating a file reads every chunk and writes nothing: a sound file passes with its
// plaintext length; a damaged, cut or lengthened one, or the wrong key, gets the code its
// decryption would get. The structural length check tells complete sizes from the others.

#include "CipherTestSupport.h"
#include "engine/cipher/FileFormat.h"

namespace kyv::cipher::test {
namespace {

using format::kChunkSize;
using format::kHeaderSize;
using format::kSealedChunkSize;

struct AuthenticationCase {
    const char* name;
    std::size_t plaintextSize;
    void (*damage)(Bytes& sealed);
    char keyFill;
    CipherResult expected;
};

const AuthenticationCase kCases[] = {
    {"Sound", 3 * kChunkSize + 10, [](Bytes&) {}, 'K', CipherResult::Success},
    {"SoundEmpty", 0, [](Bytes&) {}, 'K', CipherResult::Success},
    {"WrongKey", 1000, [](Bytes&) {}, 'W', CipherResult::KeyIncorrectOrHeaderCorrupt},
    {"LastChunkFlipped", 3 * kChunkSize + 10, [](Bytes& b) { b.back() ^= 1; }, 'K',
     CipherResult::ChunkAuthenticationFailed},
    {"SecondChunkFlipped", 3 * kChunkSize + 10,
     [](Bytes& b) { b[kHeaderSize + kSealedChunkSize + 5] ^= 0x80; }, 'K',
     CipherResult::ChunkAuthenticationFailed},
    {"LastChunkCut", 3 * kChunkSize + 10, [](Bytes& b) { b.resize(kHeaderSize + 3 * kSealedChunkSize); }, 'K',
     CipherResult::Truncated},
    {"ByteAppended", 1000, [](Bytes& b) { b.push_back(0); }, 'K', CipherResult::BytesAppended},
};

class AuthenticateFile : public CipherTest, public ::testing::WithParamInterface<AuthenticationCase> {};

TEST_P(AuthenticateFile, GivesDecryptionsCodeAndWritesNothing)
{
    const AuthenticationCase& c = GetParam();
    const auto engine = MakeEngine();
    ASSERT_EQ(EncryptBytes(*engine, MakePlaintext(Content::Text, c.plaintextSize), TestKey()),
              CipherResult::Success);
    Bytes sealed = ReadBytes(Path("enc.kyv"));
    c.damage(sealed);
    WriteBytes(Path("enc.kyv"), sealed);
    const std::vector<std::string> before = FolderEntries(folder_);

    const std::string key = TestKey(c.keyFill);
    engine->OperationInitialization(reinterpret_cast<const unsigned char*>(key.data()), key.size(), false,
                                    sealed.size());
    EXPECT_EQ(engine->AuthenticateFile(Path("enc.kyv")), c.expected);
    EXPECT_EQ(FolderEntries(folder_), before) << "authenticating wrote a file";
    if (c.expected == CipherResult::Success) {
        EXPECT_EQ(engine->OutputLength(), c.plaintextSize);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, AuthenticateFile, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(PlaintextLengthFor, AnswersExactlyTheSizesOfWholeFiles)
{
    int complete = 0;
    for (const std::uint64_t length :
         {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{kChunkSize - 1}, std::uint64_t{kChunkSize},
          std::uint64_t{kChunkSize + 1}, std::uint64_t{5 * kChunkSize}, std::uint64_t{5 * kChunkSize + 7}}) {
        const std::uint64_t size = format::EncryptedSize(length);
        EXPECT_EQ(format::PlaintextLengthFor(size), length) << length;
        // One byte short of a full file, or a tag's worth more, is no whole file.
        EXPECT_NE(format::PlaintextLengthFor(size - 1), length) << length;
        ++complete;
    }
    EXPECT_EQ(complete, 7);
    for (const std::uint64_t size :
         {std::uint64_t{0}, std::uint64_t{kHeaderSize}, std::uint64_t{kHeaderSize + 15},
          std::uint64_t{kHeaderSize + kSealedChunkSize + format::kTagSize}})
        EXPECT_EQ(format::PlaintextLengthFor(size), std::nullopt) << size;
}

}  // namespace
}  // namespace kyv::cipher::test
