// `kyv recover` and `kyv verify` on a real folder: an in-place encryption left as a kill during
// its purge leaves it, listed without a change, finished with --apply and the key, then verified;
// a damaged file fails verification with exit status 1.

#include <gtest/gtest.h>

#include <sys/xattr.h>

#include <QFile>
#include <QProcess>
#include <filesystem>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

const QByteArray kKeyLine = "the key of the recovered folder\n";

TEST(KyvRecoverVerify, FinishesAnInterruptedPurgeThenVerifies)
{
    Scratch s;
    const QByteArray original = test::PlainText(100000);
    s.Write(QStringLiteral("a.txt"), original);
    s.Write(QStringLiteral("b.txt"), test::PlainText(5000));
    const QString folder = s.Path(QString());
    const test::KyvRun encrypted = RunKyv(
        {QStringLiteral("encrypt"), QStringLiteral("--in-place"), QStringLiteral("--key-stdin"), folder},
        kKeyLine);
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err.toStdString();

    // What a kill during a.txt's purge leaves: the result under its temporary name, and the
    // original, half overwritten, under a meaningless one, with the purge's record of its name.
    ASSERT_TRUE(QFile::rename(s.Path(QStringLiteral("a.txt")), s.Path(QStringLiteral("a.txt1"))));
    // Owner-only, as every result is until it takes its name.
    ASSERT_TRUE(QFile::setPermissions(s.Path(QStringLiteral("a.txt1")),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    const QString hidden = s.Write(QStringLiteral("5eed0123abcd"), test::RandomBytes(original.size(), 3));
    if (::setxattr(hidden.toUtf8().constData(), "user.kyv.original", "a.txt", 5, 0) != 0)
        GTEST_SKIP() << "this file system takes no extended attributes";

    const test::KyvRun listed = RunKyv({QStringLiteral("recover"), folder});
    EXPECT_EQ(listed.exitCode, 1) << "leftovers are left for the user";
    EXPECT_TRUE(listed.out.contains(QStringLiteral("--apply renames it to a.txt.")))
        << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains(QStringLiteral("The original of a.txt, caught in its purge")));
    EXPECT_TRUE(QFile::exists(s.Path(QStringLiteral("5eed0123abcd"))));

    const test::KyvRun applied =
        RunKyv({QStringLiteral("recover"), QStringLiteral("--apply"), QStringLiteral("--key-stdin"), folder},
               kKeyLine);
    EXPECT_EQ(applied.exitCode, 0) << applied.out.toStdString() << applied.err.toStdString();
    EXPECT_TRUE(applied.out.contains(QStringLiteral("Authenticated with the key given.")));
    EXPECT_FALSE(QFile::exists(s.Path(QStringLiteral("5eed0123abcd"))));
    EXPECT_FALSE(QFile::exists(s.Path(QStringLiteral("a.txt1"))));

    const test::KyvRun verified =
        RunKyv({QStringLiteral("verify"), QStringLiteral("--key-stdin"), folder}, kKeyLine);
    EXPECT_EQ(verified.exitCode, 0) << verified.out.toStdString() << verified.err.toStdString();
    EXPECT_TRUE(verified.out.contains(QStringLiteral("a.txt: authentic, 100,000 bytes of plaintext.")))
        << verified.out.toStdString();
    EXPECT_TRUE(verified.out.endsWith(QStringLiteral("2 authentic, 0 failed.\n")));

    QByteArray damaged = s.Read(QStringLiteral("b.txt"));
    damaged[damaged.size() - 20] = static_cast<char>(damaged[damaged.size() - 20] ^ 1);
    s.Write(QStringLiteral("b.txt"), damaged);
    const test::KyvRun failed =
        RunKyv({QStringLiteral("verify"), QStringLiteral("--key-stdin"), folder}, kKeyLine);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.out.contains(QStringLiteral("b.txt: FAILED, damaged or altered")))
        << failed.out.toStdString();
}

// The shell hands kyv a folder's own bytes ("caf" and 0xE9, not UTF-8): each command finds it, and
// the picture goes to the exact name asked for.
TEST(KyvRecoverVerify, CommandsFindAFolderWhoseNameIsNotUtf8)
{
    const struct {
        const char* command;  // $1 is kyv, $d the folder
        const char* made;     // a file the command makes in the folder, or nothing
    } cases[] = {
        {"\"$1\" recover \"$d\"", nullptr},
        {"echo 'the key of the recovered folder' | \"$1\" verify --key-stdin \"$d\"", nullptr},
        {"\"$1\" randomness --picture \"$d/p$(printf '\\351').png\" \"$d/a.bin\"", "p\xe9.png"},
    };
    for (const auto& c : cases) {
        Scratch s;
        QProcess shell;
        shell.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral(
                 "d=\"$2$(printf 'caf\\351')\"; mkdir \"$d\" && printf plaintext > \"$d/a.bin\" && ") +
                 QString::fromUtf8(c.command),
             QStringLiteral("sh"), QStringLiteral(KYV_CLI_PATH), s.Folder()});
        ASSERT_TRUE(shell.waitForFinished(120000));
        const std::string err = shell.readAllStandardError().toStdString();
        EXPECT_NE(shell.exitCode(), 2) << c.command << ": " << err;
        EXPECT_EQ(err.find("not"), std::string::npos) << c.command << ": " << err;
        const std::string folder = s.Folder().toStdString() + "caf\xe9/";
        if (c.made != nullptr) {
            EXPECT_TRUE(std::filesystem::is_regular_file(folder + c.made)) << c.command;
        }
        std::filesystem::remove_all(folder);
    }
}

}  // namespace
}  // namespace kyv
