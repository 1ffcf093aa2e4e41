#include <QLocale>
#include <fstream>
#include <functional>
#include <thread>

#include "OperationFixture.h"
#include "core/common/NumberText.h"
#include "core/operation/EngineCall.h"
#include "platform/Drives.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;

// The names of a folder's files in the order the file system lists them (the walk's order).
QStringList ListingOrder(const fs::path& folder)
{
    QStringList names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) names.append(QString::fromStdString(entry.path().filename().string()));
    return names;
}

class ProcessFolderTest : public OperationFixture {};

TEST_F(ProcessFolderTest, OneFileIntoANewFileWritesItsLineAndTheTotalInKilobytes)
{
    Write(QStringLiteral("in/a.txt"), PlainBytes(12));
    fs::create_directories(Path(QStringLiteral("out")));
    Select(Root() + QStringLiteral("in"), QStringLiteral("*.txt"), Root() + QStringLiteral("out"),
           QStringLiteral("*.enc"));
    Run();

    EXPECT_EQ(ReportBody(), QStringLiteral("Encrypting *.txt in ") + Root() +
                                QStringLiteral("in/\r\n"
                                               "a.txt         12 bytes   -> a.enc  20 bytes\r\n"
                                               "\r\n"
                                               "Total KB encrypted: 0.01\r\n"));
    EXPECT_EQ(Read(QStringLiteral("out/a.enc")), FakeCipherEngine::Encrypt(PlainBytes(12)));
    EXPECT_EQ(Read(QStringLiteral("in/a.txt")), PlainBytes(12));
    EXPECT_EQ(sink_.status, QStringLiteral("Done"));
    EXPECT_TRUE(sink_.copyButtonShown);
    const QDateTime now = clock_.Now();
    EXPECT_TRUE(sink_.text.endsWith(QStringLiteral("\r\n") +
                                    UserLocale().toString(now.date(), QLocale::ShortFormat) +
                                    QStringLiteral(", 10:00\r\n")));
    EXPECT_TRUE(engine_.lastKeyWasGiven);
}

// The walk already runs off the window's thread: a file's engine call runs right on it. Only a file
// that shows its progress has a helper thread.
TEST_F(ProcessFolderTest, TheEngineRunsOnTheWalksThread)
{
    Write(QStringLiteral("a.txt"), PlainBytes(100));
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
    Run();
    EXPECT_EQ(Read(QStringLiteral("a.enc")), FakeCipherEngine::Encrypt(PlainBytes(100)));
    EXPECT_EQ(engine_.lastCallThread, std::this_thread::get_id());
}

// One file in a folder, worked on with the given direction and placement; the line after the
// padded name tells the result.
struct FileCase {
    const char* name;
    int size;
    bool encrypt;
    bool inPlace;
    int engineResult;  // 1: the engine does its work
    const char* lineAfterName;
    bool engineCalled;
    bool done;
};

class FileStatusLineTest : public OperationFixture, public ::testing::WithParamInterface<FileCase> {};

