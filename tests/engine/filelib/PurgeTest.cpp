// Purging: the file is overwritten, hidden and deleted, leaving nothing behind in its folder; other
// names of the same data and things that are not files are left alone.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "engine/filelib/FileOverwriter.h"
#include "engine/filelib/Purge.h"
#include "engine/filelib/Randomness.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv::filelib {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::SeededRandomBytes;

PurgeResult Purge(const std::filesystem::path& path, int mode) { return PurgeFile(path, mode, false, -1); }

std::string Described(PurgeResult result) { return "result " + std::to_string(static_cast<int>(result)); }

TEST(PurgeFile, LeavesNeitherTheFileNorARenamedRemnant)
{
    for (const int mode : {kPurgeAfterEncryption, kPurgeAfterDecryption, 1}) {
        for (const std::size_t length : {0UL, 1UL, 5000UL, RegularFileReader::kBlockSize * 2 + 3}) {
            ScratchFolder folder;
            const auto neighbour = folder.Write("neighbour.txt", std::string("stays"));
            const auto path = folder.Write("letter.doc", SeededRandomBytes(length, 1));
            EXPECT_EQ(Purge(path, mode), PurgeResult::Done) << "mode " << mode << ", " << length << " bytes";
            EXPECT_EQ(folder.Names(), std::vector<std::string>{"neighbour.txt"});
            EXPECT_EQ(ReadBytes(neighbour).size(), 5U);
        }
    }
}

// Permission cases run as an ordinary user; root would write and remove regardless.
void ExpectAsOrdinaryUser(const std::function<std::string()>& scenario)
{
    const auto outcome = test::RunAsOrdinaryUser(scenario);
    if (!outcome) {
        GTEST_SKIP() << "cannot run as an ordinary user";
    }
    EXPECT_EQ(*outcome, "");
}

TEST(PurgeFile, ReadOnlyFileAfterDecryptionIsRemovedWithoutOverwriting)
{
    ExpectAsOrdinaryUser([]() -> std::string {
        ScratchFolder folder;
        const auto path = folder.Write("readonly.enc", SeededRandomBytes(1000, 2));
        std::filesystem::permissions(path, std::filesystem::perms::owner_read);
        const PurgeResult result = Purge(path, kPurgeAfterDecryption);
        if (result != PurgeResult::RemovedNotOverwritten) {
            return Described(result);
        }
        return folder.Names().empty() ? "" : "the file is still there";
    });
}

TEST(PurgeFile, ReadOnlyFileAfterEncryptionStaysUntouched)
{
    ExpectAsOrdinaryUser([]() -> std::string {
        ScratchFolder folder;
        const auto bytes = SeededRandomBytes(1000, 2);
        const auto path = folder.Write("readonly.txt", bytes);
        std::filesystem::permissions(path, std::filesystem::perms::owner_read);
        const PurgeResult result = Purge(path, kPurgeAfterEncryption);
        if (result != PurgeResult::CannotOverwrite) {
            return Described(result);
        }
        return ReadBytes(path) == bytes ? "" : "the file was changed";
    });
}

TEST(PurgeFile, FileInAFolderThatWillNotReleaseItIsNotTouched)
{
    ExpectAsOrdinaryUser([]() -> std::string {
        ScratchFolder folder;
        std::filesystem::create_directory(folder / "locked");
        const auto bytes = SeededRandomBytes(1000, 3);
        const auto path = folder.Write("locked/kept.txt", bytes);
        std::filesystem::permissions(folder / "locked",
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        const PurgeResult result = Purge(path, kPurgeAfterEncryption);
        if (result != PurgeResult::CannotRemove) {
            return Described(result);
        }
        return ReadBytes(path) == bytes ? "" : "the file was changed";
    });
}

TEST(PurgeFile, SymbolicLinkIsRemovedAndItsTargetKept)
{
    ScratchFolder folder;
    const auto bytes = SeededRandomBytes(2000, 4);
    const auto target = folder.Write("target.txt", bytes);
    std::filesystem::create_symlink(target, folder / "link.txt");
    EXPECT_EQ(Purge(folder / "link.txt", kPurgeAfterEncryption), PurgeResult::RemovedNotOverwritten);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"target.txt"});
    EXPECT_EQ(ReadBytes(target), bytes);
}

