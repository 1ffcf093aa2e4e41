// `kyv recover` after runs (and recovers) cut short at exact points, and on purges whose writes,
// flushes or removal fail: strace kills kyv at a chosen system call or makes one fail with EIO.
// Nothing the program did not itself hide is ever purged, every step recover takes can be finished
// by the next recover, and a purge that did not finish is never reported as done.

#include <gtest/gtest.h>

#include <sys/xattr.h>

#include <QDir>
#include <QFile>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::RunKyvInjected;
using test::Scratch;

const QByteArray kKeyLine = "the key of the interrupted runs\n";
constexpr int kPlainSize = 70000;

QStringList Names(const Scratch& s)
{
    return QDir(s.Path(QString())).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// The names of `s` that are twelve hexadecimal digits: the purge's hidden names.
QStringList HiddenNames(const Scratch& s)
{
    QStringList hidden;
    for (const QString& name : Names(s))
        if (name.size() == 12 &&
            name.toStdString().find_first_not_of("0123456789abcdef") == std::string::npos)
            hidden << name;
    return hidden;
}

test::KyvRun EncryptInPlace(const Scratch& s, const QString& injection)
{
    const QStringList arguments{QStringLiteral("encrypt"), QStringLiteral("--in-place"),
                                QStringLiteral("--key-stdin"), s.Path(QString())};
    return injection.isEmpty() ? RunKyv(arguments, kKeyLine) : RunKyvInjected(injection, arguments, kKeyLine);
}

QStringList Recover(bool withKey = false)
{
    QStringList arguments{QStringLiteral("recover"), QStringLiteral("--apply")};
    if (withKey) arguments << QStringLiteral("--key-stdin");
    return arguments;
}

class RecoverInterrupted : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString why = test::WhyNoInjection();
        if (!why.isEmpty()) GTEST_SKIP() << why.toStdString();
    }
};

// The run is killed as its result was to take the original's name; the original itself was purged
// and is gone. A file of the user's with a twelve-digit name and the original's length, and an
// empty one, are no hidden originals: no record of the program's says they are.
TEST_F(RecoverInterrupted, FilesOfTheUsersThatLookLikeHiddenOriginalsAreLeftAlone)
{
    Scratch s;
    s.Write(QStringLiteral("doc.txt"), test::PlainText(kPlainSize));
    const test::KyvRun run = EncryptInPlace(s, QStringLiteral("renameat2:error=EIO:signal=SIGKILL:when=2"));
    ASSERT_EQ(run.exitCode, -1) << run.err.toStdString();
    ASSERT_EQ(Names(s), QStringList{QStringLiteral("doc.txt1")});
    const QByteArray users = test::RandomBytes(kPlainSize, 9);
    s.Write(QStringLiteral("0123456789ab"), users);
    s.Write(QStringLiteral("abcdef012345"), QByteArray());

    const test::KyvRun recovered = RunKyv(Recover() << s.Path(QString()) + QStringLiteral("/"));
    EXPECT_EQ(recovered.exitCode, 1) << recovered.out.toStdString();
    EXPECT_TRUE(recovered.out.contains(QStringLiteral("Renamed to doc.txt."))) << recovered.out.toStdString();
    EXPECT_FALSE(recovered.out.contains(QStringLiteral("Purged."))) << recovered.out.toStdString();
    EXPECT_EQ(Names(s), QStringList({QStringLiteral("0123456789ab"), QStringLiteral("abcdef012345"),
                                     QStringLiteral("doc.txt")}));
    EXPECT_EQ(s.Read(QStringLiteral("0123456789ab")), users);
}