TEST_P(FileStatusLineTest, EndsTheFileLineWithItsResult)
{
    const FileCase& c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    const std::string original = PlainBytes(static_cast<std::size_t>(c.size));
    Write(name, original);
    // Numbers the engine never gives are forced too: the report words them as unknown errors.
    if (c.engineResult != 1)
        engine_.forcedResults.insert(name, static_cast<cipher::CipherResult>(c.engineResult));
    if (c.inPlace) {
        InPlace(c.encrypt, name);
    } else {
        setup_.direction = DirectionFor(c.encrypt);
        Select(Root(), name, Root(), QStringLiteral("*.out"));
    }
    if (!c.encrypt && c.size >= 256) prompter_.Answer(MessageAnswer::Yes);  // "Anomaly": decrypt it anyway
    Run();

    const QString line = name.leftJustified(12) + QStringLiteral("  ") + QString::fromUtf8(c.lineAfterName) +
                         QStringLiteral("\r\n");
    EXPECT_TRUE(sink_.text.contains(line)) << sink_.text.toStdString();
    EXPECT_EQ(engine_.calls > 0, c.engineCalled);
    EXPECT_EQ(state_.result.filesProcessed, 1);
    EXPECT_EQ(state_.result.filesDone, c.done ? 1 : 0);
    EXPECT_EQ(sink_.status, c.done ? QStringLiteral("Done") : QString());
    if (!c.done && c.inPlace) {
        EXPECT_EQ(Read(name), original) << "a file that was not done keeps its content";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileStatusLineTest,
    ::testing::Values(
        FileCase{"empty.txt", 0, true, false, 1, "This file is empty (0 bytes).", false, false},
        FileCase{"empty.txt", 0, false, true, 1, "This file is empty (0 bytes).", false, false},
        FileCase{"two.bin2", 2, false, false, 1, "This file is too small to have been Kyv-encrypted.", false,
                 false},
        FileCase{"two.txt", 2, true, true, 1, "2 bytes   -> 10 bytes", true, true},
        FileCase{"two.txt", 2, true, false, 1, "2 bytes   -> two.out  10 bytes", true, true},
        FileCase{"report.INI", 40, true, true, 1,
                 "40 bytes   Kyv does not encrypt-in-place files with extension \"ini\".", false, false},
        FileCase{"setup.exe", 40, false, true, 1,
                 "40 bytes   Kyv does not decrypt-in-place files with extension \"exe\".", false, false},
        FileCase{"report.INI", 40, true, false, 1, "40 bytes   -> report.out  48 bytes", true, true},
        FileCase{"gone.txt", 40, true, false, -3, "40 bytes   Input file not found.", true, false},
        FileCase{"f.txt", 40, true, false, -7, "40 bytes   Write error.", true, false},
        FileCase{
            "f.txt", 40, false, false, -8,
            "40 bytes   Invalid block size.\r\n              Decryption key is incorrect or ciphertext is "
            "corrupt.",
            true, false},
        FileCase{"f.txt", 40, false, false, -17,
                 "40 bytes   Write error.\r\n              Partial plaintext may be in f.out.", true, false},
        FileCase{
            "f.txt", 40, false, false, -18,
            "40 bytes   Invalid block size.\r\n              Decryption key is incorrect or ciphertext is "
            "corrupt.\r\n              Partial plaintext may be in f.out.",
            true, false},
        FileCase{"f.txt", 40, false, false, -23,
                 "40 bytes   3 block expansion errors occurred.\r\n              Ciphertext is corrupt or "
                 "decryption key is incorrect.\r\n              Partial plaintext may be in f.out.",
                 true, false},
        FileCase{"f.txt", 40, false, false, -12, "40 bytes   Unknown error #-12.", true, false},
        FileCase{"f.txt", 40, false, false, -50,
                 "40 bytes   Unknown error #-50.\r\n              Partial plaintext may be in f.out.", true,
                 false},
        FileCase{
            "f.txt", 300, false, true, -8,
            "300 bytes   Invalid block size.\r\n              Decryption key is incorrect or ciphertext is "
            "corrupt.",
            true, false},
        FileCase{"a-rather-long-name.txt", 5, true, false, 1, "5 bytes   -> a-rather-long-name.out  13 bytes",
                 true, true}));

TEST_F(ProcessFolderTest, InPlaceRefusesTheProgramsOwnFileAndTheCurrentKeyfile)
{
    Write(QStringLiteral("kyv"), PlainBytes(50));
    Write(QStringLiteral("my.key"), PlainBytes(64));
    context_.executablePath = FilePath(Root() + QStringLiteral("kyv"));
    context_.keyfilePath = FilePath(Root() + QStringLiteral("MY.KEY"));  // compared lower-cased
    InPlace(true);
    Run();

    EXPECT_TRUE(sink_.text.contains(QStringLiteral(
        "kyv           50 bytes   This is the Kyv executable.  Encryption not performed.\r\n")));
    EXPECT_TRUE(sink_.text.contains(QStringLiteral(
        "my.key        64 bytes   This is the current keyfile.  Encryption not performed.\r\n")));
    EXPECT_EQ(Read(QStringLiteral("kyv")), PlainBytes(50));
    EXPECT_EQ(Read(QStringLiteral("my.key")), PlainBytes(64));
    EXPECT_EQ(engine_.calls, 0);
    EXPECT_EQ(ListingOrder(Path(QString())).size(), 2) << "no temporary file is left behind";
}

TEST_F(ProcessFolderTest, InPlaceEncryptionReplacesEachFileAndLeavesNoTemporaryFile)
{
    Write(QStringLiteral("a.txt"), PlainBytes(100, 'a'));
    Write(QStringLiteral("b.txt"), PlainBytes(3000, 'b'));
    InPlace(true);
    Run();

    EXPECT_EQ(Read(QStringLiteral("a.txt")), FakeCipherEngine::Encrypt(PlainBytes(100, 'a')));
    EXPECT_EQ(Read(QStringLiteral("b.txt")), FakeCipherEngine::Encrypt(PlainBytes(3000, 'b')));
    EXPECT_EQ(ListingOrder(Path(QString())).size(), 2);
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("b.txt         3,000 bytes   -> 3,008 bytes\r\n")));
    EXPECT_EQ(state_.result.bytesDone, 3100);

    // And back: decrypting restores both.
    InPlace(false);
    Run();
    EXPECT_EQ(Read(QStringLiteral("a.txt")), PlainBytes(100, 'a'));
    EXPECT_EQ(Read(QStringLiteral("b.txt")), PlainBytes(3000, 'b'));
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("Number of files decrypted: 2\r\n")));
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("Total KB decrypted: 3.04\r\n")));
}

