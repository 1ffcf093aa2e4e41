#include <gtest/gtest.h>

#include <QStringList>

#include "cli/CommandLine.h"
#include "cli/VerbTable.h"

namespace kyv::cli {
namespace {

struct RefusalCase {
    const char* what;
    QStringList arguments;
    const char* error;  // the whole message
};

// The rules the verb table decides: an option a verb does not take, a key it refuses or needs,
// its operands. Where several rules are broken, the first in this order is told.
TEST(KyvCommandLine, RefusalsFollowTheVerbTable)
{
    const RefusalCase cases[] = {
        {"no verb",
         {},
         "Name a command: encrypt, decrypt, run, show, randomness, checksum, verify or recover."},
        {"picture for checksum",
         {"checksum", "--key-stdin", "--picture", "p.png"},
         "--picture belongs to randomness."},
        {"checksum's operand told before its picture",
         {"checksum", "--key-stdin", "--picture", "p.png", "dir"},
         "checksum takes no folder."},
        {"subfolders for checksum",
         {"checksum", "--subfolders", "--key-stdin"},
         "--subfolders does not belong to checksum."},
        {"setup verbs name their files",
         {"show", "--subfolders", "--yes", "a.opn"},
         "The setup file says which files and how: no --subfolders, --in-place, --to or --as."},
        {"yes for show",
         {"show", "--yes", "a.opn"},
         "--in-place, --to, --as and --yes belong to encrypt and decrypt (--yes to run too)."},
        {"an option before the key",
         {"randomness", "--apply", "--key-stdin", "dir"},
         "--apply belongs to recover."},
        {"key for randomness", {"randomness", "--key-file", "k", "dir"}, "randomness takes no key."},
        {"key needed before the output",
         {"decrypt", "dir"},
         "Give the key with --key-file FILE or --key-stdin."},
        {"output needed before the folder",
         {"decrypt", "--key-stdin"},
         "Say where the output goes: --in-place, or --as SPEC (with --to FOLDER)."},
        {"--to alone is no output",
         {"encrypt", "--to", "out", "--key-stdin", "dir"},
         "Say where the output goes: --in-place, or --as SPEC (with --to FOLDER)."},
        {"recover has one operand",
         {"recover", "dir", "*.*"},
         "recover takes a folder and no file specification."},
        {"verify has two at most",
         {"verify", "--key-stdin", "dir", "*.*", "x"},
         "Too many arguments: a folder and one file specification at most."},
        {"a missing value is told before a second key",
         {"checksum", "--key-stdin", "--key-file"},
         "--key-file needs a value."},
        {"a second key",
         {"checksum", "--key-stdin", "--key-file", "k"},
         "Give one key: --key-file FILE or --key-stdin."},
        {"a value given twice is told before its missing value",
         {"encrypt", "--as", "*.a", "--as"},
         "--as is given twice."},
        {"a flag with a value", {"recover", "--apply=yes", "dir"}, "--apply takes no value."},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
        EXPECT_FALSE(parsed.line.has_value());
        EXPECT_EQ(parsed.error, QString::fromUtf8(c.error));
    }
}

struct AcceptedCase {
    const char* what;
    QStringList arguments;
    Command command;
    KeyInput key;
    const char* folder;
    const char* spec;
    const char* setupFile;
};

TEST(KyvCommandLine, AcceptedLinesCarryTheirOperands)
{
    const AcceptedCase cases[] = {
        {"recover without a key",
         {"recover", "--apply", "dir"},
         Command::Recover,
         KeyInput::None,
         "dir",
         "*.*",
         ""},
        {"recover with a key",
         {"recover", "--key-file=k", "dir"},
         Command::Recover,
         KeyInput::File,
         "dir",
         "*.*",
         ""},
        {"a repeated flag",
         {"verify", "--subfolders", "--subfolders", "--key-stdin", "dir", "*.enc"},
         Command::Verify,
         KeyInput::StandardInput,
         "dir",
         "*.enc",
         ""},
        {"run with --yes",
         {"run", "--yes", "--key-stdin", "a.opn"},
         Command::Run,
         KeyInput::StandardInput,
         "",
         "*.*",
         "a.opn"},
        {"a picture names one file",
         {"randomness", "--picture", "p.png", "f.bin"},
         Command::Randomness,
         KeyInput::None,
         "f.bin",
         "*.*",
         ""},
        {"options end at --",
         {"randomness", "--", "--subfolders"},
         Command::Randomness,
         KeyInput::None,
         "--subfolders",
         "*.*",
         ""},
        {"checksum alone",
         {"checksum", "--key-stdin"},
         Command::Checksum,
         KeyInput::StandardInput,
         "",
         "*.*",
         ""},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
        ASSERT_TRUE(parsed.line.has_value()) << parsed.error.toStdString();
        EXPECT_EQ(parsed.line->command, c.command);
        EXPECT_EQ(parsed.line->keyInput, c.key);
        EXPECT_EQ(parsed.line->folder, QString::fromUtf8(c.folder));
        EXPECT_EQ(parsed.line->spec, QString::fromUtf8(c.spec));
        EXPECT_EQ(parsed.line->setupFile.Text(), QString::fromUtf8(c.setupFile));
    }
}

// The verb a name finds is the one that name was parsed as, and a name only finds a verb.
TEST(KyvCommandLine, EachVerbIsFoundByItsOwnName)
{
    const QStringList names =
        VerbNames().replace(QStringLiteral(" or "), QStringLiteral(", ")).split(QStringLiteral(", "));
    ASSERT_EQ(names.size(), 8);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const VerbEntry* verb = VerbNamed(name);
        ASSERT_NE(verb, nullptr);
        EXPECT_EQ(&EntryOf(verb->command), verb);
        EXPECT_EQ(QLatin1String(verb->name), name);
    }
    EXPECT_EQ(VerbNamed(QStringLiteral("Encrypt")), nullptr);
    EXPECT_EQ(VerbNamed(QStringLiteral("--help")), nullptr);
}

}  // namespace
}  // namespace kyv::cli
