// Verification of a folder of encrypted files: each file authenticated or failed with a reason
// that says what is wrong, no plaintext written anywhere, and success only when every file passed.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "core/files/FolderPath.h"
#include "core/recovery/FileAuthenticator.h"
#include "core/recovery/FileVerifier.h"
#include "engine/cipher/ChunkedCipherEngine.h"
#include "engine/cipher/FileFormat.h"
#include "support/FakeCipherEngine.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;
using cipher::CipherResult;

constexpr cipher::KdfPolicy kCheap{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}};
constexpr std::size_t kPlainSize = 3 * cipher::format::kChunkSize + 100;

struct VerifyCase {
    const char* name;
    char keyFill;
    void (*damage)(std::string& sealed);
    CipherResult expected;
    const char* says;
};

const VerifyCase kCases[] = {
    {"good.kyv", 'K', [](std::string&) {}, CipherResult::Success, "authentic, 196,708 bytes of plaintext."},
    {"cut.kyv", 'K', [](std::string& b) { b.resize(b.size() - 50); }, CipherResult::Truncated,
     "FAILED, cut short"},
    {"tampered.kyv", 'K', [](std::string& b) { b[b.size() / 2] ^= 4; },
     CipherResult::ChunkAuthenticationFailed, "FAILED, damaged or altered"},
    {"otherkey.kyv", 'W', [](std::string&) {}, CipherResult::KeyIncorrectOrHeaderCorrupt,
     "FAILED, the key does not open it"},
    {"grown.kyv", 'K', [](std::string& b) { b += "tail"; }, CipherResult::BytesAppended,
     "FAILED, bytes were added after its end"},
};

class FileVerifierTest : public ::testing::Test {
protected:
    void Seal(const fs::path& path, char keyFill, void (*damage)(std::string&))
    {
        WriteWholeFile(root_ / "plain.tmp", PlainBytes(kPlainSize));
        const std::string key(cipher::kKeyLength, keyFill);
        ASSERT_EQ(engine_->Encrypt(EngineKeyOf(key), root_ / "plain.tmp", path).result,
                  CipherResult::Success);
        fs::remove(root_ / "plain.tmp");
        std::string sealed = ReadWholeFile(path);
        damage(sealed);
        WriteWholeFile(path, sealed);
    }
    VerifyRun Verify(const QString& spec, std::vector<VerifiedFile>& files)
    {
        FileAuthenticator authenticator(*engine_, key_);
        return VerifyFiles(
            VerifyRequest{FilePath(root_).AsFolder(), spec, true}, authenticator,
            [&files](const VerifiedFile& file) { files.push_back(file); }, [] { return false; });
    }

    QTemporaryDir dir_;
    fs::path root_ = dir_.path().toStdString();
    std::unique_ptr<cipher::ChunkedCipherEngine> engine_ = cipher::ChunkedCipherEngine::Make(kCheap);
    cipher::Key key_ = EngineKeyOf(std::string(cipher::kKeyLength, 'K'));
};

TEST_F(FileVerifierTest, EachFileAuthenticatedOrFailedWithWhy)
{
    fs::create_directory(root_ / "sub");
    for (const VerifyCase& c : kCases) Seal(root_ / "sub" / c.name, c.keyFill, c.damage);
    std::vector<VerifiedFile> files;
    const VerifyRun run = Verify(QStringLiteral("*.kyv"), files);

    ASSERT_EQ(files.size(), std::size(kCases));
    for (const VerifyCase& c : kCases) {
        const auto file = std::find_if(files.begin(), files.end(), [&c](const VerifiedFile& f) {
            return f.path.Text().endsWith(QLatin1Char('/') + QLatin1String(c.name));
        });
        ASSERT_NE(file, files.end()) << c.name;
        EXPECT_EQ(file->result, c.expected) << c.name;
        EXPECT_TRUE(VerifiedFileLine(*file).contains(QLatin1String(c.says)))
            << VerifiedFileLine(*file).toStdString();
    }
    EXPECT_EQ(run.authentic, 1);
    EXPECT_EQ(run.failed, 4);
    EXPECT_FALSE(run.AllAuthentic());
    EXPECT_EQ(VerifySummary(run), QStringLiteral("1 authentic, 4 failed."));
    // Nothing was written: the folder holds the files checked and nothing else.
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "sub"), fs::directory_iterator()), 5);
}

TEST_F(FileVerifierTest, SucceedsOnlyWhenEveryFileIsAuthentic)
{
    Seal(root_ / "a.kyv", 'K', [](std::string&) {});
    Seal(root_ / "b.kyv", 'K', [](std::string&) {});
    std::vector<VerifiedFile> files;
    EXPECT_TRUE(Verify(QStringLiteral("*.kyv"), files).AllAuthentic());
    files.clear();
    const VerifyRun none = Verify(QStringLiteral("*.none"), files);
    EXPECT_FALSE(none.AllAuthentic()) << "no file at all is no success";
    EXPECT_TRUE(VerifySummary(none).contains(QStringLiteral("No file matched")));
}

}  // namespace
}  // namespace kyv::test