TEST_F(ProcessFolderTest, TheTemporaryOutputIsCreatedPrivatelyAndNeverTakesAnExistingName)
{
    Write(QStringLiteral("letter.txt"), PlainBytes(70));
    Write(QStringLiteral("letter.txt1"), "someone else's file");
    fs::perms seen = fs::perms::unknown;
    engine_.duringCall = [&](const fs::path&) {
        seen = fs::status(Path(QStringLiteral("letter.txt2"))).permissions();
    };
    InPlace(true, QStringLiteral("*.txt"));
    Run();

    EXPECT_EQ(seen & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Read(QStringLiteral("letter.txt1")), "someone else's file");
    EXPECT_EQ(Read(QStringLiteral("letter.txt")), FakeCipherEngine::Encrypt(PlainBytes(70)));
    EXPECT_FALSE(Exists(QStringLiteral("letter.txt2")));
}

TEST_F(ProcessFolderTest, AFailedInPlaceCallLeavesTheOriginalAndNoEmptyTemporaryFile)
{
    Write(QStringLiteral("a.txt"), PlainBytes(70));
    engine_.forcedResults.insert(QStringLiteral("a.txt"), cipher::CipherResult::WriteError);
    InPlace(true);
    Run();
    EXPECT_EQ(Read(QStringLiteral("a.txt")), PlainBytes(70));
    EXPECT_EQ(ListingOrder(Path(QString())), QStringList{QStringLiteral("a.txt")});
}

TEST_F(ProcessFolderTest, InPlacePartialPlaintextIsReportedWhereItLies)
{
    Write(QStringLiteral("a.txt"), PlainBytes(70));
    engine_.forcedResults.insert(QStringLiteral("a.txt"), cipher::CipherResult::WriteErrorAfterOutput);
    InPlace(false);
    Run();
    EXPECT_TRUE(
        sink_.text.contains(QStringLiteral("Write error.\r\n              Partial plaintext may be in ") +
                            Root() + QStringLiteral("a.txt1.\r\n")));
    EXPECT_EQ(Read(QStringLiteral("a.txt")), PlainBytes(70));
    EXPECT_EQ(Read(QStringLiteral("a.txt1")), "partial");
}

// Names at the file system's limit: the numbered temporary name is cut short to fit, never in the
// middle of a character, and nothing is left beside the result.
TEST_F(ProcessFolderTest, TheLongestNamesAreWorkedOnInPlace)
{
    const QStringList names{QString(251, QLatin1Char('n')) + QStringLiteral(".txt"),
                            QString(127, QChar(0xE9))};  // 254 bytes in UTF-8
    for (const QString& name : names) Write(name, PlainBytes(10));
    InPlace(true);
    Run();
    for (const QString& name : names) EXPECT_EQ(Read(name), FakeCipherEngine::Encrypt(PlainBytes(10)));
    EXPECT_EQ(ListingOrder(Path(QString())).size(), 2);
    EXPECT_EQ(state_.result.filesDone, 2) << sink_.text.toStdString();
}

// What the user may do while the purge advice is shown: another file takes the name, or a log
// file grows. Either way the original is kept as it is now and the result waits beside it.
struct ChangeCase {
    const char* what;
    std::function<void(const fs::path&)> change;
};

class ChangeBeforePurgeTest : public OperationFixture, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeBeforePurgeTest, KeepsTheFileAsItIsNowAndTheResultUnderItsTemporaryName)
{
    Write(QStringLiteral("memo.doc"), PlainBytes(40));
    dialogs_.answers = {AntivirusAnswer::Yes};
    std::string changed;
    dialogs_.onAdvice = [&] {
        GetParam().change(Path(QStringLiteral("memo.doc")));
        changed = Read(QStringLiteral("memo.doc"));
    };
    InPlace(true, QStringLiteral("*.doc"));
    Run();

