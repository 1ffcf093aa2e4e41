#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/setup/SetupFile.h"

namespace kyv {
namespace {

QString Write(const QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath("setup.opn");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(SetupFile, WritesTheNineLinesAndReadsThemBack)
{
    QTemporaryDir dir;
    SetupFileContents saved;
    saved.encrypt = false;
    saved.confirmEachFile = true;
    saved.inPlace = true;
    saved.includeSubfolders = true;
    saved.folders = {"/data/", "/data/"};
    saved.fileSpecs = {"*.doc", "*.doc"};
    const QString path = dir.filePath("decrypt.opn");
    ASSERT_TRUE(WriteSetupFile(path, saved));
    EXPECT_EQ(ReadAll(path), QByteArray("9.77\r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n\"/data/\"\r\n\"*.doc\"\r\n"
                                        "\"/data/\"\r\n\"*.doc\"\r\n"));
    const auto loaded = ReadSetupFile(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_FALSE(loaded->encrypt);
    EXPECT_TRUE(loaded->inPlace);
    EXPECT_TRUE(loaded->includeSubfolders);
    EXPECT_EQ(loaded->folders, saved.folders);
    EXPECT_EQ(loaded->fileSpecs, saved.fileSpecs);
}

TEST(SetupFile, EmptyStringsAndNonAsciiPathsSurvive)
{
    QTemporaryDir dir;
    SetupFileContents saved;
    saved.folders = {QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9/, with comma/"), ""};
    saved.fileSpecs = {"", "report.enc"};
    const QString path = dir.filePath("a.opn");
    ASSERT_TRUE(WriteSetupFile(path, saved));
    const auto loaded = ReadSetupFile(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_TRUE(loaded->encrypt);
    EXPECT_EQ(loaded->folders, saved.folders);
    EXPECT_EQ(loaded->fileSpecs, saved.fileSpecs);
}

struct ReadCase {
    const char* what;
    QByteArray content;
    bool loads;
};

TEST(SetupFile, WhatLoadsAndWhatIsRefused)
{
    const ReadCase cases[] = {
        {"other version", "1.00\r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"\"\r\n\"\"\r\n", true},
        {"LF line ends", "9.77\n 1 \n 0 \n 0 \n 0 \n\"/a/\"\n\"*.*\"\n\"\"\n\"\"\n", true},
        {"fields on one line", "9.77, 1, 0, 0, 0,\"/a/\",\"*.*\",\"\",\"\"\r\n", true},
        {"confirm flag any integer",
         "9.77\r\n 1 \r\n 7 \r\n 0 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"\"\r\n\"\"\r\n", true},
        {"eight lines", "9.77\r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"\"\r\n", false},
        {"flag not an integer",
         "9.77\r\n yes \r\n 0 \r\n 0 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"\"\r\n\"\"\r\n", false},
        {"flag of 2", "9.77\r\n 1 \r\n 0 \r\n 2 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"\"\r\n\"\"\r\n", false},
        {"empty file", "", false},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        EXPECT_EQ(ReadSetupFile(Write(dir, c.content)).has_value(), c.loads) << c.what;
    }
}

TEST(SetupFile, MissingFileAndUnwritablePlaceFail)
{
    QTemporaryDir dir;
    EXPECT_FALSE(ReadSetupFile(dir.filePath("none.opn")).has_value());
    EXPECT_FALSE(WriteSetupFile(dir.filePath("no/such/folder/a.opn"), SetupFileContents{}));
}

}  // namespace
}  // namespace kyv
