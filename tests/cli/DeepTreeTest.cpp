// A tree deeper than the soft limit on open files allows, when a walk keeps descriptors open on
// the folders it is in: kyv raises that limit to the hard one at start-up.

#include <gtest/gtest.h>

#include <QProcess>

#include "KyvRunner.h"

namespace kyv {
namespace {

constexpr int kDepth = 150;
constexpr int kSoftLimit = 64;

TEST(KyvDeepTree, AChainOfFoldersDeeperThanTheSoftDescriptorLimitIsWalkedToItsEnd)
{
    test::Scratch s;
    QString folder;
    for (int depth = 0; depth < kDepth; ++depth) {
        folder += QStringLiteral("d/");
        s.Write(folder + QStringLiteral("f.txt"), test::PlainText(100));
    }
    QProcess shell;
    shell.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("ulimit -S -n %1 && echo 'a deep tree of many folders' | "
                                "\"$1\" encrypt --in-place --subfolders --key-stdin \"$2\"")
                     .arg(kSoftLimit),
                 QStringLiteral("sh"), QStringLiteral(KYV_CLI_PATH), s.Path(QString())});
    ASSERT_TRUE(shell.waitForFinished(240000));
    const QString err = QString::fromUtf8(shell.readAllStandardError());
    if (err.contains(QStringLiteral("ulimit")))
        GTEST_SKIP() << "the shell cannot set a soft limit of " << kSoftLimit << ": " << err.toStdString();
    EXPECT_EQ(shell.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(shell.readAllStandardOutput())
                    .contains(QStringLiteral("Number of files encrypted: %1").arg(kDepth)))
        << err.toStdString();
    EXPECT_NE(s.Read(folder + QStringLiteral("f.txt")), test::PlainText(100))
        << "the deepest file is plaintext";
}

}  // namespace
}  // namespace kyv
