// Byte-by-byte comparison of two files: the first difference, lengths that differ, and the errors.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <vector>

#include "ScratchFolder.h"
#include "engine/filelib/FileCompare.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv::filelib {

// GoogleTest shows a comparison by its number.
void PrintTo(const FileComparison& comparison, std::ostream* out) { *out << comparison.Number(); }

namespace {

using test::ScratchFolder;
using test::SeededRandomBytes;

constexpr std::size_t kBlock = RegularFileReader::kBlockSize;

FileComparison DifferAt(std::int64_t position) { return {{}, position}; }
FileComparison Failed(CompareError error) { return {error, {}}; }

std::vector<unsigned char> WithByteChanged(std::vector<unsigned char> bytes, std::size_t position)
{
    bytes[position] ^= 0x01;
    return bytes;
}

std::vector<unsigned char> Prefix(const std::vector<unsigned char>& bytes, std::size_t length)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)};
}

TEST(CompareFiles, PositionOfTheFirstDifference)
{
    const auto base = SeededRandomBytes(kBlock * 2 + 100, 8);
    struct Case {
        const char* name;
        std::vector<unsigned char> first;
        std::vector<unsigned char> second;
        FileComparison expected;
    };
    const std::vector<Case> cases = {
        {"identical", base, base, FileComparison{}},
        {"identical, one byte", {7}, {7}, FileComparison{}},
        {"first byte", WithByteChanged(base, 0), base, DifferAt(0)},
        {"last byte", base, WithByteChanged(base, base.size() - 1),
         DifferAt(static_cast<std::int64_t>(base.size() - 1))},
        {"last byte of the first block", base, WithByteChanged(base, kBlock - 1),
         DifferAt(static_cast<std::int64_t>(kBlock - 1))},
        {"first byte of the second block", base, WithByteChanged(base, kBlock),
         DifferAt(static_cast<std::int64_t>(kBlock))},
        {"the earlier of two differences", WithByteChanged(WithByteChanged(base, 900), kBlock + 5), base,
         DifferAt(900)},
        {"second is a prefix of the first", base, Prefix(base, 1000), DifferAt(1000)},
        {"first is a prefix of the second", Prefix(base, kBlock), base,
         DifferAt(static_cast<std::int64_t>(kBlock))},
        {"shorter and different before its end", Prefix(WithByteChanged(base, 10), 500), base, DifferAt(10)},
        {"one byte against two", {1}, {1, 2}, DifferAt(1)},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        const auto first = folder.Write("first", c.first);
        const auto second = folder.Write("second", c.second);
        EXPECT_EQ(CompareFiles(first, second), c.expected) << c.name;
    }
}

TEST(CompareFiles, ErrorValues)
{
    ScratchFolder folder;
    const auto file = folder.Write("file", SeededRandomBytes(300, 2));
    const auto empty = folder.Write("empty", std::string());
    std::filesystem::create_directory(folder / "sub");
    const auto missing = folder / "missing";
    struct Case {
        const char* name;
        std::filesystem::path first;
        std::filesystem::path second;
        FileComparison expected;
    };
    const std::vector<Case> cases = {
        {"first missing", missing, file, Failed(CompareError::FirstCannotBeOpened)},
        {"second missing", file, missing, Failed(CompareError::SecondCannotBeOpened)},
        {"both missing", missing, missing, Failed(CompareError::FirstCannotBeOpened)},
        {"first is a folder", folder / "sub", file, Failed(CompareError::FirstCannotBeOpened)},
        {"second is a folder", file, folder / "sub", Failed(CompareError::SecondCannotBeOpened)},
        {"first is an endless device", "/dev/zero", file, Failed(CompareError::FirstCannotBeOpened)},
        {"first is an empty path", std::filesystem::path(), file, Failed(CompareError::FirstCannotBeOpened)},
        {"second is an overlong path", file, test::OverlongPath(folder),
         Failed(CompareError::SecondCannotBeOpened)},
        {"first is empty", empty, file, Failed(CompareError::FirstEmpty)},
        {"second is empty", file, empty, Failed(CompareError::SecondEmpty)},
        {"both are empty", empty, empty, Failed(CompareError::FirstEmpty)},
        {"second missing, first empty", empty, missing, Failed(CompareError::SecondCannotBeOpened)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareFiles(c.first, c.second), c.expected) << c.name;
    }
}

// The single number reports and the benchmark show: a difference at 0 is no identity.
TEST(CompareFiles, OneNumberPerComparison)
{
    const std::pair<FileComparison, std::int64_t> cases[] = {
        {FileComparison{}, -1},
        {DifferAt(0), 0},
        {DifferAt(std::int64_t{5} << 32), std::int64_t{5} << 32},
        {Failed(CompareError::FirstCannotBeOpened), -11},
        {Failed(CompareError::SecondCannotBeRead), -22},
        {Failed(CompareError::SecondEmpty), -32},
    };
    for (const auto& [comparison, number] : cases) {
        EXPECT_EQ(comparison.Number(), number);
        EXPECT_EQ(comparison.Identical(), number == -1) << number;
    }
}

TEST(CompareFiles, UnreadableFileCannotBeOpened)
{
    ScratchFolder folder;
    const auto file = folder.Write("file", SeededRandomBytes(300, 2));
    const auto unreadable = test::UnreadableFile(folder);
    if (unreadable.empty()) {
        GTEST_SKIP() << "running as root without a write-only system file";
    }
    EXPECT_EQ(CompareFiles(unreadable, file), Failed(CompareError::FirstCannotBeOpened));
    EXPECT_EQ(CompareFiles(file, unreadable), Failed(CompareError::SecondCannotBeOpened));
}

}  // namespace
}  // namespace kyv::filelib
