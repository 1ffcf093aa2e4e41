// Failures outside the ciphertext: missing or unusable files, and progress while working.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "CipherTestSupport.h"

namespace kyv::cipher::test {
namespace {

struct PathFailureCase {
    const char* name;
    bool encrypt;
    const char* input;  // relative to the test folder; "plain", "sealed", "sub" and "pipe" exist
    const char* output;
    CipherResult expected;
};

const PathFailureCase kPathFailureCases[] = {
    {"EncryptMissingInput", true, "missing", "out", CipherResult::InputNotFound},
    {"DecryptMissingInput", false, "missing", "out", CipherResult::InputNotFound},
    {"EncryptInputInMissingFolder", true, "nofolder/plain", "out", CipherResult::InputNotFound},
    {"EncryptFolderAsInput", true, "sub", "out", CipherResult::InputCannotBeOpened},
    {"DecryptFolderAsInput", false, "sub", "out", CipherResult::InputCannotBeOpened},
    // A named pipe put where a file was listed is refused at once instead of waiting for a writer.
    {"EncryptPipeAsInput", true, "pipe", "out", CipherResult::InputCannotBeOpened},
    {"DecryptPipeAsInput", false, "pipe", "out", CipherResult::InputCannotBeOpened},
    {"EncryptOutputInMissingFolder", true, "plain", "nofolder/out", CipherResult::OutputCannotBeOpened},
    {"DecryptOutputInMissingFolder", false, "sealed", "nofolder/out", CipherResult::OutputCannotBeOpened},
    {"EncryptOutputIsAFolder", true, "plain", "sub", CipherResult::WriteError},
    {"DecryptOutputIsAFolder", false, "sealed", "sub", CipherResult::WriteError},
};

class PathFailure : public CipherTest, public ::testing::WithParamInterface<PathFailureCase> {};

TEST_P(PathFailure, GivesItsCodeAndLeavesNoFile)
{
    const PathFailureCase& param = GetParam();
    auto engine = MakeEngine();
    WriteBytes(Path("plain"), MakePlaintext(Content::Text, 1000));
    ASSERT_EQ(Encrypt(*engine, Path("plain"), Path("sealed"), TestKey()), CipherResult::Success);
    std::filesystem::create_directory(Path("sub"));
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);

    const std::filesystem::path input = Path(param.input);
    const std::filesystem::path output = Path(param.output);
    const CipherResult code = param.encrypt ? Encrypt(*engine, input, output, TestKey())
                                            : Decrypt(*engine, input, output, TestKey());
    EXPECT_EQ(code, param.expected);
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{"pipe", "plain", "sealed", "sub"}));
    EXPECT_TRUE(std::filesystem::is_empty(Path("sub")));
}

