// The randomness of whole files: committed fixtures of compressed and plain data, programs and
// source code on this machine, and every error value.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "ScratchFolder.h"
#include "engine/filelib/Randomness.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv::filelib {
namespace {

using test::ScratchFolder;
using test::SeededRandomBytes;

constexpr std::int64_t kMinimumSize = 256;
const std::filesystem::path kFixtures = std::filesystem::path(KYV_TEST_DATA) / "filelib";

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path());
    }
    return files;
}

TEST(FileRandomness, CompressedFixturesSeemEncryptedOrCompressed)
{
    // gzip, xz, bzip2 and zstd of text and of a table; JPEG and PNG images (tests/data/filelib/README.md).
    const auto files = FilesIn(kFixtures / "compressed");
    ASSERT_EQ(files.size(), 15U);
    for (const auto& file : files) {
        EXPECT_GT(FileRandomness(file, kMinimumSize), 0.89) << file;
    }
}

TEST(FileRandomness, PlainFixturesSeemNotEncrypted)
{
    const auto files = FilesIn(kFixtures / "plain");
    ASSERT_EQ(files.size(), 3U);
    for (const auto& file : files) {
        const double measure = FileRandomness(file, kMinimumSize);
        EXPECT_LT(measure, 0.8) << file;
        EXPECT_GE(measure, 0.0) << file;
    }
}

TEST(FileRandomness, ProgramsAndSourceCodeSeemNotEncrypted)
{
    // This source file by way of the test data folder: __FILE__ is relative under some generators.
    const std::vector<std::filesystem::path> files = {
        std::filesystem::read_symlink("/proc/self/exe"),
        std::filesystem::path(KYV_TEST_DATA) / ".." / "engine" / "filelib" / "FileRandomnessTest.cpp"};
    for (const auto& file : files) {
        const double measure = FileRandomness(file, kMinimumSize);
        EXPECT_LT(measure, 0.8) << file;
        EXPECT_GE(measure, 0.0) << file;
    }
}

TEST(FileRandomness, FileAndByteStringMeasuresAgreeAcrossReadBlocks)
{
    ScratchFolder folder;
    const std::vector<unsigned char> bytes = SeededRandomBytes(RegularFileReader::kBlockSize * 2 + 12345, 3);
    const auto path = folder.Write("random.bin", bytes);
    EXPECT_DOUBLE_EQ(FileRandomness(path, kMinimumSize), RandomnessMeasure(bytes.data(), bytes.size(), 0));
    EXPECT_GT(FileRandomness(path, kMinimumSize), 0.9);
}

TEST(FileRandomness, CountingInThreadsGivesTheSameMeasureAsInOne)
{
    // An odd length, so that the last block ends in half a pair; seven-bit data, whose measure lies
    // between 0 and 1, so that a miscounted block would show.
    ScratchFolder folder;
    const std::size_t length =
        static_cast<std::size_t>(kRandomnessParallelFrom) + 3 * RegularFileReader::kBlockSize + 7;
    std::vector<unsigned char> bytes = SeededRandomBytes(length, 5);
    for (auto& byte : bytes) {
        byte &= 0x7F;
    }
    const auto path = folder.Write("large.bin", bytes);
    const double inMemory = RandomnessMeasure(bytes.data(), bytes.size(), 0);
    EXPECT_DOUBLE_EQ(FileRandomness(path, kMinimumSize), inMemory);
    EXPECT_GT(inMemory, 0.0);
    EXPECT_LT(inMemory, 0.9);
}

TEST(FileRandomness, MinimumSizeIsInclusive)
{
    ScratchFolder folder;
    const auto at = folder.Write("256", SeededRandomBytes(256, 1));
    const auto below = folder.Write("255", SeededRandomBytes(255, 1));
    const auto one = folder.Write("1", SeededRandomBytes(1, 1));
    EXPECT_GT(FileRandomness(at, kMinimumSize), 0.9);
    EXPECT_EQ(FileRandomness(below, kMinimumSize), kRandomnessTooShort);
    EXPECT_EQ(FileRandomness(one, kMinimumSize), kRandomnessTooShort);
    EXPECT_GE(FileRandomness(below, 0), 0.0);
}

