#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include "KyvRunner.h"
#include "core/common/NumberText.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QString kKeyText = QStringLiteral("the keyfile lives among the files it protects");

QString Grouped(qint64 bytes) { return QLocale(QLocale::English, QLocale::UnitedStates).toString(bytes); }

// Every file below `folder`, relative to it, with its contents.
QMap<QString, QByteArray> Contents(const QString& folder)
{
    QMap<QString, QByteArray> contents;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        contents.insert(QDir(folder).relativeFilePath(path),
                        file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return contents;
}

// The closing lines of an operation's report, with the elapsed-time line of a run over 3 seconds
// left out.
QStringList Totals(const QStringList& lines, qsizetype from)
{
    QStringList totals = lines.mid(from);
    totals.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("Elapsed time: ")); });
    return totals;
}

TEST(KyvRoundTrip, SeparateOutputFilesWithATypedKeyThenTheSameKeyFromAKeyfile)
{
    Scratch s;
    const QMap<QString, QByteArray> originals{{QStringLiteral("report.txt"), test::PlainText(3000)},
                                              {QStringLiteral("notes.txt"), test::PlainText(700)},
                                              {QStringLiteral("image.bin"), test::RandomBytes(2000, 11)}};
    for (auto it = originals.begin(); it != originals.end(); ++it)
        s.Write(QStringLiteral("in/") + it.key(), it.value());
    s.MakeFolder(QStringLiteral("out"));
    const QString keyfile =
        s.Write(QStringLiteral("keys/typed.key"), kKeyText.toUpper().remove(QLatin1Char(' ')).toLatin1());

    const test::KyvRun encrypted =
        RunKyv({QStringLiteral("encrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--as"),
                QStringLiteral("*.enc"), s.Path(QStringLiteral("in"))},
               kKeyText.toUtf8() + '\n');
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err.toStdString() << encrypted.out.toStdString();
    EXPECT_TRUE(encrypted.err.isEmpty()) << encrypted.err.toStdString();
    const QStringList lines = test::ReportLinesWithoutDate(encrypted.out);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Encrypting *.* in ") + s.Folder(QStringLiteral("in")));
    QStringList expectedFiles;
    for (auto it = originals.begin(); it != originals.end(); ++it) {
        const QString output = QFileInfo(it.key()).completeBaseName() + QStringLiteral(".enc");
        const qint64 outputSize = QFileInfo(s.Path(QStringLiteral("in/") + output)).size();
        EXPECT_GT(outputSize, it.value().size());
        expectedFiles << it.key().leftJustified(12) + QStringLiteral("  ") + Grouped(it.value().size()) +
                             QStringLiteral(" bytes   -> ") + output + QStringLiteral("  ") +
                             Grouped(outputSize) + QStringLiteral(" bytes");
    }
    QStringList fileLines = lines.mid(1, 3);
    fileLines.sort();
    expectedFiles.sort();
    EXPECT_EQ(fileLines, expectedFiles);
    EXPECT_EQ(Totals(lines, 4),
              (QStringList{QString(), QString(), QStringLiteral("Number of files processed: 3"),
                           QStringLiteral("Number of files encrypted: 3"),
                           QStringLiteral("Total KB encrypted: 5.57"), QString()}));

    const test::KyvRun decrypted =
        RunKyv({QStringLiteral("decrypt"), QStringLiteral("--key-file"), keyfile, QStringLiteral("--to"),
                s.Path(QStringLiteral("out")), QStringLiteral("--as"), QStringLiteral("*.dec"),
                s.Path(QStringLiteral("in")), QStringLiteral("*.enc")});
    ASSERT_EQ(decrypted.exitCode, 0) << decrypted.err.toStdString() << decrypted.out.toStdString();
    const QStringList decryptedLines = test::ReportLinesWithoutDate(decrypted.out);
    EXPECT_EQ(decryptedLines[0], QStringLiteral("Decrypting *.enc in ") + s.Folder(QStringLiteral("in")));
    EXPECT_TRUE(decryptedLines.contains(QStringLiteral("Number of files decrypted: 3")));
    for (auto it = originals.begin(); it != originals.end(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        EXPECT_EQ(
            s.Read(QStringLiteral("out/") + QFileInfo(it.key()).completeBaseName() + QStringLiteral(".dec")),
            it.value());
        EXPECT_EQ(s.Read(QStringLiteral("in/") + it.key()), it.value());
    }
}

TEST(KyvRoundTrip, InPlaceWithSubfoldersLeavesTheKeyfileAlone)
{
    Scratch s;
    s.Write(QStringLiteral("d/a.doc"), test::PlainText(1500));
    s.Write(QStringLiteral("d/sub/b.txt"), test::PlainText(400));
    s.Write(QStringLiteral("d/sub/deeper/c.txt"), test::PlainText(300));
    const QString keyfile = s.Write(QStringLiteral("d/key.txt"), kKeyText.toLatin1());
    const QMap<QString, QByteArray> before = Contents(s.Path(QStringLiteral("d")));

    const test::KyvRun encrypted =
        RunKyv({QStringLiteral("encrypt"), QStringLiteral("--in-place"), QStringLiteral("--subfolders"),
                QStringLiteral("--key-file"), keyfile, s.Path(QStringLiteral("d"))});
    EXPECT_EQ(encrypted.exitCode, 1) << encrypted.err.toStdString();
    EXPECT_TRUE(encrypted.out.contains(
        QStringLiteral("key.txt       45 bytes   This is the current keyfile.  Encryption not performed.\n")))
        << encrypted.out.toStdString();
    const QMap<QString, QByteArray> during = Contents(s.Path(QStringLiteral("d")));
    EXPECT_EQ(during.keys(), before.keys());
    EXPECT_EQ(during.value(QStringLiteral("key.txt")), before.value(QStringLiteral("key.txt")));
    for (const QString& name :
         {QStringLiteral("a.doc"), QStringLiteral("sub/b.txt"), QStringLiteral("sub/deeper/c.txt")})
        EXPECT_GT(during.value(name).size(), before.value(name).size()) << name.toStdString();

    // The typed form of the keyfile's text is the same key.
    const test::KyvRun decrypted =
        RunKyv({QStringLiteral("decrypt"), QStringLiteral("--in-place"), QStringLiteral("--subfolders"),
                QStringLiteral("--key-stdin"), s.Path(QStringLiteral("d")), QStringLiteral("?.*")},
               kKeyText.toUtf8());
    EXPECT_EQ(decrypted.exitCode, 0) << decrypted.err.toStdString() << decrypted.out.toStdString();
    EXPECT_EQ(Contents(s.Path(QStringLiteral("d"))), before);
}

struct NoEngineCase {
    const char* what;
    QStringList arguments;  // the folder is appended
    QByteArray input;
    int exitCode;
    QStringList reportLines;  // lines the report must hold
    QString messages;         // standard error exactly
};

// Runs in which the engine never derives a key: plain files refused by the anomaly check, a file
// that is not a Kyv file, empty files and empty folders. None of them counts as done.
TEST(KyvExitStatus, RunsWithoutADoneFileExitWithOne)
{
    const QString anomaly = QStringLiteral(
        "kyv: Anomaly: This file appears NOT to be encrypted?\nAttempt to decrypt it anyway? [%1]\n");
    const NoEngineCase cases[] = {
        {"plain files skipped without a terminal",
         {"decrypt", "--in-place", "--key-stdin"},
         "a typed key of some length\n",
         1,
         {"plain.txt     2,000 bytes   skipped (file seems not encrypted)",
          "second.txt    3,000 bytes   skipped (file seems not encrypted)", "Number of files processed: 2",
          "Number of files decrypted: 0"},
         anomaly.arg(QStringLiteral("No: no terminal")).repeated(2)},
        {"--yes decrypts anyway and the engine refuses",
         {"decrypt", "--yes", "--as", "*.dec", "--key-stdin"},
         "a typed key of some length\n",
         1,
         {"plain.txt     2,000 bytes   Invalid block size.",
          "              Decryption key is incorrect or ciphertext is corrupt.",
          "Number of files decrypted: 0"},
         anomaly.arg(QStringLiteral("Yes: --yes")).repeated(2)},
    };
    for (const NoEngineCase& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch s;
        s.Write(QStringLiteral("plain.txt"), test::PlainText(2000));
        s.Write(QStringLiteral("second.txt"), test::PlainText(3000));
        const QMap<QString, QByteArray> before = Contents(s.Path(QString()));
        const test::KyvRun run = RunKyv(QStringList(c.arguments) << s.Path(QString()), c.input);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.messages);
        for (const QString& line : c.reportLines)
            EXPECT_TRUE(run.out.split(QLatin1Char('\n')).contains(line)) << line.toStdString() << "\n"
                                                                         << run.out.toStdString();
        EXPECT_EQ(Contents(s.Path(QString())), before);
    }

    Scratch folders;
    folders.MakeFolder(QStringLiteral("only/lower"));
    const test::KyvRun nothing =
        RunKyv({QStringLiteral("encrypt"), QStringLiteral("--in-place"), QStringLiteral("--subfolders"),
                QStringLiteral("--key-stdin"), folders.Path(QStringLiteral("only"))},
               "a typed key of some length\n");
    EXPECT_EQ(nothing.exitCode, 1) << nothing.err.toStdString();
    EXPECT_EQ(test::ReportLinesWithoutDate(nothing.out),
              (QStringList{QString(), QStringLiteral("Number of files processed: 0"),
                           QStringLiteral("Number of files encrypted: 0"), QString()}));
}

}  // namespace
}  // namespace kyv
