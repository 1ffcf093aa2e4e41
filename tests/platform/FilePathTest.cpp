// A path keeps the file system's bytes through the program's text and back, and its parts are
// found on those bytes, whatever they are.

#include <gtest/gtest.h>

#include <string>

#include "platform/FilePath.h"

namespace kyv::platform {
namespace {

struct PathCase {
    const char* what;
    std::string bytes;
    const char* shown;
    std::string parent;  // ends in one separator
    std::string name;
};

class FilePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(FilePathTest, KeepsItsBytesAndFindsItsParts)
{
    const PathCase& c = GetParam();
    const FilePath path{std::filesystem::path(c.bytes)};
    const QString text = path.Text();
    EXPECT_EQ(FilePath(text).Bytes(), c.bytes) << c.what;
    EXPECT_EQ(FilePath(text), path) << c.what;
    EXPECT_EQ(path.Display(), QString::fromUtf8(c.shown)) << c.what;
    EXPECT_EQ(path.Display(), DisplayName(text)) << c.what;
    EXPECT_EQ(FirstEscapedByte(text) >= 0, path.Display() != text) << c.what;
    EXPECT_EQ(path.Parent().Bytes(), c.parent) << c.what;
    EXPECT_EQ(path.Name().Bytes(), c.name) << c.what;
    // Its folder and its name give it back, but for separators it ended in or doubled ones.
    if (!c.name.empty() && c.bytes.back() != '/' && c.bytes.find("//") == std::string::npos) {
        EXPECT_EQ(path.Parent() / path.Name(), path) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FilePathTest,
    ::testing::Values(
        PathCase{"plain", "/data/report.txt", "/data/report.txt", "/data/", "report.txt"},
        PathCase{"root", "/", "/", "/", ""}, PathCase{"in the root", "/a", "/a", "/", "a"},
        PathCase{"folder with separators after it", "/data/sub//", "/data/sub//", "/data/", "sub"},
        PathCase{"doubled separator before the name", "/data//a", "/data//a", "/data/", "a"},
        PathCase{"bare name", "a.txt", "a.txt", "", "a.txt"}, PathCase{"empty", "", "", "", ""},
        PathCase{"UTF-8, two to four bytes", "/caf\xc3\xa9/\xe2\x82\xac \xf0\x9f\x93\x84", "/café/€ 📄",
                 "/caf\xc3\xa9/", "\xe2\x82\xac \xf0\x9f\x93\x84"},
        PathCase{"Latin-1 folder and name", "/caf\xe9/\xff.txt", "/caf\\xE9/\\xFF.txt", "/caf\xe9/",
                 "\xff.txt"},
        PathCase{"overlong slash is no separator",
                 "/a\xc0\xaf"
                 "b",
                 "/a\\xC0\\xAFb", "/",
                 "a\xc0\xaf"
                 "b"},
        PathCase{"encoded surrogate", "/x/\xed\xa0\x80", "/x/\\xED\\xA0\\x80", "/x/", "\xed\xa0\x80"},
        PathCase{"cut sequence at the end", "/x\xe2\x82", "/x\\xE2\\x82", "/", "x\xe2\x82"},
        PathCase{"replacement character itself", "/caf\xef\xbf\xbd", "/caf\xef\xbf\xbd", "/",
                 "caf\xef\xbf\xbd"}));

struct JoinCase {
    const char* folder;
    const char* name;
    const char* joined;
    const char* asFolder;  // the folder with exactly one separator at its end
};

class FilePathJoinTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(FilePathJoinTest, JoinsWithOneSeparator)
{
    const JoinCase& c = GetParam();
    EXPECT_EQ((FilePath(c.folder) / FilePath(c.name)).Bytes(), c.joined);
    EXPECT_EQ((FilePath(c.folder) / FilePath(c.name).Text()).Bytes(), c.joined);
    EXPECT_EQ(FilePath(c.folder).AsFolder().Bytes(), c.asFolder);
}

INSTANTIATE_TEST_SUITE_P(Table, FilePathJoinTest,
                         ::testing::Values(JoinCase{"/data/", "a", "/data/a", "/data/"},
                                           JoinCase{"/data", "a", "/data/a", "/data/"},
                                           JoinCase{"/data//", "a", "/data//a", "/data/"},
                                           JoinCase{"/", "a", "/a", "/"}, JoinCase{"", "a", "a", ""},
                                           JoinCase{"/d\xe9j\xe0/", "\xff", "/d\xe9j\xe0/\xff",
                                                    "/d\xe9j\xe0/"}));

TEST(FilePath, OrdersByBytesAndNeverMakesTwoPathsOne)
{
    const FilePath latin("/caf\xe9");
    const FilePath replaced("/caf\xef\xbf\xbd");
    const FilePath utf8("/caf\xc3\xa9");
    EXPECT_NE(latin.Text(), replaced.Text());
    EXPECT_NE(latin.Text(), utf8.Text());
    EXPECT_LT(utf8, latin);  // 0xC3 before 0xE9
    EXPECT_LT(latin, replaced);
    EXPECT_EQ(FilePath("/a").WithSuffix(QStringLiteral("~1")), FilePath("/a~1"));
}

}  // namespace
}  // namespace kyv::platform
