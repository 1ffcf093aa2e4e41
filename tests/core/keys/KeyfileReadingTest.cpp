#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <string>
#include <thread>

#include "KeyTestHelpers.h"
#include "core/keys/KeyfileReading.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

class KeyfileReading : public ::testing::Test {
protected:
    QString Write(const std::string& bytes, const QString& name = QStringLiteral("key.bin"))
    {
        const QString path = QDir(folder_.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    QTemporaryDir folder_;
    test::FakePrompter prompter_;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

struct SuitabilityCase {
    const char* what;
    std::string content;
    bool suitable;
};

TEST_F(KeyfileReading, SuitableWithSixteenBytesAboveCode32InTheFirst64)
{
    const SuitabilityCase cases[] = {
        {"empty file", "", false},
        {"64 spaces", Repeat(' ', 64), false},
        {"15 bytes, shorter than a key", "ABCDEFGHIJKLMNO", false},
        {"exactly 16 bytes", "ABCDEFGHIJKLMNOP", true},
        {"15 letters among spaces and controls", Repeat(' ', 20) + "abcdefghijklmno" + Repeat('\t', 29),
         false},
        {"16 letters among spaces and controls", Repeat(' ', 20) + "abcdefghijklmnop" + Repeat('\n', 28),
         true},
        {"letters only after byte 64", Repeat(' ', 64) + Repeat('x', 100), false},
        {"15 in the first 64, more later", Repeat(' ', 49) + Repeat('x', 15) + Repeat('y', 50), false},
        {"zero bytes count as nothing", Repeat('\0', 40) + Repeat('z', 15), false},
    };
    for (const SuitabilityCase& c : cases) {
        SCOPED_TRACE(c.what);
        KeyState key;
        prompter_.messages.clear();
        const QString path = Write(c.content);
        const KeyfileReadOutcome outcome = ReadKeyfile(key, platform::FilePath(path), prompter_);
        EXPECT_EQ(outcome == KeyfileReadOutcome::Read, c.suitable);
        if (c.suitable) {
            EXPECT_TRUE(prompter_.messages.empty());
        } else {
            EXPECT_EQ(outcome, KeyfileReadOutcome::Unsuitable);
            ASSERT_EQ(prompter_.messages.size(), 1u);
            EXPECT_EQ(prompter_.messages[0].text, path + QStringLiteral(" is not a suitable keyfile."));
            EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Unsuitable keyfile"));
            EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::Ok);
            EXPECT_EQ(key.source, NotSpecified);
        }
    }
}

struct RepairCase {
    const char* what;
    std::string before;
    std::string after;
};

TEST(KeyfileZeroRepair, InteriorZerosBecome128MinusTheirPosition)
{
    const RepairCase cases[] = {
        {"no zeros", Repeat('k', 64), Repeat('k', 64)},
        {"zero at position 1", std::string("\0k", 2) + Repeat('k', 62),
         "\x7F"
         "k" +
             Repeat('k', 62)},
        {"zero at position 63 before a last byte", Repeat('k', 62) + std::string("\0m", 2),
         Repeat('k', 62) + "\x41"
                           "m"},
        {"trailing zeros stay", "abc" + Repeat('\0', 61), "abc" + Repeat('\0', 61)},
        {"zeros inside and after", std::string("a\0\0b", 4) + Repeat('\0', 60),
         "a\x7E\x7D"
         "b" +
             Repeat('\0', 60)},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.before.size(), 64u);
        SecureBytes bytes = test::Secure(c.before);
        RepairZeroBytes(bytes);
        EXPECT_EQ(test::AsText(bytes), c.after);
    }
}

TEST_F(KeyfileReading, BinaryFileWithZerosGivesTheRepairedKey)
{
    const std::string content = std::string("ABCDEFGH\0IJKLMNOP", 17) + Repeat('\0', 10);
    KeyState key;
    ASSERT_EQ(ReadKeyfile(key, platform::FilePath(Write(content)), prompter_), KeyfileReadOutcome::Read);
    InstallKeyfileKey(key);
    // Position 9 becomes 119 ('w'), upper-cased by normalisation.
    EXPECT_EQ(test::AsText(key.normalizedKey), "ABCDEFGHWIJKLMNOP");
    EXPECT_EQ(key.source, Keyfile);
    EXPECT_EQ(key.KeyfilePath().Text(), QDir(folder_.path()).filePath(QStringLiteral("key.bin")));
}

TEST_F(KeyfileReading, FilesAgreeingInTheirFirst64BytesGiveTheSameKey)
{
    const std::string start = "The quick brown fox jumps over the lazy dog, twice: the quick br";
    ASSERT_EQ(start.size(), 64u);
    KeyState first;
    KeyState second;
    ASSERT_EQ(
        ReadKeyfile(first, platform::FilePath(Write(start + "one ending", QStringLiteral("a"))), prompter_),
        KeyfileReadOutcome::Read);
    ASSERT_EQ(
        ReadKeyfile(second, platform::FilePath(Write(start + "another, longer ending", QStringLiteral("b"))),
                    prompter_),
        KeyfileReadOutcome::Read);
    InstallKeyfileKey(first);
    InstallKeyfileKey(second);
    EXPECT_TRUE(first.normalizedKey == second.normalizedKey);
    EXPECT_EQ(first.checksum, second.checksum);
}

TEST_F(KeyfileReading, RandomBytesAreApparentlyRandomAndRepeatedBytesAreNeither)
{
    std::mt19937 generator(20261208);
    std::uniform_int_distribution<int> highBytes(33, 255);
    std::string random;
    for (int i = 0; i < 64; ++i) random.push_back(static_cast<char>(highBytes(generator)));
    const KeyBytesClass randomClass = ClassifyKeyBytes(test::Bytes(random));
    EXPECT_FALSE(randomClass.text);
    EXPECT_TRUE(randomClass.apparentlyRandom);

    // 0x81 is no Windows-1252 character, so the bytes are not text; two values alternating are far
    // from random.
    std::string pattern;
    for (int i = 0; i < 64; ++i) pattern.push_back(static_cast<char>(i % 2 == 0 ? 0x81 : 0x41));
    const KeyBytesClass patternClass = ClassifyKeyBytes(test::Bytes(pattern));
    EXPECT_FALSE(patternClass.text);
    EXPECT_FALSE(patternClass.apparentlyRandom);
}

TEST_F(KeyfileReading, UnreadableKeyfileIsReportedWithTheSystemsDescription)
{
    const QString cases[] = {QDir(folder_.path()).filePath(QStringLiteral("missing")), folder_.path()};
    for (const QString& path : cases) {
        SCOPED_TRACE(path.toStdString());
        KeyState key;
        key.source = KeyboardEntry;
        prompter_.messages.clear();
        EXPECT_EQ(ReadKeyfile(key, platform::FilePath(path), prompter_), KeyfileReadOutcome::Failed);
        ASSERT_EQ(prompter_.messages.size(), 1u);
        EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Keyfile error"));
        EXPECT_EQ(prompter_.messages[0].icon, MessageIcon::Error);
        EXPECT_FALSE(prompter_.messages[0].text.isEmpty());
        EXPECT_EQ(key.source, NotSpecified);
    }
}

// A key must be one that can be had again: a device gives new bytes each time, and a pipe is taken
// only where the command line names it deliberately. Neither is waited on when refused.
TEST_F(KeyfileReading, OnlyARegularFileOrADeliberatePipeIsAKeyfile)
{
    const QString file = Write(Repeat('k', 64));
    const QString pipe = QDir(folder_.path()).filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(pipe.toUtf8().constData(), 0600), 0);
    const struct {
        QString path;
        KeyfileKinds kinds;
        bool read;
    } cases[] = {
        {file, KeyfileKinds::RegularFileOnly, true},
        {file, KeyfileKinds::RegularFileOrPipe, true},
        {QStringLiteral("/dev/urandom"), KeyfileKinds::RegularFileOnly, false},
        {QStringLiteral("/dev/urandom"), KeyfileKinds::RegularFileOrPipe, false},
        {QStringLiteral("/dev/zero"), KeyfileKinds::RegularFileOrPipe, false},
        {pipe, KeyfileKinds::RegularFileOnly, false},
        {pipe, KeyfileKinds::RegularFileOrPipe, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString() +
                     (c.kinds == KeyfileKinds::RegularFileOnly ? " file only" : " or pipe"));
        // A writer for the pipe, should it be opened: it blocks until a reader comes.
        std::thread writer;
        const bool feedsPipe = c.path == pipe && c.kinds == KeyfileKinds::RegularFileOrPipe;
        if (feedsPipe)
            writer = std::thread([&pipe] {
                QFile end(pipe);
                if (end.open(QIODevice::WriteOnly)) end.write(QByteArray(64, 'p'));
            });
        SecureBytes bytes;
        QString error;
        EXPECT_EQ(ReadKeyfileBytes(platform::FilePath(c.path), bytes, error, c.kinds), c.read)
            << error.toStdString();
        EXPECT_EQ(error.isEmpty(), c.read);
        if (c.read) {
            EXPECT_EQ(bytes[0], c.path == pipe ? 'p' : 'k');
        }
        if (writer.joinable()) writer.join();
    }
}

}  // namespace
}  // namespace kyv
