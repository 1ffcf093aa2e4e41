// Runs of the real `kyv` against a world that does not hold still: another run in the same folder,
// a damaged file whose output name is already taken, a truncated file decrypted in place.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <thread>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <fstream>

#include "KyvRunner.h"
#include "engine/cipher/FileFormat.h"
#include "platform/FolderLock.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QByteArray kKeyLine = "a key for a world that changes\n";

TEST(ChangingWorld, ASecondRunInTheSameFolderIsRefusedAndChangesNothing)
{
    Scratch s;
    s.Write(QStringLiteral("a.txt"), test::PlainText(5000));
    platform::FolderLock otherRun;
    ASSERT_EQ(otherRun.TryLock(platform::FilePath(s.Folder())), platform::FolderLock::Outcome::Locked);

    const test::KyvRun refused = RunKyv(
        {QStringLiteral("encrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--in-place"), s.Folder()},
        kKeyLine);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Another run is working in the folder ") + s.Folder()))
        << refused.err.toStdString();
    EXPECT_EQ(s.Read(QStringLiteral("a.txt")), test::PlainText(5000));
    EXPECT_EQ(QDir(s.Folder()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")});
}

// Encrypts `plain` as `name` in the scratch folder's `folder` and returns the ciphertext.
QByteArray Encrypted(const Scratch& s, const QString& folder, const QString& name, const QByteArray& plain)
{
    s.Write(folder + name, plain);
    const test::KyvRun run = RunKyv({QStringLiteral("encrypt"), QStringLiteral("--key-stdin"),
                                     QStringLiteral("--in-place"), s.Folder(folder), name},
                                    kKeyLine);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    return s.Read(folder + name);
}

TEST(ChangingWorld, PartialPlaintextNeverReplacesAnExistingFile)
{
    Scratch s;
    const QByteArray plain = test::PlainText(5 * static_cast<int>(cipher::format::kChunkSize));
    QByteArray sealed = Encrypted(s, QStringLiteral("in/"), QStringLiteral("a.txt"), plain);
    // One flipped byte in the fourth chunk: the first three decrypt, then authentication fails.
    sealed[static_cast<qsizetype>(cipher::format::kHeaderSize + 3 * cipher::format::kSealedChunkSize + 10)] ^=
        1;
    s.Write(QStringLiteral("in/a.txt"), sealed);
    s.Write(QStringLiteral("out/a.txt"), "the good copy made last week");

    const test::KyvRun run =
        RunKyv({QStringLiteral("decrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--to"),
                s.Folder(QStringLiteral("out")), QStringLiteral("--as"), QStringLiteral("*.*"),
                s.Folder(QStringLiteral("in"))},
               kKeyLine);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(s.Read(QStringLiteral("out/a.txt")), "the good copy made last week");
    const QString partial = s.Folder(QStringLiteral("out")) + QStringLiteral("a.txt1");
    EXPECT_TRUE(run.out.contains(QStringLiteral("Partial plaintext may be in ") + partial + QLatin1Char('.')))
        << run.out.toStdString();
    EXPECT_TRUE(s.Read(QStringLiteral("out/a.txt1")) == plain.left(3 * cipher::format::kChunkSize));
}

TEST(ChangingWorld, NoPartialPlaintextLineWhereNoSuchFileExists)
{
    Scratch s;
    const QByteArray sealed = Encrypted(s, QString(), QStringLiteral("a.txt"), test::PlainText(3000));
    s.Write(QStringLiteral("a.txt"), sealed.left(sealed.size() - 100));

    const test::KyvRun run = RunKyv(
        {QStringLiteral("decrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--in-place"), s.Folder()},
        kKeyLine);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(QStringLiteral("block expansion error"))) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("Partial plaintext"))) << run.out.toStdString();
    EXPECT_TRUE(s.Read(QStringLiteral("a.txt")) == sealed.left(sealed.size() - 100));
}

TEST(ChangingWorld, AnOutputNameAtTheLimitIsWritten)
{
    Scratch s;
    const QString name = QString(255, QLatin1Char('x'));
    s.Write(QStringLiteral("in/") + name, test::PlainText(2000));
    s.MakeFolder(QStringLiteral("out"));
    const test::KyvRun run =
        RunKyv({QStringLiteral("encrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--to"),
                s.Folder(QStringLiteral("out")), QStringLiteral("--as"), QStringLiteral("*.*"),
                s.Folder(QStringLiteral("in"))},
               kKeyLine);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(QDir(s.Folder(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

TEST(ChangingWorld, AFolderNamedOnTheCommandLineNeedNotBeUtf8)
{
    Scratch s;
    // The shell hands kyv the name's own bytes ("caf" and 0xE9), which are not UTF-8.
    QProcess shell;
    shell.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"),
         QStringLiteral("d=\"$2$(printf 'caf\\351')\"; mkdir \"$d\" && printf plaintext > \"$d/a.txt\" && "
                        "printf '%s\\n' 'a key for a world that changes' | "
                        "\"$1\" encrypt --in-place --key-stdin \"$d\""),
         QStringLiteral("sh"), QStringLiteral(KYV_CLI_PATH), s.Folder()});
    ASSERT_TRUE(shell.waitForFinished(120000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    std::ifstream file(s.Folder().toStdString() + "caf\xe9/a.txt", std::ios::binary);
    const std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_GT(contents.size(), std::string("plaintext").size());
}

// Whether some process holds a whole-file lock (flock) on the file or folder with this inode.
bool FlockHeldOn(ino_t inode)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly)) return false;
    const QByteArray suffix = ':' + QByteArray::number(static_cast<qulonglong>(inode));
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 5 && fields[1] == "FLOCK" && fields[5].endsWith(suffix)) return true;
    }
    return false;
}

