#include <gtest/gtest.h>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QByteArray kTypedKey = "correct horse battery staple\n";

struct LaunchCase {
    const char* what;
    QStringList arguments;  // the key comes from standard input
    const char* message;    // the whole of standard error
};

// Each check of "Do it!" stops the launch with its own message before a file is touched; the
// checks come in the program's order, so each case also fails every later check.
TEST(KyvLaunchChecks, EachCheckStopsWithTheProgramsMessage)
{
    Scratch s;
    s.MakeFolder(QStringLiteral("empty"));
    s.Write(QStringLiteral("texts/a.txt"), "some text");
    s.Write(QStringLiteral("nested/a.txt"), "some text");
    s.MakeFolder(QStringLiteral("nested/lower"));
    s.Write(QStringLiteral("zero/a.txt"), QByteArray());
    s.Write(QStringLiteral("twins/report.doc"), "first");
    s.Write(QStringLiteral("twins/letter.doc"), "second");
    const QString texts = s.Path(QStringLiteral("texts"));
    const QString nested = s.Path(QStringLiteral("nested"));
    const LaunchCase cases[] = {
        {"input folder not given", {"encrypt", "--as", "", ""}, "kyv: Error: Input file(s) not specified.\n"},
        {"input specification empty",
         {"encrypt", "--in-place", texts, ""},
         "kyv: Error: Input file(s) not specified.\n"},
        {"input folder unreadable",
         {"encrypt", "--in-place", s.Path(QStringLiteral("missing"))},
         "kyv: Error: Cannot access the input folder.\n"},
        {"input folder empty",
         {"decrypt", "--as", "", s.Path(QStringLiteral("empty"))},
         "kyv: Empty folder: The input folder contains no files and no subfolders.\n"},
        {"no matching file",
         {"encrypt", "--in-place", texts, "*.doc"},
         "kyv: Empty folder: The input folder contains no matching files and no subfolders.\n"},
        {"matching files only below",
         {"encrypt", "--in-place", nested, "*.doc"},
         "kyv: Nothing to do: The input folder contains no matching files.\n"},
        {"output not specified",
         {"encrypt", "--as", "", texts},
         "kyv: Error: Output file(s) not specified.\n"},
        {"output folder given empty",
         {"decrypt", "--to", "", "--as", "*.dec", texts},
         "kyv: Error: Output file(s) not specified.\n"},
        {"subfolders need in place",
         {"encrypt", "--subfolders", "--as", "*.enc", nested},
         "kyv: If subfolders are included then the output files must be the same as the input files.\n"},
        {"nothing to encrypt",
         {"encrypt", "--as", "*.enc", s.Path(QStringLiteral("zero"))},
         "kyv: Error: Total input filesize is 0 bytes.\n"},
        {"duplicate output names",
         {"encrypt", "--as", "same.enc", s.Path(QStringLiteral("twins"))},
         "kyv: Error: Output file specification \"same.enc\" produces duplicate output filenames!\n"},
    };
    for (const LaunchCase& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList arguments = c.arguments;
        arguments.insert(1, QStringLiteral("--key-stdin"));
        const test::KyvRun run = RunKyv(arguments, kTypedKey);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, QString::fromUtf8(c.message));
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
    EXPECT_EQ(s.Read(QStringLiteral("twins/report.doc")), QByteArray("first"));
    EXPECT_EQ(QDir(s.Path(QStringLiteral("twins"))).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(QDir(texts).entryList(QDir::Files).size(), 1);
}

// The same output folder and specification as the input, in any letter case, is in-place work,
// so subfolders are then accepted. The run finds nothing but an empty file.
TEST(KyvLaunchChecks, OutputNamingTheInputBecomesInPlace)
{
    Scratch s;
    s.Write(QStringLiteral("Data/lower/empty.txt"), QByteArray());
    const test::KyvRun run =
        RunKyv({QStringLiteral("encrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--subfolders"),
                QStringLiteral("--as"), QStringLiteral("*.TXT"), s.Path(QStringLiteral("Data")),
                QStringLiteral("*.txt")},
               kTypedKey);
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("empty.txt     This file is empty (0 bytes).")))
        << run.out.toStdString();
}

struct KeyCase {
    const char* what;
    QByteArray keyfile;  // written to a file and given with --key-file unless null
    QByteArray input;    // standard input for --key-stdin
    const char* message;
};

// A key that cannot be had stops the command before anything runs; the input side is checked
// first, as "Do it!" checks it before the key.
TEST(KyvLaunchChecks, KeysThatCannotBeHadAreRefused)
{
    Scratch s;
    s.Write(QStringLiteral("in/a.txt"), "some text");
    const QString keyPath = s.Path(QStringLiteral("keys/key"));
    const KeyCase cases[] = {
        {"empty keyfile", QByteArray(""), {}, "kyv: Unsuitable keyfile: %1 is not a suitable keyfile.\n"},
        {"15 characters in the keyfile",
         QByteArray("abcdefghijklmno") + QByteArray(49, ' ') + "tail",
         {},
         "kyv: Unsuitable keyfile: %1 is not a suitable keyfile.\n"},
        {"no key on standard input", QByteArray(), "", "kyv: Error: No key on standard input.\n"},
        {"typed key too short", QByteArray(), "abc def ghi jkl mno\n",
         "kyv: Error: The key has fewer than 16 characters (spaces and control characters do not count).\n"},
        {"typed key too long", QByteArray(), QByteArray(65, 'k') + "\n",
         "kyv: Error: The key has more than 64 characters.\n"},
        {"not UTF-8", QByteArray(), "abcdefghijklmnop\xff\n", "kyv: Error: The key is not UTF-8 text.\n"},
        {"outside Windows-1252", QByteArray(), "abcdefghijklmnop\xce\xa9\n",
         "kyv: Error: The key holds a character that a Kyv key cannot hold (Windows-1252 characters "
         "only).\n"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList arguments{QStringLiteral("encrypt"), QStringLiteral("--in-place")};
        if (!c.keyfile.isNull()) {
            s.Write(QStringLiteral("keys/key"), c.keyfile);
            arguments << QStringLiteral("--key-file") << keyPath;
        } else {
            arguments << QStringLiteral("--key-stdin");
        }
        arguments << s.Path(QStringLiteral("in"));
        const test::KyvRun run = RunKyv(arguments, c.input);
        EXPECT_EQ(run.exitCode, 2);
        QString message = QString::fromUtf8(c.message);
        message.replace(QStringLiteral("%1"), keyPath);
        EXPECT_EQ(run.err, message);
        EXPECT_TRUE(run.out.isEmpty());
    }
    const test::KyvRun missing =
        RunKyv({QStringLiteral("checksum"), QStringLiteral("--key-file"), s.Path(QStringLiteral("none"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("kyv: Keyfile error: "))) << missing.err.toStdString();

    const test::KyvRun inputFirst =
        RunKyv({QStringLiteral("encrypt"), QStringLiteral("--in-place"), QStringLiteral("--key-stdin"),
                s.Path(QStringLiteral("in")), QStringLiteral("*.doc")},
               "short\n");
    EXPECT_EQ(inputFirst.exitCode, 2);
    EXPECT_EQ(inputFirst.err,
              QStringLiteral(
                  "kyv: Empty folder: The input folder contains no matching files and no subfolders.\n"));
    EXPECT_EQ(s.Read(QStringLiteral("in/a.txt")), QByteArray("some text"));
}

}  // namespace
}  // namespace kyv