    EXPECT_TRUE(sink_.text.contains(
        QStringLiteral("40 bytes   This file changed, or another file took its name, while it was encrypted: "
                       "it is kept as it is now.\r\n              The result of the encryption of the file "
                       "as it was read is in the file ") +
        Root() + QStringLiteral("memo.doc1.\r\n")))
        << sink_.text.toStdString();
    EXPECT_EQ(Read(QStringLiteral("memo.doc")), changed);
    EXPECT_EQ(Read(QStringLiteral("memo.doc1")), FakeCipherEngine::Encrypt(PlainBytes(40)));
    EXPECT_EQ(state_.result.filesDone, 0);
    EXPECT_EQ(state_.result.filesFailed, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, ChangeBeforePurgeTest,
                         ::testing::Values(ChangeCase{"bytes appended",
                                                      [](const fs::path& file) {
                                                          std::ofstream(file, std::ios::app)
                                                              << "one more line";
                                                      }},
                                           ChangeCase{"another file under the name",
                                                      [](const fs::path& file) {
                                                          fs::rename(file, file.string() + ".old");
                                                          WriteWholeFile(file, PlainBytes(40));
                                                      }}),
                         [](const auto& param) { return std::to_string(param.index); });

// An output name that is another name of the input file is a new file replacing that name:
// in-place work is the same name in the same folder, and only in-place work purges.
class OutputLinkTest : public OperationFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(OutputLinkTest, ReplacesTheOutputNameAndKeepsTheInput)
{
    const bool hardLink = GetParam();
    Write(QStringLiteral("in/a.txt"), PlainBytes(90));
    fs::create_directories(Path(QStringLiteral("out")));
    if (hardLink)
        fs::create_hard_link(Path(QStringLiteral("in/a.txt")), Path(QStringLiteral("out/a.enc")));
    else
        fs::create_symlink(Path(QStringLiteral("in/a.txt")), Path(QStringLiteral("out/a.enc")));
    Select(Root() + QStringLiteral("in"), QStringLiteral("*.txt"), Root() + QStringLiteral("out"),
           QStringLiteral("*.enc"));
    Run();

    EXPECT_EQ(Read(QStringLiteral("in/a.txt")), PlainBytes(90));
    EXPECT_FALSE(fs::is_symlink(Path(QStringLiteral("out/a.enc"))));
    EXPECT_EQ(Read(QStringLiteral("out/a.enc")), FakeCipherEngine::Encrypt(PlainBytes(90)));
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("-> a.enc  98 bytes"))) << sink_.text.toStdString();
    EXPECT_EQ(state_.result.filesDone, 1);
}

INSTANTIATE_TEST_SUITE_P(HardAndSymbolic, OutputLinkTest, ::testing::Bool());

TEST_F(ProcessFolderTest, AResultThatDoesNotReadBackIntactNeverCostsTheOriginal)
{
    Write(QStringLiteral("a.txt"), PlainBytes(60));
    // The device garbles the result between the write and the read-back.
    engine_.beforeVerify = [](const fs::path& result) { WriteWholeFile(result, "garbled by the device"); };
    InPlace(true);
    Run();

    EXPECT_EQ(engine_.verifications, 1);
    EXPECT_EQ(Read(QStringLiteral("a.txt")), PlainBytes(60));
    EXPECT_EQ(ListingOrder(Path(QString())), QStringList{QStringLiteral("a.txt")});
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("did not read back intact"))) << sink_.text.toStdString();
    EXPECT_EQ(state_.result.filesFailed, 1);
}

// Names that are not UTF-8 are kept as the file system's bytes: a Latin-1 "café" beside a UTF-8
// "caf" + U+FFFD, in a folder whose own name is Latin-1, are two files worked on once each.
TEST_F(ProcessFolderTest, NamesThatAreNotUtf8AreWorkedOnAsTheyAre)
{
    const fs::path folder = Path(QString()) / "d\xe9p\xf4t";
    fs::create_directories(folder);
    WriteWholeFile(folder / "caf\xe9.txt", PlainBytes(30, 'L'));
    WriteWholeFile(folder / "caf\xef\xbf\xbd.txt", PlainBytes(40, 'U'));
    setup_.includeSubfolders = true;
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
    Run();

    EXPECT_EQ(ReadWholeFile(folder / "caf\xe9.enc"), FakeCipherEngine::Encrypt(PlainBytes(30, 'L')));
    EXPECT_EQ(ReadWholeFile(folder / "caf\xef\xbf\xbd.enc"), FakeCipherEngine::Encrypt(PlainBytes(40, 'U')));
    EXPECT_EQ(state_.result.filesDone, 2);
    EXPECT_EQ(engine_.calls, 2);
    EXPECT_TRUE(sink_.text.contains(QStringLiteral(" in ") + Root() + QStringLiteral("d\\xE9p\\xF4t/\r\n")))
        << sink_.text.toStdString();
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("\ncaf\\xE9.txt  "))) << sink_.text.toStdString();
}

