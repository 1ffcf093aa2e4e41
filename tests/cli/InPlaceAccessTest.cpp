// An in-place round trip keeps who may use the file: the result takes the original's permission
// bits and (run by root here) its owner and group.

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QByteArray kKeyLine = "the key that keeps permissions\n";

struct AccessCase {
    const char* what;
    mode_t mode;
    bool givenAway;  // owned by nobody and a group of its own
};

class InPlaceAccess : public ::testing::TestWithParam<AccessCase> {};

struct stat StatusOf(const QString& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(path.toLocal8Bit().constData(), &status), 0);
    return status;
}

TEST_P(InPlaceAccess, ARoundTripKeepsPermissionsOwnerAndGroup)
{
    const AccessCase& c = GetParam();
    const passwd* nobody = ::getpwnam("nobody");
    const group* users = ::getgrnam("users");
    if (c.givenAway && (::geteuid() != 0 || nobody == nullptr || users == nullptr))
        GTEST_SKIP() << "giving a file away needs root, user nobody and group users";
    Scratch s;
    const QString path = s.Write(QStringLiteral("doc.txt"), test::PlainText(5000));
    const QByteArray native = path.toLocal8Bit();
    if (c.givenAway) {
        ASSERT_EQ(::chown(native.constData(), nobody->pw_uid, users->gr_gid), 0);
    }
    ASSERT_EQ(::chmod(native.constData(), c.mode), 0);
    const struct stat before = StatusOf(path);
    // Each result is a new file made while the file it replaces still exists; the file before
    // that may have given its freed inode number to it.
    ino_t replaced = before.st_ino;

    for (const char* verb : {"encrypt", "decrypt"}) {
        SCOPED_TRACE(verb);
        const test::KyvRun run = RunKyv({QString::fromLatin1(verb), QStringLiteral("--in-place"),
                                         QStringLiteral("--key-stdin"), s.Folder()},
                                        kKeyLine);
        ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
        const struct stat after = StatusOf(path);
        EXPECT_NE(after.st_ino, replaced);
        replaced = after.st_ino;
        EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
    }
    EXPECT_TRUE(s.Read(QStringLiteral("doc.txt")) == test::PlainText(5000));
}

INSTANTIATE_TEST_SUITE_P(Table, InPlaceAccess,
                         ::testing::Values(AccessCase{"a document", 0644, false},
                                           AccessCase{"read-only", 0444, false},
                                           AccessCase{"shared with a group", 0660, true},
                                           AccessCase{"another user's, group-read", 0640, true}));

}  // namespace
}  // namespace kyv
