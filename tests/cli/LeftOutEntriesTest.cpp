// Entries of a folder that the file specification covers and no run can take (a "*" or "?" in the
// name, fifos, sockets, devices) are named on a line each; an encryption that leaves them as
// plaintext fails, a decryption that leaves them does not.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QByteArray kKeyLine = "the key of the entries left out\n";

TEST(LeftOutEntries, AreNamedAndAnEncryptionThatLeavesThemFails)
{
    Scratch s;
    const QByteArray plain = test::PlainText(5000);
    s.Write(QStringLiteral("a.txt"), plain);
    s.Write(QStringLiteral("star*.txt"), plain);
    ASSERT_EQ(::mkfifo(s.Path(QStringLiteral("pipe.txt")).toLocal8Bit().constData(), 0600), 0);

    struct Step {
        const char* verb;
        int exitCode;
    };
    for (const Step& step : {Step{"encrypt", 1}, Step{"decrypt", 0}}) {
        SCOPED_TRACE(step.verb);
        const test::KyvRun run = RunKyv({QString::fromLatin1(step.verb), QStringLiteral("--in-place"),
                                         QStringLiteral("--key-stdin"), s.Folder()},
                                        kKeyLine);
        EXPECT_EQ(run.exitCode, step.exitCode) << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE(
            run.out.contains(s.Folder() + QStringLiteral("pipe.txt  Not a regular file: left as it is.")))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(s.Folder() + QStringLiteral("star*.txt  A name with \"*\" or \"?\"")))
            << run.out.toStdString();
        EXPECT_EQ(s.Read(QStringLiteral("star*.txt")), plain);
        EXPECT_EQ(s.Read(QStringLiteral("a.txt")) == plain, step.exitCode == 0);
    }
}

}  // namespace
}  // namespace kyv