TEST_F(ProcessFolderTest, ALinkToAFolderIsNamedAndNotFollowed)
{
    QTemporaryDir outside;
    const fs::path outsideFile = outside.path().toStdString() + "/private.txt";
    WriteWholeFile(outsideFile, PlainBytes(30));
    Write(QStringLiteral("tree/a.txt"), PlainBytes(20));
    fs::create_directory_symlink(outside.path().toStdString(), Path(QStringLiteral("tree/elsewhere")));
    setup_.includeSubfolders = true;
    setup_.inPlace = true;
    Select(Root() + QStringLiteral("tree"), QStringLiteral("*.txt"), Root() + QStringLiteral("tree"),
           QStringLiteral("*.txt"));
    Run();

    EXPECT_EQ(ReadWholeFile(outsideFile), PlainBytes(30));
    EXPECT_EQ(Read(QStringLiteral("tree/a.txt")), FakeCipherEngine::Encrypt(PlainBytes(20)));
    EXPECT_TRUE(
        sink_.text.contains(Root() + QStringLiteral("tree/elsewhere  A link to a folder: not followed.")))
        << sink_.text.toStdString();
}

TEST_F(ProcessFolderTest, AFolderThatCannotBeReadMakesTheRunIncomplete)
{
    Write(QStringLiteral("a.txt"), PlainBytes(20));
    Write(QStringLiteral("sub/b.txt"), PlainBytes(20));
    // The subfolder goes while the top folder's file is worked on, after the top folder was listed.
    engine_.duringCall = [&](const fs::path&) { fs::remove_all(Path(QStringLiteral("sub"))); };
    setup_.includeSubfolders = true;
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
    Run();

    EXPECT_EQ(state_.result.foldersNotProcessed, 1);
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("Not every file was processed: one folder was left out")))
        << sink_.text.toStdString();
}

TEST_F(ProcessFolderTest, OnAFloppyTheTemporaryFileGoesToTheFirstFixedDrive)
{
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    context_.floppies.Declare(Root());
    Write(QStringLiteral("memo.doc"), PlainBytes(40));
    Write(QStringLiteral("note.txt"), PlainBytes(30));
    // Just before the purge the name is taken by a folder: the result waits on the fixed drive.
    dialogs_.answers = {AntivirusAnswer::Yes};
    dialogs_.onAdvice = [&] {
        fs::remove(Path(QStringLiteral("memo.doc")));
        fs::create_directory(Path(QStringLiteral("memo.doc")));
    };
    InPlace(true);
    Run();
    qputenv("HOME", savedHome);

    const QString temporary = QDir(home.path()).absolutePath() + QStringLiteral("/memo.doc");
    EXPECT_TRUE(sink_.text.contains(
        QStringLiteral("The result of the encryption of the file as it was read is in the file ") +
        temporary + QStringLiteral(".\r\n")))
        << sink_.text.toStdString();
    EXPECT_EQ(ReadWholeFile(temporary.toStdString()), FakeCipherEngine::Encrypt(PlainBytes(40)));
    EXPECT_EQ(Read(QStringLiteral("note.txt")), FakeCipherEngine::Encrypt(PlainBytes(30)));
    EXPECT_FALSE(fs::exists(home.path().toStdString() + "/note.txt"));
}

TEST_F(ProcessFolderTest, AFileWhoseHeaderTheKeyOpensIsDecryptedWithoutQuestion)
{
    // The engine's header, then text: measured, it would look plain; the header says it is the
    // engine's own file.
    Write(QStringLiteral("ours.kyv"), FakeCipherEngine::Encrypt(std::string()) + PlainBytes(1000));
    setup_.direction = Direction::Decrypt;
    Select(Root(), QStringLiteral("*.kyv"), Root(), QStringLiteral("*.dec"));
    Run();
    EXPECT_TRUE(prompter_.messages.empty());
    EXPECT_EQ(state_.result.filesDone, 1);
}