TEST(FileRandomness, ErrorValues)
{
    ScratchFolder folder;
    const auto empty = folder.Write("empty", std::string());
    std::filesystem::create_directory(folder / "sub");
    std::filesystem::create_symlink(folder / "nowhere", folder / "dangling");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    const auto file = folder.Write("file", SeededRandomBytes(1000, 2));

    struct Case {
        const char* name;
        std::filesystem::path path;
        double expected;
    };
    const std::vector<Case> cases = {
        {"missing file", folder / "missing", kRandomnessNotFound},
        {"missing folder on the way", folder / "no" / "file", kRandomnessNotFound},
        {"empty path", std::filesystem::path(), kRandomnessNotFound},
        {"a folder", folder / "sub", kRandomnessNotFound},
        {"a dangling link", folder / "dangling", kRandomnessNotFound},
        {"a named pipe, without waiting for a writer", folder / "pipe", kRandomnessNotFound},
        {"an endless device, without reading it", "/dev/zero", kRandomnessNotFound},
        {"a path longer than the system takes", test::OverlongPath(folder), kRandomnessNotFound},
        {"a file used as a folder", file / "inside", kRandomnessNotFound},
        {"an empty file", empty, kRandomnessEmpty},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileRandomness(c.path, kMinimumSize), c.expected) << c.name;
    }
}

TEST(FileRandomness, UnreadableFileIsAReadError)
{
    ScratchFolder folder;
    const auto path = test::UnreadableFile(folder);
    if (path.empty()) {
        GTEST_SKIP() << "running as root without a write-only system file";
    }
    EXPECT_EQ(FileRandomness(path, kMinimumSize), kRandomnessReadError);
}

TEST(RegularFileReader, FileThatShrinksWhileReadFails)
{
    ScratchFolder folder;
    const auto path = folder.Write("shrinking", SeededRandomBytes(RegularFileReader::kBlockSize * 3, 4));
    RegularFileReader reader;
    ASSERT_EQ(reader.Open(path), RegularFileReader::OpenResult::Opened);
    std::size_t blocks = 0;
    std::filesystem::resize_file(path, RegularFileReader::kBlockSize + 10);
    EXPECT_FALSE(reader.ForEachBlock([&blocks](const unsigned char*, std::size_t) { ++blocks; }));
    EXPECT_EQ(blocks, 1U);
}

TEST(RegularFileReader, ReadAtStopsAtTheEndOfTheFile)
{
    ScratchFolder folder;
    const auto bytes = SeededRandomBytes(3000, 7);
    const auto path = folder.Write("file", bytes);
    RegularFileReader reader;
    ASSERT_EQ(reader.Open(path), RegularFileReader::OpenResult::Opened);
    std::vector<unsigned char> buffer(1000);
    ASSERT_TRUE(reader.ReadAt(buffer.data(), 1000, 2000));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), bytes.begin() + 2000));
    EXPECT_FALSE(reader.ReadAt(buffer.data(), 1000, 2001));
    EXPECT_FALSE(reader.ReadAt(buffer.data(), 10, -1));
}

TEST(RegularFileReader, BytesAddedAfterOpeningAreNotRead)
{
    ScratchFolder folder;
    const auto path = folder.Write("growing", std::string(1000, 'a'));
    RegularFileReader reader;
    ASSERT_EQ(reader.Open(path), RegularFileReader::OpenResult::Opened);
    std::ofstream(path, std::ios::app) << std::string(5000, 'b');
    std::size_t total = 0;
    bool sawAppended = false;
    EXPECT_TRUE(reader.ForEachBlock([&](const unsigned char* block, std::size_t count) {
        total += count;
        sawAppended = sawAppended || std::find(block, block + count, 'b') != block + count;
    }));
    EXPECT_EQ(total, 1000U);
    EXPECT_FALSE(sawAppended);
}

}  // namespace
}  // namespace kyv::filelib
