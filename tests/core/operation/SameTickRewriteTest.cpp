// Another program rewrites a file at the same length while it is encrypted in place, and puts its
// modification time back. When that lands within one tick of the clock that stamps the change
// time, length and times all say "unchanged"; the original must be kept all the same.

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>

#include "OperationFixture.h"
#include "support/Sanitizers.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;

bool SameStamp(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// When the rewrite happens: while the engine reads the file, or after, while its result is read back.
using RewriteHook = std::function<void(const fs::path&)> FakeCipherEngine::*;

class SameTickRewriteTest : public OperationFixture, public ::testing::WithParamInterface<RewriteHook> {
protected:
    void TearDown() override
    {
        if (!mounted_.empty()) ::umount2(mounted_.c_str(), MNT_DETACH);
    }

    // Encrypts `name` in `folder` in place while it is rewritten; true when the rewrite went
    // unseen by its length and times, and the run was checked.
    bool RunFooledOnce(const QString& folder, const QString& name)
    {
        const fs::path file = Path(folder + name);
        const std::string original = PlainBytes(64, 'a');
        const std::string rewritten = PlainBytes(64, 'b');
        Write(folder + name, original);
        struct stat before {};
        if (::stat(file.c_str(), &before) != 0) return false;
        bool fooled = false;
        engine_.*GetParam() = [&](const fs::path&) {
            const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::pwrite(fd, rewritten.data(), rewritten.size(), 0), 64);
            ::close(fd);
            const timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
            ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
            struct stat after {};
            ASSERT_EQ(::stat(file.c_str(), &after), 0);
            fooled = after.st_ino == before.st_ino && after.st_size == before.st_size &&
                     SameStamp(after.st_mtim, before.st_mtim) && SameStamp(after.st_ctim, before.st_ctim);
        };
        setup_.direction = Direction::Encrypt;
        setup_.inPlace = true;
        Select(Root() + folder, name, Root() + folder, name);
        Run();
        if (!fooled) return false;
        EXPECT_EQ(Read(folder + name), rewritten) << "the rewritten file was purged";
        EXPECT_TRUE(Exists(folder + name + QLatin1Char('1')));
        EXPECT_EQ(state_.result.filesFailed, 1);
        EXPECT_TRUE(sink_.text.contains(QStringLiteral("This file changed"))) << sink_.text.toStdString();
        return true;
    }

    bool FooledWithin(const QString& folder)
    {
        constexpr int kTries = 20;
        for (int i = 0; i < kTries; ++i)
            if (RunFooledOnce(folder, QStringLiteral("f%1.txt").arg(i))) return true;
        return false;
    }

    std::string mounted_;
};

TEST_P(SameTickRewriteTest, KeepsTheOriginalAndSaysItChanged)
{
    // The rewrite opens the file on the thread that holds its read lease; the lease's signal must
    // reach that thread while the open waits, which ThreadSanitizer's runtime holds back until the
    // kernel gives up on the lease, 45 s a try.
    if (test::kUnderThreadSanitizer)
        GTEST_SKIP() << "the lease break waits out the kernel under ThreadSanitizer";
    if (FooledWithin(QString())) return;
    // File systems that give a change seen by a look a finer time than the tick never fool the
    // times; a RAM file system keeps the coarse clock.
    const fs::path ram = Path(QStringLiteral("ram"));
    fs::create_directory(ram);
    if (::mount("none", ram.c_str(), "ramfs", 0, "mode=0700") != 0)
        GTEST_SKIP() << "Every rewrite here got a change time of its own, and a RAM file system cannot be "
                        "mounted ("
                     << std::strerror(errno) << "): nothing to show.";
    mounted_ = ram.string();
    if (!FooledWithin(QStringLiteral("ram/")))
        GTEST_SKIP() << "No rewrite landed within the tick of the first look, in 20 tries.";
}

INSTANTIATE_TEST_SUITE_P(When, SameTickRewriteTest,
                         ::testing::Values(&FakeCipherEngine::duringCall, &FakeCipherEngine::beforeVerify),
                         [](const auto& param) { return param.index == 0 ? "WhileRead" : "BeforeThePurge"; });

}  // namespace
}  // namespace kyv::test