TEST_F(ProcessFolderTest, DecryptingAskedAboutAFileThatLooksPlain)
{
    Write(QStringLiteral("small.txt"), PlainBytes(255));
    Write(QStringLiteral("plain.txt"), PlainBytes(256));
    setup_.direction = Direction::Decrypt;
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.dec"));
    const QStringList order = ListingOrder(Path(QString()));
    // Only the 256-byte file is measured; "No" to it skips it, and "Abort?" follows unless it is last.
    prompter_.Answer(MessageAnswer::No);
    const bool plainIsLast = order.last() == QStringLiteral("plain.txt");
    if (!plainIsLast) {
        prompter_.Answer(MessageAnswer::No);
    }
    Run();

    ASSERT_EQ(prompter_.messages.size(), plainIsLast ? 1u : 2u);
    EXPECT_EQ(prompter_.messages[0].text,
              QStringLiteral("This file appears NOT to be encrypted?\r\nAttempt to decrypt it anyway?"));
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Anomaly"));
    EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(prompter_.messages[0].defaultButton, 2);
    EXPECT_EQ(prompter_.messages[0].icon, MessageIcon::None);
    if (!plainIsLast) {
        EXPECT_EQ(prompter_.messages[1].text, QStringLiteral("Abort this decryption operation?"));
        EXPECT_EQ(prompter_.messages[1].title, QStringLiteral("Abort?"));
    }
    EXPECT_TRUE(sink_.text.contains(
        QStringLiteral("plain.txt     256 bytes   skipped (file seems not encrypted)\r\n")));
    EXPECT_FALSE(Exists(QStringLiteral("plain.dec")));
    EXPECT_EQ(engine_.calls, 1) << "the 255-byte file is tried without a question";
    EXPECT_EQ(state_.result.filesProcessed, 2);
}

TEST_F(ProcessFolderTest, AbortAfterASkippedFileEndsTheWholeOperation)
{
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        Write(QString::fromLatin1(name), PlainBytes(300));
    Write(QStringLiteral("sub/four.txt"), PlainBytes(300));
    setup_.direction = Direction::Decrypt;
    setup_.includeSubfolders = true;
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.dec"));
    prompter_.Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
    Run();

    EXPECT_EQ(prompter_.messages.size(), 2u);
    EXPECT_EQ(state_.result.filesProcessed, 1);
    EXPECT_EQ(engine_.calls, 0);
    EXPECT_TRUE(sink_.text.contains(
        QStringLiteral("skipped (file seems not encrypted)\r\nNumber of files decrypted: 0\r\n")));
    EXPECT_FALSE(sink_.text.contains(QStringLiteral("sub/")));
    EXPECT_TRUE(sink_.stop);
}

TEST_F(ProcessFolderTest, DuplicateOutputNamesTouchNothing)
{
    Write(QStringLiteral("A.txt"), PlainBytes(20));
    Write(QStringLiteral("a.doc"), PlainBytes(20));
    Select(Root(), QStringLiteral("*.*"), Root(), QStringLiteral("*.enc"));
    EXPECT_TRUE(EstimateSizes().duplicateOutputNames);
    EXPECT_TRUE(sink_.text.isEmpty()) << "the estimate writes nothing";
    Run();
    EXPECT_TRUE(state_.result.duplicateOutputNames);
    EXPECT_EQ(engine_.calls, 0);
    EXPECT_EQ(ListingOrder(Path(QString())).size(), 2);
    ASSERT_FALSE(prompter_.messages.empty());
    EXPECT_EQ(prompter_.messages.back().text,
              QStringLiteral("Output file specification \"*.enc\" produces duplicate output filenames!"));
    EXPECT_EQ(prompter_.messages.back().title, QStringLiteral("Error"));
    EXPECT_EQ(prompter_.messages.back().icon, MessageIcon::Exclamation);
    EXPECT_TRUE(sink_.hidden);
    EXPECT_EQ(sink_.status, QString());
}

TEST_F(ProcessFolderTest, SubfoldersAreWalkedDepthFirstWithOutputBesideTheirInput)
{
    Write(QStringLiteral("in/a.txt"), PlainBytes(10));
    Write(QStringLiteral("in/s1/b.txt"), PlainBytes(10));
    Write(QStringLiteral("in/s1/deep/c.txt"), PlainBytes(10));
    Write(QStringLiteral("in/s2/d.txt"), PlainBytes(10));
    fs::create_directories(Path(QStringLiteral("in/empty/lower")));
    Write(QStringLiteral("in/empty/lower/e.txt"), PlainBytes(10));
    fs::create_directories(Path(QStringLiteral("out")));
    setup_.includeSubfolders = true;
    Select(Root() + QStringLiteral("in"), QStringLiteral("*.txt"), Root() + QStringLiteral("out"),
           QStringLiteral("*.enc"));
    Run();

    for (const char* output :
         {"out/a.enc", "in/s1/b.enc", "in/s1/deep/c.enc", "in/s2/d.enc", "in/empty/lower/e.enc"})
        EXPECT_TRUE(Exists(QString::fromLatin1(output))) << output;
    EXPECT_EQ(state_.result.filesDone, 5);
    const auto header = [&](const char* subfolder) {
        return sink_.text.indexOf(QStringLiteral("Encrypting *.txt in ") + Root() +
                                  QString::fromLatin1(subfolder) + QStringLiteral("\r\n"));
    };
    EXPECT_EQ(header("in/"), 0);
    EXPECT_LT(header("in/s1/"), header("in/s1/deep/"));
    EXPECT_EQ(header("in/empty/"), -1) << "a folder without matching files has no header";
    // Each subfolder is finished, descendants included, before the next one begins.
    const qsizetype s1 = header("in/s1/"), deep = header("in/s1/deep/"), s2 = header("in/s2/"),
                    lower = header("in/empty/lower/");
    for (qsizetype other : {s2, lower}) EXPECT_TRUE(other < s1 || other > deep);
    EXPECT_TRUE(sink_.text.contains(
        QStringLiteral("Number of files processed: 5\r\nNumber of files encrypted: 5\r\n")));
}

