#include <gtest/gtest.h>

#include <QProcess>

#include "KyvRunner.h"
#include "core/keys/KeyState.h"
#include "core/keys/TypedKeyEntry.h"
#include "core/keys/Windows1252.h"

namespace kyv {
namespace {

using test::RunKyv;

// The checksum the program shows for `typed` entered in one of its typing dialogs.
int ProgramChecksum(const QString& typed)
{
    TypedKeyResult result;
    result.answer = TypedKeyAnswer::Yes;
    EXPECT_TRUE(EncodeWindows1252(typed, result.text));
    KeyState key;
    ApplyTypedKey(key, result);
    return key.checksum;
}

struct ChecksumCase {
    const char* what;
    QByteArray line;        // what kyv reads on standard input (UTF-8)
    const char* inProgram;  // the same key as typed into the program
};

TEST(KyvChecksum, TypedKeyGivesTheProgramsChecksum)
{
    const ChecksumCase cases[] = {
        {"spaces and lower case", "abcd efgh ijkl mnop qrst\n", "ABCDEFGHIJKLMNOPQRST"},
        {"upper case without spaces", "ABCDEFGHIJKLMNOPQRST\n", "abcd efgh ijkl mnop qrst"},
        {"line ended by CR LF", "correct horse battery staple\r\n", "CORRECTHORSEBATTERYSTAPLE"},
        {"last line without a line break", "tabs\tand  spaces\tcount nothing", "TABSANDSPACESCOUNTNOTHING"},
        {"accented letters fold to capitals", "\xc3\xa9t\xc3\xa9 \xc3\xa0 la plage \xc3\x9f\xc3\xbf soleil\n",
         "\xc3\x89T\xc3\x89 \xc3\x80 LA PLAGE \xc3\x9f\xc5\xb8 SOLEIL"},
        {"signs above 127", "\xe2\x82\xac 100 \xc2\xa7 5 \xe2\x80\x94 prices and sections\n",
         "\xe2\x82\xac"
         "100\xc2\xa7"
         "5\xe2\x80\x94PRICESANDSECTIONS"},
        // The five bytes Windows-1252 leaves undefined, typed as the control characters of their number.
        {"undefined code points", "\xc2\x81 sixteen or more \xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d\n",
         "\xc2\x81SIXTEENORMORE\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d"},
    };
    for (const ChecksumCase& c : cases) {
        SCOPED_TRACE(c.what);
        const test::KyvRun run = RunKyv({QStringLiteral("checksum"), QStringLiteral("--key-stdin")}, c.line);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out,
                  QString::number(ProgramChecksum(QString::fromUtf8(c.inProgram))) + QLatin1Char('\n'));
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(KyvChecksum, KeyfileGivesTheChecksumOfItsFirst64Bytes)
{
    test::Scratch s;
    const QByteArray text = "a keyfile whose text is a key like any typed one";
    const QString keyfile =
        s.Write(QStringLiteral("text.key"), text + QByteArray(16, '.') + "ignored beyond 64");
    const test::KyvRun run = RunKyv({QStringLiteral("checksum"), QStringLiteral("--key-file"), keyfile});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray first64 = (text + QByteArray(16, '.')).left(64);
    EXPECT_EQ(run.out, QString::number(ProgramChecksum(QString::fromLatin1(first64))) + QLatin1Char('\n'));
}

// A device gives a key no one can have again: refused as a keyfile. A pipe the command line names
// deliberately is read.
TEST(KyvChecksum, AKeyfileIsARegularFileOrAPipe)
{
    const test::KyvRun device =
        RunKyv({QStringLiteral("checksum"), QStringLiteral("--key-file"), QStringLiteral("/dev/urandom")});
    EXPECT_EQ(device.exitCode, 2);
    EXPECT_TRUE(device.out.isEmpty()) << device.out.toStdString();
    EXPECT_TRUE(device.err.contains(QStringLiteral("Keyfile error: Not a regular file")))
        << device.err.toStdString();

    QProcess shell;
    shell.start(QStringLiteral("/bin/bash"),
                {QStringLiteral("-c"), QStringLiteral("\"$1\" checksum --key-file <(printf %s \"$2\")"),
                 QStringLiteral("bash"), QStringLiteral(KYV_CLI_PATH),
                 QStringLiteral("a keyfile that comes through a pipe")});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(shell.readAllStandardOutput()),
              QString::number(ProgramChecksum(QStringLiteral("a keyfile that comes through a pipe"))) +
                  QLatin1Char('\n'));
}

}  // namespace
}  // namespace kyv
