#include "core/app/FilesStatusLine.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "AppTestSupport.h"
#include "core/files/FolderPath.h"
#include "platform/Drives.h"

using namespace kyv;
using kyv::test::TempFolder;

namespace {

constexpr int kCharWidth = 106;

class FilesStatusLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        values_.notSpecifiedText = QStringLiteral("Not specified");
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    FilesStatusLine Describe(int side, const QString& dirpath, const QString& spec)
    {
        setup_.folders[side] = FilePath(dirpath);
        setup_.fileSpecs[side] = spec;
        return DescribeFilesSide(setup_, values_, side, floppies_);
    }

    TempFolder folder_;
    OperationSetup setup_;
    WorkingValues values_;
    platform::FloppyFolders floppies_;
};

}  // namespace

TEST_F(FilesStatusLineTest, WildcardSpecificationsOfTheInputSide)
{
    const struct {
        const char* spec;
        const char* description;
        int left;  // twips after the file specification label's left; -1 = not moved
    } cases[] = {
        {"*.*", "(All files.)", 5 * kCharWidth},
        {"*.doc", "(All files with extension \"doc\".)", 5 * kCharWidth + 300},
        {"a*.d*", "(All files of the form \"a*.d*\".)", 5 * kCharWidth + 300},
        {"report?.txt", "(All files of the form \"report?.txt\".)", 11 * kCharWidth + 300},
        // 20 characters are still described, 21 are not.
        {"abcdefghijklmno*.txt", "(All files of the form \"abcdefghijklmno*.txt\".)", 20 * kCharWidth + 300},
        {"abcdefghijklmnop*.txt", "", 21 * kCharWidth + 300},
        {"", "", -1},
    };
    for (const auto& c : cases) {
        const FilesStatusLine line = Describe(kInputSide, folder_.Path(), QString::fromLatin1(c.spec));
        EXPECT_EQ(line.specExplanations, QString::fromLatin1(c.description)) << c.spec;
        EXPECT_EQ(line.descriptionLeft.value_or(-1), c.left) << c.spec;
        EXPECT_TRUE(line.measurePath.IsEmpty()) << c.spec;
        EXPECT_EQ(line.specTexts, *c.spec ? QString::fromLatin1(c.spec) : QStringLiteral("Not specified"));
    }
}

TEST_F(FilesStatusLineTest, OutputFilesThatWouldBeOverwritten)
{
    folder_.File("big.enc", 5000);
    folder_.File("small.enc", 100);
    folder_.File("empty.enc", 0);
    const struct {
        const char* spec;
        bool outputFilesSame;
        const char* description;
    } cases[] = {
        {"big.enc", false, "(File exists already.)"},
        // Too short to measure, but it exists all the same.
        {"small.enc", false, "(File exists already.)"},
        {"empty.enc", false, ""},
        {"missing.enc", false, ""},
        {"big.enc", true, ""},
        {"*.enc", false, ""},
    };
    for (const auto& c : cases) {
        setup_.inPlace = c.outputFilesSame;
        const FilesStatusLine line = Describe(kOutputSide, folder_.Path(), QString::fromLatin1(c.spec));
        EXPECT_EQ(line.specExplanations, QString::fromLatin1(c.description)) << c.spec;
        EXPECT_TRUE(line.measurePath.IsEmpty()) << c.spec;
        EXPECT_EQ(line.descriptionLeft.value_or(-1), static_cast<int>(strlen(c.spec)) * kCharWidth + 300);
    }
}

TEST_F(FilesStatusLineTest, ASingleInputFileIsMeasuredUnlessOnAFloppyDrive)
{
    const QString path = folder_.File("report.doc", 3000);
    FilesStatusLine line = Describe(kInputSide, folder_.Path(), QStringLiteral("report.doc"));
    EXPECT_EQ(line.measurePath.Text(), path);
    EXPECT_EQ(line.filePath, path);
    EXPECT_EQ(line.specExplanations, QStringLiteral("2.93 KB"));
    EXPECT_EQ(line.descriptionLeft.value_or(-1), 10 * kCharWidth + 300);

    floppies_.Declare(folder_.Path());
    line = Describe(kInputSide, folder_.Path(), QStringLiteral("report.doc"));
    EXPECT_TRUE(line.measurePath.IsEmpty());
    EXPECT_EQ(line.specExplanations, QString());
    EXPECT_EQ(line.descriptionLeft.value_or(-1), 10 * kCharWidth + 300);
}

TEST_F(FilesStatusLineTest, DescriptionOfAMeasuredInputFile)
{
    const QString path = folder_.File("data.bin", 2048);
    const struct {
        double randomness;
        const char* expected;
    } cases[] = {
        {-12, "(Error reading file.)"},
        {-11, "(File not found.)"},
        {-14, "(File is empty.)"},
        // Too short to measure says nothing about encryption.
        {-15, "2.00 KB"},
        {0.95, "2.00 KB  (Seems to be either encrypted or compressed.)"},
        {0.8901, "2.00 KB  (Seems to be either encrypted or compressed.)"},
        {0.89, "2.00 KB"},
        {0.85, "2.00 KB"},
        {0.8, "2.00 KB"},
        {0.79, "2.00 KB  (Seems not Kyv-encrypted.)"},
        {0.0, "2.00 KB  (Seems not Kyv-encrypted.)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribeInputFile(platform::FilePath(path), c.randomness, 0.89),
                  QString::fromLatin1(c.expected))
            << c.randomness;
}

TEST_F(FilesStatusLineTest, LongFoldersAreShortenedToSeventyCharacters)
{
    const QString base = folder_.Path();
    const auto padded = [&base](int length) {
        QString path = base + QString(std::max<qsizetype>(1, length - base.size() - 1), u'f') + u'/';
        return path;
    };
    const QString folder69 = padded(69);
    const QString folder71 = padded(71);
    ASSERT_EQ(folder69.size(), 69);
    ASSERT_EQ(folder71.size(), 71);
    EXPECT_EQ(Describe(kInputSide, folder69, QString()).folderTexts, folder69);
    const QString shown = Describe(kInputSide, folder71, QString()).folderTexts;
    EXPECT_NE(shown, folder71);
    EXPECT_LE(shown.size(), 70);
    EXPECT_EQ(Describe(kOutputSide, QString(), QString()).folderTexts, QStringLiteral("Not specified"));
}
