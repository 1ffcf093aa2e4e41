#include <gtest/gtest.h>

#include <system_error>

#include "FolderFixture.h"
#include "core/files/FolderCount.h"
#include "core/files/FolderPath.h"

namespace kyv {
namespace {

using test::FolderFixture;

QString SystemText(std::errc code) { return QString::fromStdString(std::make_error_code(code).message()); }

class FolderCountTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.IsValid());
        for (const char16_t* name :
             {u"report.doc", u"REPORT2.DOC", u"old.report.doc", u"report.doc.bak", u"README", u".profile",
              u"\u00C9t\u00E9.txt", u"alpha.doc", u"a.d", u"beta.doc", u"my report.txt", u"notes"})
            folder_.MakeFile(QString::fromUtf16(name), 3);
        folder_.MakeFolder(QStringLiteral("sub"));
        folder_.MakeFolder(QStringLiteral("empty"));
        folder_.MakeFile(QStringLiteral("sub/inner.doc"), 3);
        // A link to a file is a file; a link to a folder a subfolder; neither a dangling link nor
        // a fifo is either.
        ASSERT_TRUE(
            folder_.MakeLink(QStringLiteral("link.doc"), folder_.PathOf(QStringLiteral("alpha.doc"))));
        ASSERT_TRUE(folder_.MakeLink(QStringLiteral("linked folder"), folder_.PathOf(QStringLiteral("sub"))));
        ASSERT_TRUE(
            folder_.MakeLink(QStringLiteral("dangling.doc"), folder_.PathOf(QStringLiteral("gone.doc"))));
        ASSERT_TRUE(folder_.MakeFifo(QStringLiteral("pipe.doc")));
    }

    FolderFixture folder_;
};

TEST_F(FolderCountTest, MatchingFilesDirectlyInTheFolder)
{
    const struct {
        const char16_t* spec;
        int count;
    } cases[] = {
        {u"*.*", 13},
        {u"*.", 13},
        {u"", 13},
        {u"*", 2},      // README, notes
        {u"*.doc", 6},  // report, REPORT2, old.report, alpha, beta, link
        {u"a*.d*", 2},
        {u"*.txt", 2},
        {u"\u00E9t\u00E9.TXT", 1},
        {u".profile", 1},
        {u"*.profile", 1},
        {u"a*.profile", 0},
        {u" my report.txt ", 1},
        {u"*a", 0},
        {u"inner.doc", 0},
    };
    for (const auto& c : cases) {
        QString errorText = QStringLiteral("left over");
        EXPECT_EQ(CountMatchingFiles(FilePath(folder_.Path()), QString::fromUtf16(c.spec), errorText),
                  c.count)
            << QString::fromUtf16(c.spec).toStdString();
        EXPECT_TRUE(errorText.isEmpty());
    }
}

TEST_F(FolderCountTest, SubfoldersIncludeLinksToFolders)
{
    QString errorText = QStringLiteral("left over");
    EXPECT_EQ(CountSubfolders(FilePath(folder_.Path()), errorText), 3);
    EXPECT_TRUE(errorText.isEmpty());
    // The folder path may come without its separator.
    EXPECT_EQ(CountSubfolders(FilePath(folder_.Path().chopped(1)), errorText), 3);
    EXPECT_EQ(CountSubfolders(FilePath(folder_.PathOf(QStringLiteral("empty"))), errorText), 0);
}

TEST_F(FolderCountTest, CountingEndsWhereTheCallerStopsIt)
{
    QString errorText;
    EXPECT_EQ(CountMatchingFiles(FilePath(folder_.Path()), QStringLiteral("*.doc"), errorText, 1), 1);
    EXPECT_EQ(CountMatchingFiles(FilePath(folder_.Path()), QStringLiteral("*.doc"), errorText, 4), 4);
    EXPECT_EQ(CountMatchingFiles(FilePath(folder_.Path()), QStringLiteral("*.doc"), errorText, 100), 6);
    EXPECT_EQ(CountMatchingFiles(FilePath(folder_.Path()), QStringLiteral("*.xls"), errorText, 1), 0);
    EXPECT_EQ(CountSubfolders(FilePath(folder_.Path()), errorText, 1), 1);
    EXPECT_EQ(CountSubfolders(FilePath(folder_.PathOf(QStringLiteral("empty"))), errorText, 1), 0);
}

