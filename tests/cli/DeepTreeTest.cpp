// Trees deeper than the soft limit on open files allows, when a walk keeps descriptors open on the
// folders it is in: kyv raises that limit to the hard one at start-up.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <climits>

#include "KyvRunner.h"
#include "support/Sanitizers.h"

namespace kyv {
namespace {

struct DeepTreeCase {
    int depth;
    rlim_t softLimit;
};

class KyvDeepTree : public ::testing::TestWithParam<DeepTreeCase> {};

TEST_P(KyvDeepTree, AChainOfFoldersDeeperThanTheSoftDescriptorLimitIsWalkedToItsEnd)
{
    const DeepTreeCase c = GetParam();
    if (test::kUnderSanitizer && c.softLimit > 64)
        GTEST_SKIP() << "two thousand files in place outlast the run's time under a sanitizer; the small "
                        "tree checks the same";
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < static_cast<rlim_t>(2 * c.depth))
        GTEST_SKIP() << "the hard limit on open files is only " << limit.rlim_max;
    test::Scratch s;
    QString folder;
    for (int depth = 0; depth < c.depth; ++depth) {
        folder += QStringLiteral("d/");
        s.Write(folder + QStringLiteral("f.txt"), test::PlainText(100));
    }
    // With room for the temporary names of an in-place run.
    if (s.Path(folder).toUtf8().size() + 32 >= PATH_MAX)
        GTEST_SKIP() << "the scratch folder's path is too long for a chain of " << c.depth;

    const rlim_t soft = c.softLimit;
    const test::KyvRun run = test::RunKyvPrepared(
        [soft] {
            rlimit lowered{};
            if (getrlimit(RLIMIT_NOFILE, &lowered) != 0) return;
            lowered.rlim_cur = soft;
            (void)setrlimit(RLIMIT_NOFILE, &lowered);
        },
        {QStringLiteral("encrypt"), QStringLiteral("--in-place"), QStringLiteral("--subfolders"),
         QStringLiteral("--key-stdin"), s.Path(QString())},
        QByteArray("a deep tree of many folders\n"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString count = QString::number(c.depth);
    EXPECT_TRUE(
        run.out.contains(QStringLiteral("Number of files encrypted: ") + count + QStringLiteral("\n")))
        << run.err.toStdString();
    EXPECT_NE(s.Read(folder + QStringLiteral("f.txt")), test::PlainText(100))
        << "the deepest file is plaintext";
}

// A small tree under a tiny limit, and the usual soft limit of 1,024 under a tree twice as deep.
INSTANTIATE_TEST_SUITE_P(Table, KyvDeepTree,
                         ::testing::Values(DeepTreeCase{150, 64}, DeepTreeCase{2000, 1024}));

}  // namespace
}  // namespace kyv