TEST_F(ProcessFolderTest, AFolderWithoutMatchingFilesWritesNothingButItsSubfoldersAreWalked)
{
    Write(QStringLiteral("notes.doc"), PlainBytes(10));
    Write(QStringLiteral("sub/x.txt"), PlainBytes(10));
    setup_.includeSubfolders = true;
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
    Run();
    EXPECT_TRUE(ReportBody().startsWith(QStringLiteral("Encrypting *.txt in ") + Root() +
                                        QStringLiteral("sub/\r\n")));
    EXPECT_FALSE(Exists(QStringLiteral("notes.enc")));
    EXPECT_EQ(Read(QStringLiteral("notes.doc")), PlainBytes(10));
}

struct SizeCase {
    bool inPlace;
    qint64 expected;
};

class SizeGatheringTest : public OperationFixture, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeGatheringTest, TakesTheLargestFileInPlaceAndTheSumOtherwise)
{
    Write(QStringLiteral("a.txt"), PlainBytes(100));
    Write(QStringLiteral("b.txt"), PlainBytes(700));
    Write(QStringLiteral("sub/c.txt"), PlainBytes(900));
    setup_.includeSubfolders = true;
    setup_.inPlace = GetParam().inPlace;
    Select(Root(), QStringLiteral("*.txt"), Root(),
           GetParam().inPlace ? QStringLiteral("*.txt") : QStringLiteral("*.enc"));
    const SizeEstimate estimate = EstimateSizes();
    EXPECT_EQ(estimate.requiredBytes, GetParam().expected);
    EXPECT_FALSE(estimate.duplicateOutputNames);
    EXPECT_EQ(engine_.calls, 0);
    EXPECT_TRUE(sink_.text.isEmpty()) << "the estimate writes nothing";
    EXPECT_EQ(sink_.runStarts, 0) << "the estimate is no run";
    EXPECT_EQ(Read(QStringLiteral("a.txt")), PlainBytes(100));
}

INSTANTIATE_TEST_SUITE_P(Table, SizeGatheringTest,
                         ::testing::Values(SizeCase{true, 900}, SizeCase{false, 1700}));

TEST_F(ProcessFolderTest, SizesAndTotalsBeyondFourGigabytesAreRight)
{
    // Sparse files: nothing is written to the device.
    const auto makeSparse = [&](const QString& name, std::uintmax_t size) {
        Write(name, "x");
        fs::resize_file(Path(name), size);
    };
    const std::uintmax_t fiveGiB = 5ull << 30;
    makeSparse(QStringLiteral("big1.dat"), fiveGiB);
    makeSparse(QStringLiteral("big2.dat"), 3ull << 30);
    Select(Root(), QStringLiteral("*.dat"), Root(), QStringLiteral("*.enc"));
    EXPECT_EQ(EstimateSizes().requiredBytes, static_cast<qint64>(fiveGiB + (3ull << 30)));

    // The fake engine succeeds without reading; a slow call shows the progress of a large file.
    engine_.forcedResults.insert(QStringLiteral("big1.dat"), cipher::CipherResult::Success);
    engine_.forcedResults.insert(QStringLiteral("big2.dat"), cipher::CipherResult::Success);
    engine_.duringCall = [](const fs::path&) { std::this_thread::sleep_for(std::chrono::milliseconds(80)); };
    Run();
    EXPECT_EQ(state_.result.bytesDone, static_cast<qint64>(fiveGiB + (3ull << 30)));
    EXPECT_EQ(engine_.lastInputLength == fiveGiB || engine_.lastInputLength == (3ull << 30), true);
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("big1.dat      5,368,709,120 bytes   -> big1.enc")));
    EXPECT_TRUE(sink_.text.contains(QStringLiteral("Total KB encrypted: 8,388,608\r\n")));
    EXPECT_GT(sink_.progressCalls, 0u);
    EXPECT_FALSE(sink_.progressShown) << "the progress bar goes when the file is done";
}