INSTANTIATE_TEST_SUITE_P(Paths, PathFailure, ::testing::ValuesIn(kPathFailureCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

// A caller that holds its input open names it /proc/self/fd/N; the engine reads that descriptor and
// leaves it open for the caller, which goes on to check and close it.
TEST_F(CipherTest, ReadsACallersDescriptorAndLeavesItOpen)
{
    auto engine = MakeEngine();
    const Bytes plaintext = MakePlaintext(Content::Random, 100000);
    WriteBytes(Path("plain"), plaintext);
    const auto descriptorPath = [](int fd) {
        return std::filesystem::path("/proc/self/fd/" + std::to_string(fd));
    };

    const int plain = ::open(Path("plain").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(plain, 0);
    EXPECT_EQ(Encrypt(*engine, descriptorPath(plain), Path("sealed"), TestKey()), CipherResult::Success);
    const int sealed = ::open(Path("sealed").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(sealed, 0);
    EXPECT_EQ(Decrypt(*engine, descriptorPath(sealed), Path("back"), TestKey()), CipherResult::Success);
    EXPECT_EQ(ReadBytes(Path("back")), plaintext);
    for (const int fd : {plain, sealed})
        EXPECT_EQ(::close(fd), 0) << "the engine closed the caller's descriptor";
    // Once closed, the name leads nowhere.
    EXPECT_EQ(Encrypt(*engine, descriptorPath(plain), Path("again"), TestKey()), CipherResult::InputNotFound);
}

TEST_F(CipherTest, ProgressCanBeReadWhileAFileIsWorkedOn)
{
    constexpr std::size_t kSize = 24 << 20;
    auto engine = MakeEngine();
    WriteBytes(Path("plain"), MakePlaintext(Content::Zeros, kSize));
    const Key key = KeyOf(TestKey());

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
    const CipherResult code = engine->Encrypt(key, Path("plain"), Path("sealed")).result;
    done.store(true);
    watcher.join();
    EXPECT_EQ(code, CipherResult::Success);
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(engine->BytesProcessed(), kSize);
    // The next call counts from nothing, from its start on.
    EXPECT_EQ(engine->Decrypt(key, Path("missing"), Path("out")).result, CipherResult::InputNotFound);
    EXPECT_EQ(engine->BytesProcessed(), 0u);
}

// A file of the process file system says it is empty yet gives bytes when read: the same as a file
// that grew while it was encrypted, whose tail would be lost.
TEST_F(CipherTest, InputLongerThanItsLengthIsAReadError)
{
    auto engine = MakeEngine();
    EXPECT_EQ(Encrypt(*engine, "/proc/self/status", Path("sealed"), TestKey()), CipherResult::ReadError);
    EXPECT_TRUE(FolderEntries(folder_).empty());
}

// An outcome's length is that of the output on success, and nothing after a failure; a check
// gives the length of the plaintext it authenticated.
TEST_F(CipherTest, OutcomesCarryTheOutputLength)
{
    auto engine = MakeEngine();
    const Key key = KeyOf(TestKey());
    WriteBytes(Path("plain"), MakePlaintext(Content::Text, 300));
    WriteBytes(Path("garbage"), MakePlaintext(Content::Text, 300));
    struct Case {
        const char* name;
        std::function<Outcome()> call;
        CipherResult result;
        std::uint64_t length;
    };
    const Case cases[] = {
        {"encrypt", [&] { return engine->Encrypt(key, Path("plain"), Path("sealed")); },
         CipherResult::Success, format::EncryptedSize(300)},
        {"decrypt", [&] { return engine->Decrypt(key, Path("sealed"), Path("back")); }, CipherResult::Success,
         300},
        {"verify", [&] { return engine->Verify(key, Path("sealed")); }, CipherResult::Success, 300},
        {"decrypt garbage", [&] { return engine->Decrypt(key, Path("garbage"), Path("none")); },
         CipherResult::KeyIncorrectOrHeaderCorrupt, 0},
        {"verify missing", [&] { return engine->Verify(key, Path("missing")); }, CipherResult::InputNotFound,
         0},
    };
    for (const Case& c : cases) {
        const Outcome outcome = c.call();
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_EQ(outcome.Succeeded(), c.result == CipherResult::Success) << c.name;
        EXPECT_EQ(outcome.outputLength, c.length) << c.name;
    }
}

// A key moved away holds nothing: the engine writes nothing with it and recognises no file.
TEST_F(CipherTest, AMovedFromKeyOpensNothing)
{
    auto engine = MakeEngine();
    Key key = KeyOf(TestKey());
    ASSERT_EQ(EncryptBytes(*engine, MakePlaintext(Content::Text, 50), TestKey()), CipherResult::Success);
    const Key taken = std::move(key);
    EXPECT_FALSE(taken.Empty());
    EXPECT_EQ(taken.Bytes().size(), kKeyLength);
    EXPECT_TRUE(key.Empty());  // NOLINT(bugprone-use-after-move): what is left is the point
    EXPECT_TRUE(key.Bytes().empty());
    EXPECT_EQ(engine->Encrypt(key, Path("plain.bin"), Path("again")).result,
              CipherResult::OutputCannotBeOpened);
    EXPECT_EQ(engine->Decrypt(key, Path("enc.kyv"), Path("dec")).result, CipherResult::OutputCannotBeOpened);
    EXPECT_EQ(engine->Verify(key, Path("enc.kyv")).result, CipherResult::OutputCannotBeOpened);
    EXPECT_FALSE(engine->IsEncryptedWithKey(key, Path("enc.kyv")));
    EXPECT_TRUE(engine->IsEncryptedWithKey(taken, Path("enc.kyv")));
    EXPECT_EQ(FolderEntries(folder_), (std::vector<std::string>{"enc.kyv", "plain.bin"}));
    EXPECT_FALSE(Key::Copy({}).has_value()) << "an empty key is no key";
}

// What a caller learns from each result, against the numbers docs/FORMAT.md gives them.
TEST(CipherResultTest, NumbersAndWhatEachResultLeaves)
{
    struct Case {
        CipherResult result;
        int number;
        bool partialPlaintext;
        int expansionErrors;
    };
    const Case cases[] = {
        {CipherResult::Success, 0, false, 0},
        {CipherResult::InputNotFound, -3, false, 0},
        {CipherResult::InputCannotBeOpened, -4, false, 0},
        {CipherResult::OutputCannotBeOpened, -5, false, 0},
        {CipherResult::ReadError, -6, false, 0},
        {CipherResult::WriteError, -7, false, 0},
        {CipherResult::KeyIncorrectOrHeaderCorrupt, -8, false, 0},
        {CipherResult::DiskFull, -9, false, 0},
        {static_cast<CipherResult>(-15), -15, false, 0},
        {CipherResult::ReadErrorAfterOutput, -16, true, 0},
        {CipherResult::WriteErrorAfterOutput, -17, true, 0},
        {CipherResult::ChunkAuthenticationFailed, -18, true, 0},
        {static_cast<CipherResult>(-20), -20, true, 0},
        {CipherResult::EndsInsideHeader, -21, true, 1},
        {CipherResult::Truncated, -22, true, 2},
        {CipherResult::BytesAppended, -23, true, 3},
        {static_cast<CipherResult>(-29), -29, true, 9},
        {static_cast<CipherResult>(-30), -30, true, 0},
        {static_cast<CipherResult>(-99), -99, true, 0},
        {static_cast<CipherResult>(-100), -100, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultNumber(c.result), c.number);
        EXPECT_EQ(MayLeavePartialPlaintext(c.result), c.partialPlaintext) << c.number;
        EXPECT_EQ(IsExpansionError(c.result), c.expansionErrors > 0) << c.number;
        EXPECT_EQ(ExpansionErrorCount(c.result), c.expansionErrors) << c.number;
    }
}

}  // namespace
}  // namespace kyv::cipher::test
