#include <gtest/gtest.h>

#include <signal.h>

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QRegularExpression>

#include "KyvRunner.h"

namespace kyv {
namespace {

// Ctrl-C during a run: the file being worked on is finished, the rest stays as it was, and the
// report closes as after "Stop".
TEST(KyvInterrupt, CtrlCStopsAfterTheCurrentFile)
{
    test::Scratch s;
    const QStringList names{QStringLiteral("one.txt"), QStringLiteral("two.txt"), QStringLiteral("three.txt"),
                            QStringLiteral("four.txt")};
    for (const QString& name : names) s.Write(name, test::PlainText(20000));

    QProcess kyv;
    test::StartKyv(kyv,
                   {QStringLiteral("encrypt"), QStringLiteral("--in-place"), QStringLiteral("--key-stdin"),
                    s.Path(QString())},
                   "a key typed for the interrupted run\n");
    // The report's first line is written when the real run begins; the first file then waits for
    // the key derivation, which takes far longer than the signal.
    QByteArray out;
    const QDeadlineTimer deadline(60000);
    while (!out.contains("Encrypting") && !deadline.hasExpired() && kyv.state() == QProcess::Running) {
        kyv.waitForReadyRead(100);
        out += kyv.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("Encrypting")) << kyv.readAllStandardError().toStdString();
    ASSERT_EQ(::kill(static_cast<pid_t>(kyv.processId()), SIGINT), 0);
    ASSERT_TRUE(kyv.waitForFinished(60000));
    out += kyv.readAllStandardOutput();
    const QString err = QString::fromUtf8(kyv.readAllStandardError());

    EXPECT_EQ(kyv.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(kyv.exitCode(), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("kyv: Stopping after the current file"))) << err.toStdString();
    const QString report = QString::fromUtf8(out);
    int encrypted = 0;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const bool reportedDone = report.contains(QRegularExpression(
            QLatin1Char('^') + QRegularExpression::escape(name) + QStringLiteral(" +20,000 bytes   -> "),
            QRegularExpression::MultilineOption));
        const QByteArray now = s.Read(name);
        if (reportedDone) {
            ++encrypted;
            EXPECT_NE(now, test::PlainText(20000));
        } else {
            EXPECT_EQ(now, test::PlainText(20000));
        }
    }
    EXPECT_GE(encrypted, 1);
    EXPECT_LT(encrypted, names.size());
    EXPECT_EQ(QDir(s.Path(QString())).entryList(QDir::Files).size(), names.size());
    EXPECT_FALSE(report.contains(QStringLiteral("Number of files processed: 4")));
}

}  // namespace
}  // namespace kyv
