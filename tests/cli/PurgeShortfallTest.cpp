// An in-place run whose purge of an original fails partway: the result is kept under the file's
// name, the file's line says that the disk may still hold the original's data, and kyv exits 1.

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QByteArray kKeyLine = "the key of the failing purges\n";
constexpr int kPlainSize = 70000;

// The purge is the run's only user of these calls: the engine writes with pwritev and flushes with
// fsync.
struct ShortfallCase {
    const char* injection;
    const char* says;
    bool leavesAnEmptyFile;
};

class PurgeShortfall : public ::testing::TestWithParam<ShortfallCase> {
protected:
    void SetUp() override
    {
        const QString why = test::WhyNoInjection();
        if (!why.isEmpty()) GTEST_SKIP() << why.toStdString();
    }
};

TEST_P(PurgeShortfall, IsNamedOnTheFilesLineAndFailsTheRun)
{
    const ShortfallCase& c = GetParam();
    Scratch s;
    const QByteArray plain = test::PlainText(kPlainSize);
    s.Write(QStringLiteral("a.txt"), plain);

    const test::KyvRun run = test::RunKyvInjected(
        QString::fromLatin1(c.injection),
        {QStringLiteral("encrypt"), QStringLiteral("--in-place"), QStringLiteral("--key-stdin"), s.Folder()},
        kKeyLine);
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    // The file's line shows its result, and the shortfall on the line below.
    const QRegularExpression line(QStringLiteral("a\\.txt +70,000 bytes +-> [0-9,]+ bytes\n +") +
                                  QRegularExpression::escape(QString::fromLatin1(c.says)));
    EXPECT_TRUE(line.match(run.out).hasMatch()) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("the disk may still hold its data in the blocks it used")))
        << run.out.toStdString();

    // The data is safe: the result under the file's name decrypts to the original.
    const QStringList left = QDir(s.Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    const QStringList others = left.filter(QRegularExpression(QStringLiteral("^(?!a\\.txt$)")));
    ASSERT_EQ(others.size(), c.leavesAnEmptyFile ? 1 : 0) << left.join(u' ').toStdString();
    if (c.leavesAnEmptyFile) {
        EXPECT_TRUE(run.out.contains(QStringLiteral("the empty file is now ") + s.Folder() + others.at(0) +
                                     QStringLiteral("; delete it yourself.")))
            << run.out.toStdString();
        EXPECT_EQ(s.Read(others.at(0)).size(), 0);
    }
    const test::KyvRun back = RunKyv({QStringLiteral("decrypt"), QStringLiteral("--in-place"),
                                      QStringLiteral("--key-stdin"), s.Folder(), QStringLiteral("a.txt")},
                                     kKeyLine);
    EXPECT_EQ(back.exitCode, 0) << back.out.toStdString();
    EXPECT_TRUE(s.Read(QStringLiteral("a.txt")) == plain);
}

INSTANTIATE_TEST_SUITE_P(
    InPlace, PurgeShortfall,
    ::testing::Values(ShortfallCase{"pwrite64:error=EIO:when=1",
                                    "The result is complete, but the original's overwrite failed", false},
                      ShortfallCase{"fdatasync:error=EIO:when=1",
                                    "The result is complete, but the original's overwrite failed", false},
                      ShortfallCase{"unlink:error=EIO:when=1",
                                    "The result is complete, but the purge of the original failed", true}));

}  // namespace
}  // namespace kyv
