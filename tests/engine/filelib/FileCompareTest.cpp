// Byte-by-byte comparison of two files: the first difference, lengths that differ, and the errors.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "ScratchFolder.h"
#include "engine/filelib/FileCompare.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv::filelib {
namespace {

using test::ScratchFolder;
using test::SeededRandomBytes;

constexpr std::size_t kBlock = RegularFileReader::kBlockSize;

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
        std::int64_t expected;
    };
    const std::vector<Case> cases = {
        {"identical", base, base, kFilesIdentical},
        {"identical, one byte", {7}, {7}, kFilesIdentical},
        {"first byte", WithByteChanged(base, 0), base, 0},
        {"last byte", base, WithByteChanged(base, base.size() - 1),
         static_cast<std::int64_t>(base.size() - 1)},
        {"last byte of the first block", base, WithByteChanged(base, kBlock - 1),
         static_cast<std::int64_t>(kBlock - 1)},
        {"first byte of the second block", base, WithByteChanged(base, kBlock),
         static_cast<std::int64_t>(kBlock)},
        {"the earlier of two differences", WithByteChanged(WithByteChanged(base, 900), kBlock + 5), base,
         900},
        {"second is a prefix of the first", base, Prefix(base, 1000), 1000},
        {"first is a prefix of the second", Prefix(base, kBlock), base, static_cast<std::int64_t>(kBlock)},
        {"shorter and different before its end", Prefix(WithByteChanged(base, 10), 500), base, 10},
        {"one byte against two", {1}, {1, 2}, 1},
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
        std::int64_t expected;
    };
    const std::vector<Case> cases = {
        {"first missing", missing, file, -11},
        {"second missing", file, missing, -12},
        {"both missing", missing, missing, -11},
        {"first is a folder", folder / "sub", file, -11},
        {"second is a folder", file, folder / "sub", -12},
        {"first is an endless device", "/dev/zero", file, -11},
        {"first is an empty path", std::filesystem::path(), file, -11},
        {"second is an overlong path", file, test::OverlongPath(folder), -12},
        {"first is empty", empty, file, -31},
        {"second is empty", file, empty, -32},
        {"both are empty", empty, empty, -31},
        {"second missing, first empty", empty, missing, -12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareFiles(c.first, c.second), c.expected) << c.name;
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
    EXPECT_EQ(CompareFiles(unreadable, file), -11);
    EXPECT_EQ(CompareFiles(file, unreadable), -12);
}

}  // namespace
}  // namespace kyv::filelib
