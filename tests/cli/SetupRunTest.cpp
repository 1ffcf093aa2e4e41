#include <gtest/gtest.h>

#include <QDirIterator>

#include "KyvRunner.h"
#include "core/files/FolderPath.h"
#include "core/setup/SetupFile.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QByteArray kKeyLine = "a setup runs with this key\n";

QString SaveSetup(const Scratch& s, const QString& name, bool encrypt, const QString& in,
                  const QString& inSpec, const QString& out, const QString& outSpec)
{
    SetupFileContents contents;
    contents.encrypt = encrypt;
    contents.folders = {kyv::platform::FilePath(in), kyv::platform::FilePath(out)};
    contents.fileSpecs = {inSpec, outSpec};
    const QString path = s.Path(name);
    EXPECT_TRUE(WriteSetupFile(kyv::platform::FilePath(path), contents));
    return path;
}

QStringList AllEntries(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) entries << it.next();
    entries.sort();
    return entries;
}

// A setup saved by the program runs from a script: encrypted by one setup, decrypted by another,
// the files come back as they were.
TEST(KyvRun, EncryptBySetupThenDecryptBySetupGivesTheFilesBack)
{
    Scratch s;
    s.Write(QStringLiteral("in/report.txt"), test::PlainText(5000));
    s.Write(QStringLiteral("in/data.txt"), test::RandomBytes(3000, 5));
    s.MakeFolder(QStringLiteral("enc"));
    s.MakeFolder(QStringLiteral("back"));
    const QString encrypt =
        SaveSetup(s, QStringLiteral("encrypt.opn"), true, s.Folder("in"), "*.txt", s.Folder("enc"), "*.enc");
    const QString decrypt = SaveSetup(s, QStringLiteral("decrypt.opn"), false, s.Folder("enc"), "*.enc",
                                      s.Folder("back"), "*.txt");

    const test::KyvRun shown = RunKyv({QStringLiteral("show"), encrypt});
    EXPECT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    EXPECT_EQ(shown.out.split(u'\n').mid(0, 5),
              QStringList({"Function:   encryption", "Input:      files *.txt in folder " + s.Folder("in"),
                           "Subfolders: not included", "In place:   no",
                           "Output:     files *.enc in folder " + s.Folder("enc")}));
    EXPECT_TRUE(AllEntries(s.Path("enc")).isEmpty());

    const test::KyvRun encrypted =
        RunKyv({QStringLiteral("run"), encrypt, QStringLiteral("--key-stdin")}, kKeyLine);
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err.toStdString();
    EXPECT_TRUE(encrypted.out.startsWith("Encrypting *.txt in " + s.Folder("in")))
        << encrypted.out.toStdString();
    EXPECT_NE(s.Read("enc/report.enc"), s.Read("in/report.txt"));
    const test::KyvRun decrypted =
        RunKyv({QStringLiteral("run"), decrypt, QStringLiteral("--key-stdin")}, kKeyLine);
    ASSERT_EQ(decrypted.exitCode, 0) << decrypted.err.toStdString();
    for (const char* name : {"report.txt", "data.txt"})
        EXPECT_EQ(s.Read(QStringLiteral("back/") + name), s.Read(QStringLiteral("in/") + name)) << name;
}

// A setup file can come from anywhere: one that would write beside or above its folders is refused
// before anything is read or written.
TEST(KyvRun, ASetupThatWouldWriteOutsideItsFoldersIsRefusedWithNothingWritten)
{
    Scratch s;
    s.Write(QStringLiteral("in/a.txt"), test::PlainText(500));
    s.MakeFolder(QStringLiteral("in/sub"));
    struct Case {
        const char* what;
        QString outFolder;
        QString outSpec;
        const char* error;
    };
    const Case cases[] = {
        {"parent in the file specification", s.Folder("in"), "../*.enc",
         "would write outside the output folder"},
        {"folder in the file specification", s.Folder("in"), "sub/*.enc",
         "would write outside the output folder"},
        {"relative output folder", "in/", "*.enc", "is not a full path"},
        {"climbing output folder", s.Folder("in") + "sub/../../", "*.enc", "is not a full path"},
    };
    const QStringList before = AllEntries(s.Path("in"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = SaveSetup(s, QStringLiteral("hostile.opn"), true, s.Folder("in"), "*.txt",
                                       c.outFolder, c.outSpec);
        for (const QString& command : {QStringLiteral("run"), QStringLiteral("show")}) {
            QStringList arguments{command, path};
            if (command == QLatin1String("run")) arguments << QStringLiteral("--key-stdin");
            const test::KyvRun run = RunKyv(arguments, kKeyLine);
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
            EXPECT_TRUE(run.err.contains("is refused: ")) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(QString::fromLatin1(c.error))) << run.err.toStdString();
        }
        EXPECT_EQ(AllEntries(s.Path("in")), before);
        EXPECT_EQ(QDir(s.Path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"hostile.opn", "in"}));
    }
}

// A folder whose name is not UTF-8 ("caf" and the byte 0xE9): a ".." before it is refused as
// anywhere else, and kyv show names it with the byte escaped, as every other message does.
TEST(KyvRun, FolderNamesThatAreNotUtf8AreCheckedAndShownByTheirBytes)
{
    Scratch s;
    s.MakeFolder(QStringLiteral("in"));
    const QString odd = FromFileSystemName((s.Folder("in") + "caf").toUtf8() + "\xe9/");
    const struct {
        QString outFolder;
        int exit;
    } cases[] = {{odd, 0}, {s.Folder("in") + "sub/../" + FromFileSystemName("caf\xe9/"), 2}};
    for (const auto& c : cases) {
        const QString path =
            SaveSetup(s, QStringLiteral("odd.opn"), true, s.Folder("in"), "*.txt", c.outFolder, "*.enc");
        const test::KyvRun shown = RunKyv({QStringLiteral("show"), path});
        EXPECT_EQ(shown.exitCode, c.exit) << shown.err.toStdString();
        if (c.exit == 0) {
            EXPECT_TRUE(
                shown.out.contains("Output:     files *.enc in folder " + s.Folder("in") + "caf\\xE9/"))
                << shown.out.toStdString();
        } else {
            EXPECT_TRUE(shown.err.contains("is not a full path")) << shown.err.toStdString();
            EXPECT_TRUE(shown.err.contains("caf\\xE9")) << shown.err.toStdString();
        }
    }
}

}  // namespace
}  // namespace kyv