TEST(FolderCount, FolderHoldingOnlySubfolders)
{
    FolderFixture folder;
    folder.MakeFolder(QStringLiteral("one/deeper"));
    folder.MakeFile(QStringLiteral("one/deeper/file.txt"), 1);
    folder.MakeFolder(QStringLiteral("two"));
    QString errorText;
    EXPECT_EQ(CountMatchingFiles(FilePath(folder.Path()), QStringLiteral("*.*"), errorText), 0);
    EXPECT_EQ(CountMatchingFiles(FilePath(folder.Path()), QStringLiteral("*.txt"), errorText), 0);
    EXPECT_EQ(CountSubfolders(FilePath(folder.Path()), errorText), 2);
}

TEST(FolderCount, FolderThatCannotBeReadGivesMinusOneAndTheSystemsText)
{
    FolderFixture folder;
    const QString file = folder.MakeFile(QStringLiteral("plain.txt"), 1);
    const struct {
        QString path;
        std::errc error;
    } cases[] = {
        {folder.PathOf(QStringLiteral("missing/")), std::errc::no_such_file_or_directory},
        {file, std::errc::not_a_directory},
    };
    for (const auto& c : cases) {
        QString errorText;
        EXPECT_EQ(CountMatchingFiles(FilePath(c.path), QStringLiteral("*.*"), errorText), -1);
        EXPECT_EQ(errorText, SystemText(c.error));
        EXPECT_EQ(CountMatchingFiles(FilePath(c.path), QStringLiteral("*.txt"), errorText), -1);
        EXPECT_EQ(errorText, SystemText(c.error));
        errorText = QStringLiteral("left over");
        EXPECT_EQ(CountSubfolders(FilePath(c.path), errorText), -1);
        EXPECT_EQ(errorText, QStringLiteral("Error: ") + SystemText(c.error));
    }
}

TEST(FolderCount, UnreadableFolder)
{
    FolderFixture folder;
    const QString locked = folder.MakeFolder(QStringLiteral("locked"));
    folder.MakeFile(QStringLiteral("locked/secret.txt"), 1);
    test::LockedFolder lock(locked);
    const std::string outcome = test::RunWithoutPrivileges([&locked]() -> std::string {
        const QString denied = SystemText(std::errc::permission_denied);
        QString errorText;
        if (CountMatchingFiles(FilePath(locked), QStringLiteral("*.txt"), errorText) != -1 ||
            errorText != denied)
            return "matching files: " + errorText.toStdString();
        if (CountSubfolders(FilePath(locked), errorText) != -1 ||
            errorText != QStringLiteral("Error: ") + denied)
            return "subfolders: " + errorText.toStdString();
        return {};
    });
    EXPECT_EQ(outcome, "");
}

TEST(FolderCount, MoreFilesThanASixteenBitCount)
{
    FolderFixture folder(test::FastScratchFolder());
    ASSERT_TRUE(folder.IsValid());
    constexpr int kFiles = 32800;
    ASSERT_TRUE(folder.MakeEmptyFiles(QString(), kFiles, QStringLiteral("f"), QStringLiteral(".dat")));
    folder.MakeFile(QStringLiteral("other.txt"), 1);
    QString errorText;
    EXPECT_EQ(CountMatchingFiles(FilePath(folder.Path()), QStringLiteral("*.*"), errorText), kFiles + 1);
    EXPECT_EQ(CountMatchingFiles(FilePath(folder.Path()), QStringLiteral("*.dat"), errorText), kFiles);
    // f1.dat, f10.dat to f19.dat, f100.dat to f199.dat, and so on up to f19999.dat.
    EXPECT_EQ(CountMatchingFiles(FilePath(folder.Path()), QStringLiteral("f1*.dat"), errorText), 11111);
}

}  // namespace
}  // namespace kyv