TEST(ChangingWorld, OfTwoRealRunsInOneFolderTheSecondIsRefusedWhileTheFirstIsPaused)
{
    Scratch s;
    const QByteArray plain = test::PlainText(64 << 20);
    s.Write(QStringLiteral("big.txt"), plain);
    struct stat folder {};
    ASSERT_EQ(::stat(s.Folder().toStdString().c_str(), &folder), 0);
    const QStringList inPlace{QStringLiteral("encrypt"), QStringLiteral("--key-stdin"),
                              QStringLiteral("--in-place"), s.Folder()};

    // The first run is paused as soon as it holds the folder, wherever it is in its work.
    QProcess first;
    test::StartKyv(first, inPlace, kKeyLine);
    bool held = false;
    QElapsedTimer waited;
    waited.start();
    while (!held && waited.elapsed() < 60000) {
        held = FlockHeldOn(folder.st_ino);
        if (!held && first.waitForFinished(0)) break;
    }
    if (!held) {
        first.waitForFinished();
        GTEST_SKIP() << "the first run finished before its lock was seen in /proc/locks";
    }
    ::kill(static_cast<pid_t>(first.processId()), SIGSTOP);

    const test::KyvRun second = RunKyv(inPlace, kKeyLine);
    ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
    ASSERT_TRUE(first.waitForFinished(120000));
    EXPECT_EQ(second.exitCode, 1) << second.err.toStdString();
    EXPECT_TRUE(second.err.contains(QStringLiteral("Another run is working in the folder")));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();

    // Encrypted exactly once: one decryption gives the original back.
    const test::KyvRun back = RunKyv(
        {QStringLiteral("decrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--in-place"), s.Folder()},
        kKeyLine);
    EXPECT_EQ(back.exitCode, 0) << back.out.toStdString();
    EXPECT_EQ(s.Read(QStringLiteral("big.txt")), plain);
    EXPECT_EQ(QDir(s.Folder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("big.txt")});
}

// The engine's finished output waits five seconds at its rename while the input is appended to:
// the input is kept, and no output of the file as it was read takes the output's name.
TEST(ChangingWorld, AnInputChangedWhileItsOutputWaitsLeavesNoOutput)
{
    const QString why = test::WhyNoInjection();
    if (!why.isEmpty()) GTEST_SKIP() << why.toStdString();
    Scratch s;
    const QByteArray plain = test::PlainText(20000);
    s.Write(QStringLiteral("in/log.txt"), plain);
    s.MakeFolder(QStringLiteral("out"));
    QProcess run;
    test::StartKyvInjected(run, QStringLiteral("rename:delay_enter=5000000:when=1"),
                           {QStringLiteral("encrypt"), QStringLiteral("--key-stdin"), QStringLiteral("--to"),
                            s.Folder(QStringLiteral("out")), QStringLiteral("--as"), QStringLiteral("*.enc"),
                            s.Folder(QStringLiteral("in"))},
                           kKeyLine);
    // The engine's working file is complete once it holds the whole encryption.
    const auto complete = [&s] {
        const QFileInfoList files =
            QDir(s.Folder(QStringLiteral("out"))).entryInfoList({QStringLiteral("*.kyvpart-*")}, QDir::Files);
        return files.size() == 1 &&
               static_cast<std::uint64_t>(files.at(0).size()) == cipher::format::EncryptedSize(20000);
    };
    QElapsedTimer waited;
    waited.start();
    while (!complete() && waited.elapsed() < 60000 && !run.waitForFinished(10)) {
    }
    ASSERT_TRUE(complete()) << "the output was never seen waiting for its rename";
    QFile log(s.Path(QStringLiteral("in/log.txt")));
    ASSERT_TRUE(log.open(QIODevice::Append));
    log.write("one more line\n");
    log.close();

    const test::KyvRun done = test::FinishInjectedKyv(run);
    EXPECT_EQ(done.exitCode, 1) << done.out.toStdString() << done.err.toStdString();
    EXPECT_TRUE(done.out.contains(QStringLiteral("This file changed"))) << done.out.toStdString();
    EXPECT_EQ(QDir(s.Folder(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden), QStringList())
        << done.out.toStdString();
    EXPECT_EQ(s.Read(QStringLiteral("in/log.txt")), plain + "one more line\n");
}

}  // namespace
}  // namespace kyv
