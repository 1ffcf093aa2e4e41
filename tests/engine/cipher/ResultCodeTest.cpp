// Failures outside the ciphertext: missing or unusable files, and progress while working.

#include <sys/stat.h>

#include <atomic>
#include <thread>

#include "CipherTestSupport.h"

namespace kyv::cipher::test {
namespace {

struct PathFailureCase {
    const char* name;
    bool encrypt;
    const char* input;  // relative to the test folder; "plain", "sealed", "sub" and "pipe" exist
    const char* output;
    int expected;
};

const PathFailureCase kPathFailureCases[] = {
    {"EncryptMissingInput", true, "missing", "out", kInputNotFound},
    {"DecryptMissingInput", false, "missing", "out", kInputNotFound},
    {"EncryptInputInMissingFolder", true, "nofolder/plain", "out", kInputNotFound},
    {"EncryptFolderAsInput", true, "sub", "out", kInputCannotBeOpened},
    {"DecryptFolderAsInput", false, "sub", "out", kInputCannotBeOpened},
    // A named pipe put where a file was listed is refused at once instead of waiting for a writer.
    {"EncryptPipeAsInput", true, "pipe", "out", kInputCannotBeOpened},
    {"DecryptPipeAsInput", false, "pipe", "out", kInputCannotBeOpened},
    {"EncryptOutputInMissingFolder", true, "plain", "nofolder/out", kOutputCannotBeOpened},
    {"DecryptOutputInMissingFolder", false, "sealed", "nofolder/out", kOutputCannotBeOpened},
    {"EncryptOutputIsAFolder", true, "plain", "sub", kWriteError},
    {"DecryptOutputIsAFolder", false, "sealed", "sub", kWriteError},
};

class PathFailure : public CipherTest, public ::testing::WithParamInterface<PathFailureCase> {};

TEST_P(PathFailure, GivesItsCodeAndLeavesNoFile)
{
    const PathFailureCase& param = GetParam();
    auto engine = MakeEngine();
    WriteBytes(Path("plain"), MakePlaintext(Content::Text, 1000));
    ASSERT_EQ(Encrypt(*engine, Path("plain"), Path("sealed"), TestKey()), kSuccess);
    std::filesystem::create_directory(Path("sub"));
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);

    const int code = param.encrypt ? Encrypt(*engine, Path(param.input), Path(param.output), TestKey())
                                   : Decrypt(*engine, Path(param.input), Path(param.output), TestKey());
    EXPECT_EQ(code, param.expected);
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{"pipe", "plain", "sealed", "sub"}));
    EXPECT_TRUE(std::filesystem::is_empty(Path("sub")));
}

INSTANTIATE_TEST_SUITE_P(Paths, PathFailure, ::testing::ValuesIn(kPathFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CipherTest, ProgressCanBeReadWhileAFileIsWorkedOn)
{
    constexpr std::size_t kSize = 24 << 20;
    auto engine = MakeEngine();
    WriteBytes(Path("plain"), MakePlaintext(Content::Zeros, kSize));
    const std::string key = TestKey();
    engine->OperationInitialization(reinterpret_cast<const unsigned char*>(key.data()), key.size(), true,
                                    kSize);

    std::atomic<bool> done{false};
    std::uint64_t lastSeen = 0;
    bool monotonic = true;
    std::thread watcher([&] {
        while (!done.load()) {
            const std::uint64_t now = engine->BytesProcessed();
            monotonic = monotonic && now >= lastSeen && now <= kSize;
            lastSeen = now;
            std::this_thread::yield();
        }
    });
    const int code = engine->EncryptFile(Path("plain"), Path("sealed"));
    done.store(true);
    watcher.join();
    EXPECT_EQ(code, kSuccess);
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(engine->BytesProcessed(), kSize);
    engine->OperationInitialization(reinterpret_cast<const unsigned char*>(key.data()), key.size(), false, 0);
    EXPECT_EQ(engine->BytesProcessed(), 0u);
}

TEST_F(CipherTest, WorksWithoutExplicitAllocation)
{
    ChunkedCipherEngine engine(kCheapPolicy);
    const Bytes plaintext = MakePlaintext(Content::Text, 300);
    ASSERT_EQ(EncryptBytes(engine, plaintext, TestKey()), kSuccess);
    ASSERT_EQ(Decrypt(engine, Path("enc.kyv"), Path("dec"), TestKey()), kSuccess);
    EXPECT_TRUE(ReadBytes(Path("dec")) == plaintext);
}

}  // namespace
}  // namespace kyv::cipher::test
