#include "core/app/FileSizeText.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

using namespace kyv;

namespace {
class FileSizeTextTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};
}  // namespace

TEST_F(FileSizeTextTest, BytesKilobytesAndMegabytes)
{
    const struct {
        double bytes;
        int decimals;
        const char* expected;
    } cases[] = {
        {0, 2, "0 bytes"},
        {1, 2, "1 bytes"},
        {1023, 2, "1023 bytes"},
        {1024, 2, "1.00 KB"},
        {1536, 1, "1.5 KB"},
        {1048575, 2, "1,024.00 KB"},
        {1048576, 2, "1.00 MB"},
        {5.0 * 1024 * 1024 * 1024, 2, "5,120.00 MB"},
        {3.0 * 1024 * 1024 + 512 * 1024, 0, "4 MB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFileSize(c.bytes, c.decimals), QString::fromLatin1(c.expected)) << c.bytes;
}

TEST_F(FileSizeTextTest, FollowsTheUsersNumberFormat)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatFileSize(2.5 * 1024 * 1024 * 1024, 2), QStringLiteral("2.560,00 MB"));
}

TEST_F(FileSizeTextTest, SizeOfAFileOrNothing)
{
    QTemporaryDir folder;
    QFile file(folder.filePath("two-kilobytes.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2048, 'x'));
    file.close();
    EXPECT_EQ(FileSizeText(platform::FilePath(file.fileName()), 2), QStringLiteral("2.00 KB"));
    EXPECT_EQ(FileSizeText(platform::FilePath(), 2), QString());
    EXPECT_EQ(FileSizeText(platform::FilePath(folder.filePath("missing.bin")), 2), QString());
    EXPECT_EQ(FileSizeText(platform::FilePath(folder.path()), 2), QString());
}