TEST(PurgeFile, OtherHardLinksKeepTheirData)
{
    ScratchFolder folder;
    const auto bytes = SeededRandomBytes(2000, 5);
    const auto path = folder.Write("one.txt", bytes);
    std::filesystem::create_hard_link(path, folder / "two.txt");
    EXPECT_EQ(Purge(path, kPurgeAfterEncryption), PurgeResult::RemovedNotOverwritten);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"two.txt"});
    EXPECT_EQ(ReadBytes(folder / "two.txt"), bytes);
}

TEST(PurgeFile, ThingsThatAreNotThereOrNotFiles)
{
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "sub");
    folder.Write("sub/inside.txt", std::string("inside"));
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::filesystem::path path;
        PurgeResult expected;
    };
    const std::vector<Case> cases = {
        {"missing file", folder / "missing", PurgeResult::NothingToRemove},
        {"missing folder on the way", folder / "none" / "file", PurgeResult::NothingToRemove},
        {"a folder", folder / "sub", PurgeResult::NotAFile},
        {"a named pipe", folder / "pipe", PurgeResult::NotAFile},
        {"empty path", std::filesystem::path(), PurgeResult::BadPath},
        {"overlong path", test::OverlongPath(folder), PurgeResult::BadPath},
    };
    for (const auto& c : cases) {
        const PurgeResult result = Purge(c.path, kPurgeAfterEncryption);
        EXPECT_EQ(result, c.expected) << c.name;
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"pipe", "sub"}));
    EXPECT_EQ(ReadBytes(folder / "sub" / "inside.txt").size(), 6U);
}

TEST(PurgeFile, FileIsGoneExactlyForTheResultsThatRemovedItOrFoundNone)
{
    const std::pair<PurgeResult, bool> cases[] = {
        {PurgeResult::Done, true},
        {PurgeResult::RemovedOverwriteIncomplete, true},
        {PurgeResult::RemovedNotOverwritten, true},
        {PurgeResult::NothingToRemove, true},
        {PurgeResult::NotAFile, false},
        {PurgeResult::CannotOverwrite, false},
        {PurgeResult::CannotRemove, false},
        {PurgeResult::BadPath, false},
    };
    for (const auto& [result, gone] : cases) EXPECT_EQ(FileIsGone(result), gone) << Described(result);
}

class OverwrittenFile : public ::testing::Test {
protected:
    // Overwrites a text file through a descriptor and returns what the file holds afterwards.
    std::vector<unsigned char> OverwriteText(std::size_t length, bool randomPass)
    {
        const std::string text(length, 'e');
        const auto path = folder_.Write("text.txt", text);
        const int descriptor = ::open(path.c_str(), O_WRONLY);
        EXPECT_GE(descriptor, 0);
        EXPECT_TRUE(OverwriteOpenFile(descriptor, static_cast<std::int64_t>(length), randomPass));
        ::close(descriptor);
        return ReadBytes(path);
    }

    ScratchFolder folder_;
};

TEST_F(OverwrittenFile, ZeroPassCoversTheFullLength)
{
    for (const std::size_t length : {1UL, 4096UL, RegularFileReader::kBlockSize + 17}) {
        const auto bytes = OverwriteText(length, false);
        ASSERT_EQ(bytes.size(), length);
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; }))
            << length;
    }
}

TEST_F(OverwrittenFile, RandomPassLeavesRandomBytesThatDoNotRepeatPerBlock)
{
    const std::size_t block = RegularFileReader::kBlockSize;
    const auto bytes = OverwriteText(block * 2 + 5000, true);
    ASSERT_EQ(bytes.size(), block * 2 + 5000);
    EXPECT_LT(std::count(bytes.begin(), bytes.end(), 'e'), static_cast<std::ptrdiff_t>(bytes.size() / 100));
    EXPECT_GT(RandomnessMeasure(bytes.data(), bytes.size(), 0), 0.9);
    EXPECT_FALSE(
        std::equal(bytes.begin(), bytes.begin() + 4096, bytes.begin() + static_cast<std::ptrdiff_t>(block)));
    // A fresh seed each time: two purges never write the same bytes.
    const auto again = OverwriteText(4096, true);
    EXPECT_FALSE(std::equal(again.begin(), again.end(), bytes.begin()));
}

TEST_F(OverwrittenFile, FailedWriteIsReported)
{
    const auto path = folder_.Write("text.txt", std::string(100, 'x'));
    const int descriptor = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(descriptor, 0);
    EXPECT_FALSE(OverwriteOpenFile(descriptor, 100, true));
    ::close(descriptor);
}

}  // namespace
}  // namespace kyv::filelib
