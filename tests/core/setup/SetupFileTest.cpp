#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>

#include "core/files/FolderPath.h"
#include "core/setup/SetupFile.h"
#include "core/setup/SetupFileCommands.h"

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
    ASSERT_TRUE(WriteSetupFile(FilePath(path), saved));
    EXPECT_EQ(ReadAll(path), QByteArray("9.77\r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n\"/data/\"\r\n\"*.doc\"\r\n"
                                        "\"/data/\"\r\n\"*.doc\"\r\n"));
    const auto loaded = ReadSetupFile(FilePath(path));
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
    // Names that are not UTF-8 ("caf\xE9") in the setup and in the setup file's own name.
    saved.folders = {FilePath(QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9/, with comma/")),
                     FilePath("/caf\xe9/")};
    saved.fileSpecs = {"", FromFileSystemName("r\xe9sum\xe9.enc")};
    const QString path = dir.filePath(FromFileSystemName("s\xe9tup.opn"));
    ASSERT_TRUE(WriteSetupFile(FilePath(path), saved));
    EXPECT_TRUE(std::filesystem::is_regular_file(ToFileSystemPath(path)));
    const auto loaded = ReadSetupFile(FilePath(path));
    std::filesystem::remove(ToFileSystemPath(path));
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
        {"unclosed quote", "9.77\r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"\"\r\n\"*.enc\r\n",
         false},
        {"binary junk with nine commas",
         QByteArray("\x7f"
                    "ELF\x02\x01,,,,,,,,,\0\0\0",
                    18),
         false},
        {"longest paths",
         "9.77\r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n\"/" + QByteArray(4095, 'a') +
             "\"\r\n\"*.*\"\r\n\"\"\r\n\"\"\r\n",
         true},
        {"a million-character path",
         "9.77\r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n\"/" + QByteArray(1000000, 'a') +
             "\"\r\n\"*.*\"\r\n\"\"\r\n\"\"\r\n",
         false},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        EXPECT_EQ(ReadSetupFile(FilePath(Write(dir, c.content))).has_value(), c.loads) << c.what;
    }
}

// What is not a setup file at all is refused without being read: a pipe would wait for a writer, a
// device or a huge file would be read to its end.
TEST(SetupFile, OtherKindsOfFileAreRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("kyve.opn");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = dir.filePath("huge.opn");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // A sparse file of 10 GiB: reading it would take minutes.
    ASSERT_TRUE(file.resize(qint64{10} << 30));
    file.close();
    QElapsedTimer clock;
    clock.start();
    for (const QString& path : {pipe, huge, dir.path(), QStringLiteral("/dev/zero")})
        EXPECT_FALSE(ReadSetupFile(FilePath(path)).has_value()) << path.toStdString();
    EXPECT_LT(clock.elapsed(), 5000);
}

// The file is replaced whole or not at all: a write that fails half-way (here the file-size limit,
// as a full disk would) leaves the previous setup as it was.
TEST(SetupFile, AFailedWriteLeavesThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kyve.opn");
    SetupFileContents previous;
    previous.folders = {"/previous/", "/previous/"};
    ASSERT_TRUE(WriteSetupFile(FilePath(path), previous));
    const QByteArray before = ReadAll(path);

    SetupFileContents next;
    next.folders = {FilePath("/next/" + QString(200, u'n') + u'/'), FilePath()};
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 40;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteSetupFile(FilePath(path), next);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kyve.opn"});
}

struct ConfinementCase {
    const char* inputFolder;
    const char* outputFolder;
    const char* outputSpec;
    bool refused;
};

TEST(SetupFile, SetupsThatWouldWorkOutsideTheirFoldersAreRefused)
{
    const ConfinementCase cases[] = {
        {"/data/", "/data/", "*.enc", false},
        {"", "", "", false},
        {"/data/", "/data/", "a.b.enc", false},
        {"/data/", "/data/", "../*.enc", true},
        {"/data/", "/data/", "..", true},
        {"/data/", "/data/", "x..enc", true},
        {"/data/", "/data/", "sub/*.enc", true},
        {"/data/", "/data/", "/etc/passwd", true},
        {"data/", "/data/", "*.enc", true},
        {"/data/", "/data/../../etc/", "*.enc", true},
        {"/data/..", "/data/", "*.enc", true},
        {"/data/..x/", "/data/", "*.enc", false},
        // Names that are not UTF-8 (0xE9 alone): the rules hold on the bytes all the same.
        {"/data/", "/data/out/../caf\xe9/", "*.enc", true},
        {"/data/caf\xe9/../", "/data/", "*.enc", true},
        {"/data/caf\xe9/", "/data/caf\xe9/", "*.enc", false},
        {"/data/", "/data/", "\xe9/*.enc", true},
        {"/data/", "/data/", "..\xe9", true},
    };
    for (const auto& c : cases) {
        SetupFileContents contents;
        contents.folders = {FilePath(c.inputFolder), FilePath(c.outputFolder)};
        contents.fileSpecs = {"*.*", FromFileSystemName(c.outputSpec)};
        EXPECT_EQ(!SetupConfinementProblem(contents).isEmpty(), c.refused)
            << c.inputFolder << " " << c.outputFolder << " " << c.outputSpec;
    }
}

TEST(SetupFile, MissingFileAndUnwritablePlaceFail)
{
    QTemporaryDir dir;
    EXPECT_FALSE(ReadSetupFile(FilePath(dir.filePath("none.opn"))).has_value());
    EXPECT_FALSE(WriteSetupFile(FilePath(dir.filePath("no/such/folder/a.opn")), SetupFileContents{}));
}

}  // namespace
}  // namespace kyv
