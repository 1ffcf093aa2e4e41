// A path from Qt's dialogs, where each byte that is not UTF-8 came back as U+FFFD, is matched to
// the name the file system holds; a choice that fits several names is refused.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files/DialogPathMatch.h"
#include "core/files/ExactPathFileDialogs.h"
#include "core/files/FolderFixture.h"
#include "core/files/FolderPath.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

// Entries ending in '/' are folders, the others empty files.
void MakeEntries(const std::string& base, const std::vector<std::string>& entries)
{
    for (const std::string& entry : entries) {
        const std::string path = base + entry;
        if (entry.back() == '/') {
            ASSERT_EQ(::mkdir(path.c_str(), 0755), 0) << entry;
        } else {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
            ASSERT_GE(fd, 0) << entry;
            ::close(fd);
        }
    }
}

// What Qt's dialog hands back for a path of these bytes.
QString AsDialogShowsIt(const std::string& bytes) { return QString::fromUtf8(bytes.data(), bytes.size()); }

struct MatchCase {
    const char* what;
    std::vector<std::string> entries;
    std::string chosen;                   // the bytes of the entry picked in the dialog
    std::optional<std::string> expected;  // nothing: ambiguous in the base folder
};

class DialogPathMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(DialogPathMatchTest, FindsTheNameTheFileSystemHolds)
{
    const test::FolderFixture folder;
    const std::string base = ToFileSystemPath(folder.Path()).native();
    MakeEntries(base, GetParam().entries);

    const DialogPathMatch match = MatchDialogPath(AsDialogShowsIt(base + GetParam().chosen));
    if (GetParam().expected) {
        ASSERT_TRUE(match.path.has_value());
        EXPECT_EQ(ToFileSystemPath(*match.path).native(), base + *GetParam().expected);
    } else {
        EXPECT_FALSE(match.path.has_value());
        EXPECT_EQ(AddBackslash(match.ambiguousFolder), folder.Path());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, DialogPathMatchTest,
    ::testing::Values(
        MatchCase{"plain names", {"docs/", "docs/a.txt"}, "docs/a.txt", "docs/a.txt"},
        MatchCase{"one name not UTF-8", {"caf\xe9/"}, "caf\xe9", "caf\xe9"},
        MatchCase{"nested names not UTF-8",
                  {"caf\xe9/", "caf\xe9/na\xefve\xff/", "caf\xe9/na\xefve\xff/f\xfc.txt"},
                  "caf\xe9/na\xefve\xff/f\xfc.txt",
                  "caf\xe9/na\xefve\xff/f\xfc.txt"},
        MatchCase{"new file in such a folder", {"caf\xe9/"}, "caf\xe9/new.opn", "caf\xe9/new.opn"},
        MatchCase{"UTF-8 twin is not confused", {"caf\xe9/", "caf\xc3\xa9/"}, "caf\xe9", "caf\xe9"},
        MatchCase{"two bytes that look alike", {"caf\xe9/", "caf\xe8/"}, "caf\xe9", std::nullopt},
        MatchCase{"real U+FFFD beside 0xE9", {"caf\xef\xbf\xbd/", "caf\xe9/"}, "caf\xe9", std::nullopt},
        MatchCase{"real U+FFFD alone", {"caf\xef\xbf\xbd/"}, "caf\xef\xbf\xbd", "caf\xef\xbf\xbd"},
        MatchCase{"missing entry kept as given", {}, "gone\xe9/a.txt", "gone\xef\xbf\xbd/a.txt"}));

class ExactPathFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.IsValid());
        base_ = ToFileSystemPath(folder_.Path()).native();
        MakeEntries(base_, {"caf\xe9/", "caf\xe8/", "na\xefve/", "na\xefve/key.bin"});
    }

    test::FolderFixture folder_;
    std::string base_;
    test::FakeFileDialogs qtDialogs_;
    test::FakePrompter prompter_;
    ExactPathFileDialogs dialogs_{qtDialogs_, prompter_};
};

TEST_F(ExactPathFileDialogsTest, AnswersWithTheExactNameAndStartsWhereTheDialogCanOpen)
{
    qtDialogs_.Choose(AsDialogShowsIt(base_ + "na\xefve/key.bin"));
    const QString start = FromFileSystemName((base_ + "na\xefve/").c_str());
    const std::optional<QString> chosen = dialogs_.OpenFile({QStringLiteral("Keyfile"), {}, {}, start});

    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(ToFileSystemPath(*chosen).native(), base_ + "na\xefve/key.bin");
    EXPECT_EQ(qtDialogs_.requests.at(0).request.folder, folder_.Path());
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(ExactPathFileDialogsTest, RefusesAChoiceThatFitsSeveralNames)
{
    qtDialogs_.Choose(AsDialogShowsIt(base_ + "caf\xe9"));
    EXPECT_FALSE(dialogs_.BrowseForFolder(QStringLiteral("Input folder"), folder_.Path()).has_value());
    ASSERT_EQ(prompter_.messages.size(), 1U);
    EXPECT_TRUE(prompter_.messages[0].text.contains(QDir::cleanPath(folder_.Path())));
}

}  // namespace
}  // namespace kyv
