#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/common/ProgramText.h"

namespace kyv {
namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath("kyve.dat");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    return path;
}

QByteArray Lines(int count, const QByteArray& line)
{
    QByteArray all;
    for (int i = 0; i < count; ++i) all += line + "\n";
    return all;
}

struct LoadCase {
    const char* what;
    QByteArray content;
    const char* message;
};

TEST(ProgramText, EachFaultOfTheFileGivesItsMessage)
{
    const QByteArray tooLong = "12: " + QByteArray(1025, 'x') + "\n";
    const LoadCase cases[] = {
        {"zero bytes", "", "File is empty."},
        {"only comments", "# nothing\n\n# here\n", "No program text was read."},
        {"too many lines", Lines(501, "# comment"), "Too much program text."},
        {"not UTF-8", "7: Nicht angegeben \xff\n", "Text not recovered."},
        {"no colon", "7 Not specified\n", "Error -5"},
        {"unknown escape", "7: Not \\t specified\n", "Error -5"},
        {"number with no text", "# c\n6: Key\n7:\n", "Missing string at line 3."},
        {"number with a space only", "7: \n", "Missing string at line 1."},
        {"text over 1024 characters", "# c\n# c\n" + tooLong, "String too long at line 3."},
        {"number used twice", "6: a\n7: b\n\n6: c\n", "Duplicate in program text at line 4."},
        {"late duplicate", Lines(250, "# c") + "7: a\n7: b\n", "Duplicate in program text at line 252."},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, c.content);
        const int result = LoadProgramText(path);
        EXPECT_LT(result, 1) << c.what;
        EXPECT_EQ(ProgramTextLoadMessage(result, path), QString(c.message)) << c.what;
    }
}

TEST(ProgramText, MissingFileOrFolderCannotBeRead)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("kyve.dat");
    int result = LoadProgramText(missing);
    EXPECT_EQ(ProgramTextLoadMessage(result, missing),
              "Cannot open file containing program text.\n" + missing);

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dat"));
    const QString folder = dir.filePath("folder.dat");
    result = LoadProgramText(folder);
    EXPECT_EQ(ProgramTextLoadMessage(result, folder), "Error reading file.");
}

// A hostile kyve.dat beside the program: the load ends at once with a message, so that the program
// can say what is wrong instead of waiting for ever or reading without bound.
TEST(ProgramText, NamedPipeOrHugeFileIsRefusedWithoutReading)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("kyve.dat");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    auto load = std::async(std::launch::async, [&pipe] { return LoadProgramText(pipe); });
    if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // A writer releases the blocked open so that the test can end.
        const int writer = ::open(pipe.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        ::close(writer);
        FAIL() << "loading a named pipe waited for a writer";
    }
    EXPECT_EQ(ProgramTextLoadMessage(load.get(), pipe),
              "The file containing program text is not a regular file.\n" + pipe);

    const QString huge = dir.filePath("huge.dat");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(5 << 20));  // sparse: costs no disk
    file.close();
    EXPECT_EQ(ProgramTextLoadMessage(LoadProgramText(huge), huge), "Too much program text.");
}

TEST(ProgramText, ResultsWithoutAFileFaultStillHaveTheirWording)
{
    const std::pair<int, const char*> cases[] = {
        {-2, "Particular memory allocation error."},
        {-8, "General memory allocation error."},
        {-1750, "Duplicate in program text at line 250."},
        {-1100, "String too long at line 100."},
        {-1501, "Duplicate in program text at line 1."},
        {-1500, "String too long at line 500."},
        {-600, "Missing string at line 100."},
        {-501, "Missing string at line 1."},
        {-5, "Error -5"},
        {-12, "Error -12"},
        {-500, "Error -500"},
    };
    for (const auto& [result, message] : cases)
        EXPECT_EQ(ProgramTextLoadMessage(result, "x"), QString(message)) << result;
}

TEST(ProgramText, TextsComeBackWithEscapesUndoneAndUnknownNumbersEmpty)
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir,
                                   "# c\r\n6: Key specified \r\n7:Not specified\r\n"
                                   "8: two\\nlines with a \\\\ and \xc3\xa9t\xc3\xa9\r\n");
    ASSERT_EQ(LoadProgramText(path), 3);
    EXPECT_EQ(GetText(6), "Key specified ");
    EXPECT_EQ(GetText(7), "Not specified");
    EXPECT_EQ(GetText(8), QString::fromUtf8("two\nlines with a \\ and \xc3\xa9t\xc3\xa9"));
    EXPECT_EQ(GetText(9), "");
    EXPECT_EQ(GetText(0), "");
}

TEST(ProgramText, TheShippedFileLoadsWithEveryTextTheProgramUses)
{
    const QString path = QStringLiteral(KYV_TEST_DATA) + "/../../data/kyve.dat";
    ASSERT_GE(LoadProgramText(path), 4);
    for (int number : {5, 6, 7, 310}) EXPECT_FALSE(GetText(number).isEmpty()) << number;
}

TEST(ProgramText, PathHasOneSeparatorAlsoAtARoot)
{
    EXPECT_EQ(ProgramTextPath("/", "kyve.dat"), "/kyve.dat");
    EXPECT_EQ(ProgramTextPath("/opt/kyv", "kyve.dat"), "/opt/kyv/kyve.dat");
    EXPECT_EQ(ProgramTextPath("/opt/kyv/", "kyve.dat"), "/opt/kyv/kyve.dat");
}

}  // namespace
}  // namespace kyv
