// An opened file tells a write since it was opened: by its lease where the system grants one (an
// open for writing alone breaks it), and otherwise by its length and times.

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "platform/OpenedFile.h"

namespace kyv::platform {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// What went wrong, a bit each: 1 leased or not as expected, 2 changed at once, 4 could not open
// for writing, 8 an open for writing went unseen, 16 an appended byte went unseen.
int Faults(const fs::path& file, bool expectLeased)
{
    int faults = 0;
    const OpenedFile opened(-1, {}, file);
    if (opened.Leased() != expectLeased) faults |= 1;
    if (!opened.DataUnchanged()) faults |= 2;
    const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return faults | 4;
    // Opening for writing is all a lease needs to see; times need the write.
    if (expectLeased && opened.DataUnchanged()) faults |= 8;
    if (::write(fd, "x", 1) != 1) faults |= 4;
    ::close(fd);
    if (opened.DataUnchanged()) faults |= 16;
    return faults;
}

class OpenedFileTest : public ::testing::TestWithParam<bool> {};

// As its owner, and as user nobody, whom no lease on another's file is granted.
TEST_P(OpenedFileTest, TellsAWriteWithOrWithoutALease)
{
    const bool asNobody = GetParam();
    if (asNobody && ::geteuid() != 0) GTEST_SKIP() << "Only root can look at the file as user nobody.";
    QTemporaryDir dir;
    const fs::path folder = QFile::encodeName(dir.path()).toStdString();
    const fs::path file = folder / "a.txt";
    std::ofstream(file) << "twelve bytes";
    fs::permissions(folder, fs::perms(0755));
    fs::permissions(file, fs::perms(0666));
    if (!asNobody) {
        EXPECT_EQ(Faults(file, true), 0);
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const gid_t group = kNobody;
        const bool dropped = ::setgroups(1, &group) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                             ::setresuid(kNobody, kNobody, kNobody) == 0;
        ::_exit(dropped ? Faults(file, false) : 64);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "faults " << WEXITSTATUS(status);
}

INSTANTIATE_TEST_SUITE_P(Holders, OpenedFileTest, ::testing::Bool());

}  // namespace
}  // namespace kyv::platform
