#include <gtest/gtest.h>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

TEST(KyvUsage, HelpAndVersionGoToStandardOutput)
{
    const test::KyvRun help = RunKyv({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage:\n  kyv encrypt|decrypt")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("Exit status:")));
    EXPECT_TRUE(help.err.isEmpty());

    const test::KyvRun version = RunKyv({QStringLiteral("encrypt"), QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("kyv (Kyv Cipher) ")));
}

struct UsageCase {
    const char* what;
    QStringList arguments;
    const char* error;
};

TEST(KyvUsage, RefusedArgumentsExitWithTwoAndTouchNothing)
{
    Scratch scratch;
    scratch.Write(QStringLiteral("a.txt"), "plain");
    const QString folder = scratch.Path(QString());
    Scratch keys;
    const QString keyfile = keys.Write(QStringLiteral("key"), "0123456789abcdefXYZ");
    const UsageCase cases[] = {
        {"no command", {}, "Name a command"},
        {"unknown command", {"shred", folder}, "Unknown command shred."},
        {"unknown option", {"randomness", "--fast", folder}, "Unknown option --fast."},
        {"key on the command line",
         {"encrypt", "--key=secret-secret-secret", "--in-place", folder},
         "A key is never taken from the command line"},
        {"no output", {"encrypt", "--key-file", keyfile, folder}, "Say where the output goes"},
        {"in place and --as",
         {"encrypt", "--in-place", "--as", "*.enc", "--key-file", keyfile, folder},
         "--in-place writes each output file over its input file"},
        {"no key", {"encrypt", "--in-place", folder}, "Give the key with --key-file FILE or --key-stdin."},
        {"no folder", {"decrypt", "--in-place", "--key-stdin"}, "Name the folder."},
        {"too many arguments", {"randomness", folder, "*.*", "extra"}, "Too many arguments"},
        {"key for randomness", {"randomness", "--key-stdin", folder}, "randomness takes no key."},
        {"--yes for randomness", {"randomness", "--yes", folder}, "belong to encrypt and decrypt"},
        {"folder for checksum", {"checksum", "--key-stdin", folder}, "checksum takes no folder."},
        {"run without a setup file", {"run", "--key-stdin"}, "Name one setup file (*.opn)."},
        {"run with its own output", {"run", "--as", "*.enc", "--key-stdin", "a.opn"}, "The setup file says"},
        {"show with a key", {"show", "--key-stdin", "a.opn"}, "show takes no key."},
        {"--apply for encrypt",
         {"encrypt", "--in-place", "--apply", "--key-stdin", folder},
         "--apply belongs to recover."},
        {"file specification for recover",
         {"recover", folder, "*.txt"},
         "recover takes a folder and no file"},
        {"no key for verify", {"verify", folder}, "Give the key with --key-file FILE or --key-stdin."},
        {"keyfile without a name", {"checksum", "--key-file", ""}, "--key-file needs a file name."},
        {"keyfile with an empty value", {"checksum", "--key-file="}, "--key-file needs a file name."},
        {"path in the file specification", {"randomness", folder, "sub/*.txt"}, "holds no '/'"},
        {"picture of two files",
         {"randomness", "--picture", "p.png", folder, "a.txt"},
         "--picture draws one file"},
        {"picture with subfolders",
         {"randomness", "--subfolders", "--picture", "p.png", folder},
         "no --subfolders"},
        {"picture for encrypt",
         {"encrypt", "--in-place", "--key-file", keyfile, "--picture", "p.png", folder},
         "--picture belongs to randomness."},
        {"picture for checksum",
         {"checksum", "--key-file", keyfile, "--picture", "p.png"},
         "--picture belongs to randomness."},
        {"output folder missing",
         {"encrypt", "--to", scratch.Path(QStringLiteral("nowhere")), "--as", "*.enc", "--key-file", keyfile,
          folder},
         "does not exist."},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(c.what);
        const test::KyvRun run = RunKyv(c.arguments, "abcdefghijklmnopqrstuvwxyz\n");
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("kyv: "))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.error))) << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(QStringLiteral("Try 'kyv --help'.\n"))) << run.err.toStdString();
    }
    EXPECT_EQ(scratch.Read(QStringLiteral("a.txt")), QByteArray("plain"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
}

}  // namespace
}  // namespace kyv
