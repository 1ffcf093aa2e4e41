#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>

#include "core/app/KeyFromKeyfileCommand.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeyDescription.h"
#include "core/keys/KeyInspector.h"
#include "core/keys/KeyState.h"
#include "core/keys/KeyfileReading.h"
#include "core/keys/RandomKeySource.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePrompter.h"

namespace kyv {
namespace {

using Answer = MessageAnswer;

// 64 bytes of codes 33 to 255 from a fixed seed, as the random-key window gathers them.
QByteArray RandomKeyBytes(unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> code(33, 255);
    QByteArray bytes;
    for (int i = 0; i < 64; ++i) bytes.append(static_cast<char>(code(generator)));
    return bytes;
}

SecureBytes Secure(const QByteArray& bytes)
{
    return SecureBytes(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

class ScriptedRandomKeys final : public RandomKeySource {
public:
    SecureBytes GatherRandomKey() override
    {
        ++shown;
        if (keys.empty()) return {};
        const QByteArray next = keys.front();
        keys.pop_front();
        return Secure(next);
    }
    std::deque<QByteArray> keys;
    int shown = 0;
};

class ScriptedInspector final : public KeyInspector {
public:
    bool InspectKey(const KeyInspectionRequest& request) override
    {
        requests.push_back(request);
        return use;
    }
    bool use = true;
    std::vector<KeyInspectionRequest> requests;
};

class KeyFromKeyfile : public ::testing::Test {
protected:
    void SetUp() override
    {
        values_.keyLinePrefix = QStringLiteral("Key specified");
        values_.notSpecifiedText = QStringLiteral("Not specified");
        goodKey_ = RandomKeyBytes(7);
        ASSERT_TRUE(ClassifyKeyBytes(Secure(goodKey_).View()).apparentlyRandom);
    }

    QString Path(const QString& name) const { return QDir(folder_.path()).filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    KeyfileOutcome Run(KeyfileCommand command, bool encrypting = true)
    {
        KeyFromKeyfileCommand keyfileCommand({key_, prompter_, dialogs_, inspector_, randomKeys_});
        return keyfileCommand.Run(command, encrypting);
    }
    QString KeyLine() { return DescribeKey(key_, values_, QStringLiteral("the line before"), prompter_); }
    // A keyfile that could not be written installs no key, says why, and leaves no file.
    void ExpectWriteFailure(KeyfileOutcome outcome, const QString& path, const QString& reason)
    {
        EXPECT_EQ(outcome, KeyfileOutcome::KeyfileError);
        EXPECT_EQ(key_.source, NotSpecified);
        EXPECT_FALSE(key_.newRandomKey);
        const Message& error = prompter_.messages.back();
        EXPECT_EQ(error.title, QStringLiteral("Keyfile error"));
        EXPECT_EQ(error.icon, MessageIcon::Error);
        EXPECT_TRUE(error.text.startsWith(reason + u'\n')) << error.text.toStdString();
        EXPECT_TRUE(error.text.contains(QStringLiteral("not in use")));
        EXPECT_EQ(KeyLine(), QStringLiteral("Not specified"));
        EXPECT_FALSE(QFile::exists(path));
    }
    QStringList Titles() const
    {
        QStringList titles;
        for (const Message& message : prompter_.messages) titles << message.title;
        return titles;
    }

    QTemporaryDir folder_;
    KeyState key_;
    WorkingValues values_;
    test::FakePrompter prompter_;
    test::FakeFileDialogs dialogs_;
    ScriptedInspector inspector_;
    ScriptedRandomKeys randomKeys_;
    QByteArray goodKey_;
};

TEST_F(KeyFromKeyfile, TheDialogsTitleNamesTheCommandAndTheOperation)
{
    struct Case {
        KeyfileCommand command;
        bool encrypting;
        QString title;
    };
    const Case cases[] = {
        {KeyfileCommand::GetKey, true, QStringLiteral("Get encryption key from keyfile")},
        {KeyfileCommand::GetKey, false, QStringLiteral("Get decryption key from keyfile")},
        {KeyfileCommand::CreateRandomKey, true, QStringLiteral("Specify new keyfile")},
    };
    for (const Case& c : cases) {
        dialogs_.Cancel();
        key_.source = KeyboardEntry;
        EXPECT_EQ(Run(c.command, c.encrypting), KeyfileOutcome::Abandoned);
        EXPECT_EQ(dialogs_.requests.back().request.title, c.title);
        EXPECT_EQ(dialogs_.requests.back().kind, test::FakeFileDialogs::Kind::Open);
        EXPECT_EQ(dialogs_.requests.back().request.filter, QStringLiteral("All files (*.*) | *.*"));
        EXPECT_EQ(key_.source, KeyboardEntry);
        EXPECT_EQ(KeyLine(), QStringLiteral("the line before"));
    }
}

// Every way a keyfile command ends, with the key line it leaves.
TEST_F(KeyFromKeyfile, EveryOutcomeLeavesItsKeyLine)
{
    struct Case {
        const char* what;
        KeyfileCommand command;
        QByteArray existing;  // null: no file of that name
        std::vector<Answer> answers;
        std::vector<QByteArray> randomKeys;
        bool inspectorUses;
        KeyfileOutcome outcome;
        KeySource source;
        QString keyLine;
        QStringList titles;
        QString inspected;  // empty: the key was not inspected
    };
    const QByteArray text = "Forty-two is the answer to every question, as a keyfile knows.\r\n";
    // clang-format off
    // what, command, existing file, answers, random keys, inspector's answer; outcome, source,
    // key line, message titles ("path": the inspection question), inspection window's line.
    const Case cases[] = {
        {"missing keyfile, creation refused", KeyfileCommand::GetKey, {}, {Answer::No}, {}, true,
         KeyfileOutcome::Abandoned, KeyboardEntry, "the line before", {"Keyfile does not exist."}, ""},
        {"existing file, overwrite refused", KeyfileCommand::CreateRandomKey, "old", {Answer::No}, {}, true,
         KeyfileOutcome::Abandoned, KeyboardEntry, "the line before", {"File exists already."}, ""},
        {"random key creation cancelled", KeyfileCommand::CreateRandomKey, {}, {Answer::Cancel}, {"short"}, true,
         KeyfileOutcome::CreationCancelled, NotSpecified, "Not specified", {"Key not sufficiently random"}, ""},
        {"unsuitable keyfile", KeyfileCommand::GetKey, QByteArray(64, ' '), {}, {}, true, KeyfileOutcome::Unsuitable,
         NotSpecified, "Not specified", {"Unsuitable keyfile"}, ""},
        {"text key declined in the inspection", KeyfileCommand::GetKey, text, {Answer::Yes}, {}, false,
         KeyfileOutcome::Declined, NotSpecified, "Not specified", {"path"}, "Text key from file"},
        {"created key declined: the file it was to overwrite is kept", KeyfileCommand::CreateRandomKey,
         "a document worth keeping", {Answer::Yes, Answer::Yes}, {RandomKeyBytes(7)}, false,
         KeyfileOutcome::Declined, NotSpecified, "Not specified", {"File exists already.", "path"},
         "New random key in file"},
        {"text key accepted", KeyfileCommand::GetKey, text, {Answer::No}, {}, true, KeyfileOutcome::Accepted, Keyfile,
         "Key specified (text key in keyfile, checksum = 4444)", {"path"}, ""},
        {"binary key accepted after inspection", KeyfileCommand::GetKey,
         QByteArray(20, '\x01') + QByteArray(44, '\xfe'), {Answer::Yes}, {}, true, KeyfileOutcome::Accepted, Keyfile,
         "Key specified (non-random non-text key in keyfile, checksum = 4444)", {"path"},
         "Non-random non-text key from file"},
        {"random keyfile read", KeyfileCommand::GetKey, RandomKeyBytes(7), {Answer::Yes}, {}, true,
         KeyfileOutcome::Accepted, Keyfile, "Key specified (apparently random key in keyfile, checksum = 4444)",
         {"path"}, "Apparently random key from file"},
        {"missing keyfile created, also while decrypting", KeyfileCommand::GetKey, {}, {Answer::Yes, Answer::No},
         {RandomKeyBytes(7)}, true, KeyfileOutcome::Accepted, Keyfile,
         "Key specified (new random key in keyfile, checksum = 4444)", {"Keyfile does not exist.", "path"}, ""},
    };
    // clang-format on
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Short enough for the question's title to show it whole.
        const QString path = Path(QStringLiteral("k%1").arg(++index));
        if (!c.existing.isNull()) Write(QFileInfo(path).fileName(), c.existing);
        key_ = KeyState();
        key_.normalizedKey = Secure("ATYPEDKEYOFSIXTEEN");
        key_.checksum = 1234;
        key_.source = KeyboardEntry;
        prompter_.messages.clear();
        for (Answer answer : c.answers) prompter_.Answer(answer);
        for (const QByteArray& bytes : c.randomKeys) randomKeys_.keys.push_back(bytes);
        inspector_.use = c.inspectorUses;
        inspector_.requests.clear();
        dialogs_.Choose(path);

        EXPECT_EQ(Run(c.command, false), c.outcome);
        EXPECT_EQ(key_.source, c.source);
        QString expectedLine = c.keyLine;
        if (c.source == Keyfile) expectedLine.replace(QStringLiteral("4444"), QString::number(key_.checksum));
        EXPECT_EQ(KeyLine(), expectedLine);
        QStringList titles = c.titles;
        titles.replaceInStrings(QStringLiteral("path"), path);  // "Inspect the key?" titled by the path
        EXPECT_EQ(Titles(), titles);
        EXPECT_TRUE(prompter_.script.empty());
        if (c.inspected.isEmpty()) {
            EXPECT_TRUE(inspector_.requests.empty());
        } else {
            ASSERT_EQ(inspector_.requests.size(), std::size_t{1});
            EXPECT_EQ(inspector_.requests[0].classificationLine, c.inspected);
            EXPECT_EQ(inspector_.requests[0].keyfileLine, path);
            EXPECT_TRUE(inspector_.requests[0].placeInCorner);
        }
        if (c.source == Keyfile) {
            EXPECT_EQ(key_.KeyfilePath().Text(), path);
        } else {
            EXPECT_EQ(Read(path), c.existing);  // nothing written
        }
    }
}

TEST_F(KeyFromKeyfile, ARefusedOverwriteKeepsTheCurrentKeyfileProtected)
{
    const QString other = Write(QStringLiteral("other.doc"), "a document");
    randomKeys_.keys = {goodKey_};
    prompter_.Answer(Answer::No);  // "Inspect the key?"
    dialogs_.Choose(Path(QStringLiteral("first.key")));
    ASSERT_EQ(Run(KeyfileCommand::CreateRandomKey), KeyfileOutcome::Accepted);
    const int checksum = key_.checksum;

    prompter_.Answer(Answer::No);  // "Overwrite existing file ...?"
    dialogs_.Choose(other);
    EXPECT_EQ(Run(KeyfileCommand::CreateRandomKey), KeyfileOutcome::Abandoned);
    // Still the file of the key in use, which runs pass over.
    EXPECT_EQ(key_.KeyfilePath().Text(), Path(QStringLiteral("first.key")));
    EXPECT_TRUE(key_.newRandomKey);
    EXPECT_EQ(key_.source, Keyfile);
    EXPECT_EQ(key_.checksum, checksum);
    EXPECT_EQ(KeyLine(), QStringLiteral("the line before"));
}

TEST_F(KeyFromKeyfile, ARejectedRandomKeyIsGatheredAgainUntilOneIsAccepted)
{
    const QByteArray closedEarly = RandomKeyBytes(7).left(40);
    const QByteArray textKey = QByteArray("Plain words make a poor random key even at sixty-four letters!!!");
    const QByteArray repeated(64, 'x');
    randomKeys_.keys = {closedEarly, textKey, repeated, goodKey_};
    prompter_.Answer(Answer::Retry).Answer(Answer::Retry).Answer(Answer::Retry).Answer(Answer::No);
    const QString path = Path(QStringLiteral("new.key"));
    dialogs_.Choose(path);
    EXPECT_EQ(Run(KeyfileCommand::CreateRandomKey), KeyfileOutcome::Accepted);
    EXPECT_EQ(randomKeys_.shown, 4);
    ASSERT_EQ(prompter_.messages.size(), std::size_t{4});
    EXPECT_EQ(prompter_.messages[0].text,
              QStringLiteral("Attempt at creating random key unsuccessful.  Please repeat."));
    EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(Read(path), goodKey_);
    EXPECT_TRUE(key_.newRandomKey);
    EXPECT_EQ(KeyLine(), QStringLiteral("Key specified (new random key in keyfile, checksum =%1)")
                             .arg(QLatin1Char(' ') + QString::number(key_.checksum)));
}

TEST_F(KeyFromKeyfile, ACreatedKeyfileIsOwnerOnlyAndKeepsTheTailOfALongerFile)
{
    const QByteArray old = QByteArray(64, 'o') + QByteArray("the tail stays");
    const QString path = Write(QStringLiteral("long.file"), old);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
    randomKeys_.keys = {goodKey_};
    prompter_.Answer(Answer::Yes).Answer(Answer::Yes);  // overwrite; inspect
    dialogs_.Choose(path);
    EXPECT_EQ(Run(KeyfileCommand::CreateRandomKey), KeyfileOutcome::Accepted);
    EXPECT_EQ(Read(path), goodKey_ + QByteArray("the tail stays"));
    EXPECT_EQ(QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
              QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(inspector_.requests.size(), std::size_t{1});
    EXPECT_TRUE(inspector_.requests[0].newRandomKey);
    // The key installed is the one the file now gives.
    KeyState reread;
    ASSERT_EQ(ReadKeyfile(reread, platform::FilePath(path), prompter_), KeyfileReadOutcome::Read);
    InstallKeyfileKey(reread);
    EXPECT_EQ(reread.normalizedKey, key_.normalizedKey);
}

TEST_F(KeyFromKeyfile, LongPathsAreShortenedInTheQuestionAndTheInspection)
{
    const QString folder = QStringLiteral("a-folder-with-a-long-name/").repeated(6);
    ASSERT_TRUE(QDir().mkpath(Path(folder)));
    const QString path = Write(folder + QStringLiteral("key.txt"), "a text key of more than sixteen letters");
    prompter_.Answer(Answer::Yes);
    dialogs_.Choose(path);
    EXPECT_EQ(Run(KeyfileCommand::GetKey), KeyfileOutcome::Accepted);
    EXPECT_LE(prompter_.messages.at(0).title.size(), 60);
    EXPECT_TRUE(prompter_.messages.at(0).title.contains(QStringLiteral("...")));
    const KeyInspectionRequest& request = inspector_.requests.at(0);
    EXPECT_LE(request.keyfileLine.size(), 66);
    EXPECT_TRUE(request.keyfileLine.endsWith(QStringLiteral("key.txt")));
    EXPECT_EQ(request.classificationLine, QStringLiteral("Text key from file"));
}

// "k\xE9y.txt" is read, not its twin "k\uFFFDy.txt" that a lossy decoding of the name would open.
TEST_F(KeyFromKeyfile, AKeyfileNameThatIsNotUtf8IsReadByItsBytes)
{
    const QByteArray right = "the key in the file the user chose";
    const std::string folder = ToFileSystemPath(folder_.path()).native() + '/';
    std::ofstream(folder + "k\xe9y.txt") << right.toStdString();
    std::ofstream(folder + "k\xef\xbf\xbdy.txt") << "another text, another key";
    const QString chosen = FromFileSystemName((folder + "k\xe9y.txt").c_str());
    prompter_.Answer(Answer::No);
    dialogs_.Choose(chosen);
    ASSERT_EQ(Run(KeyfileCommand::GetKey), KeyfileOutcome::Accepted);

    KeyState expected;
    ASSERT_EQ(ReadKeyfile(expected, platform::FilePath(Write(QStringLiteral("plain.txt"), right)), prompter_),
              KeyfileReadOutcome::Read);
    InstallKeyfileKey(expected);
    EXPECT_EQ(key_.normalizedKey, expected.normalizedKey);
    EXPECT_EQ(key_.KeyfilePath().Text(), chosen);
    EXPECT_TRUE(prompter_.messages.at(0).title.endsWith(QStringLiteral("k\\xE9y.txt")));
    std::filesystem::remove(folder + "k\xe9y.txt");
}

TEST_F(KeyFromKeyfile, AFailedWriteInstallsNoKeyAndSaysSo)
{
    const QString path = Path(QStringLiteral("no-such-folder/new.key"));
    randomKeys_.keys = {goodKey_};
    prompter_.Answer(Answer::Yes).Answer(Answer::No);  // create it; no inspection
    key_.source = KeyboardEntry;
    dialogs_.Choose(path);
    ExpectWriteFailure(Run(KeyfileCommand::GetKey), path, QStringLiteral("No such file or directory"));
}

TEST_F(KeyFromKeyfile, AFullDiskInstallsNoKeyAndLeavesNoEmptyKeyfile)
{
    const QString disk = Path(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkpath(disk));
    const QByteArray mountPoint = QFile::encodeName(disk);
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (needs root): " << std::strerror(errno);
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{mountPoint};
    QFile filler(disk + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(4096, 'f')) > 0) {
    }
    filler.close();

    const QString path = disk + QStringLiteral("/new.key");
    randomKeys_.keys = {goodKey_};
    prompter_.Answer(Answer::No);  // no inspection
    dialogs_.Choose(path);
    ExpectWriteFailure(Run(KeyfileCommand::CreateRandomKey), path, QStringLiteral("No space left on device"));
}

}  // namespace
}  // namespace kyv
