#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <array>

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
        // Standard error has the key's strength alone.
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("Strength: "))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    }
}

TEST(KyvChecksum, SaysHowStrongTheKeyIsOnStandardError)
{
    test::Scratch s;
    // 64 bytes from the system's random source: never text, and they measure random.
    std::array<quint32, 16> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray random(reinterpret_cast<const char*>(words.data()), 64);
    const QString randomKeyfile = s.Write(QStringLiteral("random.key"), random);
    const QString textKeyfile =
        s.Write(QStringLiteral("text.key"), "a keyfile whose text is a key like any typed one");
    struct StrengthCase {
        const char* what;
        QStringList arguments;
        QByteArray input;
        const char* says;
    };
    const StrengthCase cases[] = {
        {"a common password and digits",
         {QStringLiteral("--key-stdin")},
         "PASSWORD12345678\n",
         "Strength: very weak, one GPU needs less than a second to guess it.\n"},
        {"the same in lower case with spaces",
         {QStringLiteral("--key-stdin")},
         "password 1234 5678\n",
         "Strength: very weak, one GPU needs less than a second to guess it.\n"},
        {"a random keyfile",
         {QStringLiteral("--key-file"), randomKeyfile},
         "",
         "Strength: very strong, a random key of 256 bits.\n"},
        {"a text keyfile",
         {QStringLiteral("--key-file"), textKeyfile},
         "",
         "Strength: as strong as the keyfile is secret; its bytes are not random.\n"},
    };
    for (const StrengthCase& c : cases) {
        SCOPED_TRACE(c.what);
        const test::KyvRun run = RunKyv(QStringList{QStringLiteral("checksum")} + c.arguments, c.input);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err, QLatin1String(c.says));
        // The checksum is still alone on standard output.
        EXPECT_EQ(run.out.size(), 5) << run.out.toStdString();
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

}  // namespace
}  // namespace kyv