TEST_F(ProcessFolderTest, StopBetweenFilesFinishesTheCurrentFileFirst)
{
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) Write(QString::fromLatin1(name), PlainBytes(10));
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.enc"));
    sink_.onPausePoint = [](RecordingReportSink& s) { s.stop = true; };
    Run();
    EXPECT_EQ(engine_.calls, 1);
    EXPECT_EQ(state_.result.filesProcessed, 1);
    EXPECT_EQ(state_.result.filesDone, 1);
}

}  // namespace
}  // namespace kyv::test

namespace kyv::test {
namespace {

TEST_F(ProcessFolderTest, NoToTheAnomalyOfTheLastFileSkipsItWithoutAskingToAbort)
{
    Write(QStringLiteral("only.txt"), PlainBytes(300));
    setup_.direction = Direction::Decrypt;
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("*.dec"));
    prompter_.Answer(MessageAnswer::No);
    Run();
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Anomaly"));
    EXPECT_TRUE(sink_.text.contains(
        QStringLiteral("only.txt      300 bytes   skipped (file seems not encrypted)\r\n\r\n")));
    EXPECT_EQ(engine_.calls, 0);
    EXPECT_EQ(state_.result.filesDone, 0);
}

TEST_F(ProcessFolderTest, AFolderThatCannotBeReadIsNamedAndTheRunGoesOn)
{
    const QString missing = Root() + QStringLiteral("gone");
    Select(missing, QStringLiteral("*.*"), missing, QStringLiteral("*.enc"));
    Run();
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Error"));
    EXPECT_FALSE(prompter_.messages[0].text.isEmpty());
    EXPECT_TRUE(sink_.text.startsWith(missing + QStringLiteral("/\r\nError: ") + prompter_.messages[0].text +
                                      QStringLiteral("\r\n\r\n")));
    EXPECT_EQ(sink_.bufferFullCalls, 0) << "a report with room is not called full";
}

}  // namespace
}  // namespace kyv::test

namespace kyv::test {
namespace {

TEST_F(ProcessFolderTest, AnOutputNameThatIsAnotherInputOfTheFolderTouchesNothing)
{
    // "??c.txt" makes ac.txt of a.txt, which would replace the input ac.txt (itself mapped to acc.txt).
    Write(QStringLiteral("a.txt"), PlainBytes(20, 'a'));
    Write(QStringLiteral("ac.txt"), PlainBytes(20, 'c'));
    Select(Root(), QStringLiteral("*.txt"), Root(), QStringLiteral("??c.txt"));
    Run();
    EXPECT_TRUE(state_.result.duplicateOutputNames);
    EXPECT_EQ(engine_.calls, 0);
    EXPECT_EQ(Read(QStringLiteral("ac.txt")), PlainBytes(20, 'c'));

    // Into another folder the same names are harmless.
    fs::create_directories(Path(QStringLiteral("out")));
    Select(Root(), QStringLiteral("*.txt"), Root() + QStringLiteral("out"), QStringLiteral("??c.txt"));
    Run();
    EXPECT_FALSE(state_.result.duplicateOutputNames);
    EXPECT_EQ(Read(QStringLiteral("out/ac.txt")), FakeCipherEngine::Encrypt(PlainBytes(20, 'a')));
    EXPECT_EQ(Read(QStringLiteral("out/acc.txt")), FakeCipherEngine::Encrypt(PlainBytes(20, 'c')));
}

}  // namespace
}  // namespace kyv::test

namespace kyv::test {
namespace {

struct KeyfileCase {
    const char* inputSpec;
    const char* outputSpec;
};

class KeyfileNeverReplacedTest : public OperationFixture,
                                 public ::testing::WithParamInterface<KeyfileCase> {};

TEST_P(KeyfileNeverReplacedTest, EvenWhenTheOutputNameLeadsToIt)
{
    Write(QStringLiteral("my.key"), PlainBytes(64, 'k'));
    Write(QStringLiteral("a.txt"), PlainBytes(30));
    context_.keyfilePath = FilePath(Root() + QStringLiteral("my.key"));
    Select(Root(), QString::fromLatin1(GetParam().inputSpec), Root(),
           QString::fromLatin1(GetParam().outputSpec));
    Run();
    EXPECT_EQ(Read(QStringLiteral("my.key")), PlainBytes(64, 'k'));
    EXPECT_TRUE(
        sink_.text.contains(QStringLiteral("This is the current keyfile.  Encryption not performed.\r\n")))
        << sink_.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, KeyfileNeverReplacedTest,
                         ::testing::Values(KeyfileCase{"a.txt", "my.key"},  // another file's output
                                           KeyfileCase{"*.key", "*.*"}));   // mapped onto itself

}  // namespace
}  // namespace kyv::test