// An in-place run killed as its purge began to overwrite the original, then a recover killed in the
// same place of its own purge: the next recover finishes the work, by the purge's record.
TEST_F(RecoverInterrupted, ARecoverCutShortIsFinishedByTheNext)
{
    Scratch s;
    const QByteArray original = test::PlainText(kPlainSize);
    s.Write(QStringLiteral("f2.dat"), original);
    const QString kill = QStringLiteral("pwrite64:signal=SIGKILL:when=1");
    ASSERT_EQ(EncryptInPlace(s, kill).exitCode, -1);
    ASSERT_EQ(HiddenNames(s).size(), 1);
    ASSERT_TRUE(Names(s).contains(QStringLiteral("f2.dat1")));

    const test::KyvRun cut = RunKyvInjected(kill, Recover() << s.Path(QString()));
    ASSERT_EQ(cut.exitCode, -1) << cut.out.toStdString() << cut.err.toStdString();
    ASSERT_EQ(HiddenNames(s).size(), 1);
    ASSERT_TRUE(Names(s).contains(QStringLiteral("f2.dat")));

    const test::KyvRun finished = RunKyv(Recover(true) << s.Path(QString()), kKeyLine);
    EXPECT_EQ(finished.exitCode, 0) << finished.out.toStdString();
    EXPECT_TRUE(finished.out.contains(QStringLiteral("Purged."))) << finished.out.toStdString();
    EXPECT_EQ(Names(s), QStringList{QStringLiteral("f2.dat")});
    const test::KyvRun verified =
        RunKyv({QStringLiteral("verify"), QStringLiteral("--key-stdin"), s.Path(QString())}, kKeyLine);
    EXPECT_EQ(verified.exitCode, 0) << verified.out.toStdString();
}

// A purge whose overwrite, flush or removal fails has not done what it is for: recover says so and
// exits with 1; an emptied file it could not remove is removed by the next recover.
TEST_F(RecoverInterrupted, APurgeThatFailsIsReportedAsAFailure)
{
    const struct {
        const char* injection;
        const char* says;
        bool leavesAnEmptyFile;
    } cases[] = {
        {"pwrite64:error=EIO:when=1", "Deleted, but its overwrite failed", false},
        {"fdatasync:error=EIO:when=1", "Deleted, but its overwrite failed", false},
        {"unlink:error=EIO:when=1", "Emptied, but it could not be deleted: the empty file is now ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.injection);
        Scratch s;
        s.Write(QStringLiteral("a.txt"), test::PlainText(kPlainSize));
        ASSERT_EQ(EncryptInPlace(s, QString()).exitCode, 0);
        // What a recover killed during its purge leaves: the result has its name, the hidden
        // original its record.
        const QString hidden = s.Write(QStringLiteral("5eed0123abcd"), test::RandomBytes(kPlainSize, 4));
        if (::setxattr(hidden.toUtf8().constData(), "user.kyv.original", "a.txt", 5, 0) != 0)
            GTEST_SKIP() << "this file system takes no extended attributes";

        const test::KyvRun failed =
            RunKyvInjected(QString::fromLatin1(c.injection), Recover() << s.Path(QString()));
        EXPECT_EQ(failed.exitCode, 1) << failed.out.toStdString() << failed.err.toStdString();
        EXPECT_TRUE(failed.out.contains(QString::fromLatin1(c.says))) << failed.out.toStdString();
        EXPECT_FALSE(failed.out.contains(QStringLiteral("Purged."))) << failed.out.toStdString();
        EXPECT_EQ(HiddenNames(s).size(), c.leavesAnEmptyFile ? 1 : 0);
        if (c.leavesAnEmptyFile) {
            EXPECT_TRUE(failed.out.contains(HiddenNames(s).value(0)));
            const test::KyvRun again = RunKyv(Recover() << s.Path(QString()));
            EXPECT_EQ(again.exitCode, 0) << again.out.toStdString();
            EXPECT_TRUE(again.out.contains(QStringLiteral("Deleted."))) << again.out.toStdString();
        }
        EXPECT_EQ(Names(s), QStringList{QStringLiteral("a.txt")});
    }
}

}  // namespace
}  // namespace kyv
