#include <gtest/gtest.h>

#include <QDir>
#include <QHash>
#include <QLocale>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>

#include "core/analysis/RandomnessListing.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderFixture.h"
#include "core/files/FolderPath.h"
#include "support/FakePrompter.h"
#include "support/RecordingReportSink.h"

namespace kyv {
namespace {

using test::FakePrompter;
using test::FolderFixture;
using test::RecordingReportSink;

// Measures from a table by file name; records which files were measured.
class TableMeasure {
public:
    QHash<QString, double> values;

    RandomnessMeasure Function()
    {
        return [this](const std::filesystem::path& file, std::int64_t minimumSize) {
            const QString name = QFile::decodeName(file.filename().c_str());
            std::lock_guard<std::mutex> lock(mutex_);
            measured.append(name);
            minimumSizes.append(minimumSize);
            return values.value(name, 0.5);
        };
    }

    QStringList measured;
    QList<std::int64_t> minimumSizes;

private:
    std::mutex mutex_;
};

class RandomnessListingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(folder_.IsValid());
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    void List(const QString& spec, bool subdirectories)
    {
        const RandomnessListingContext context{report_, prompter_, values_, subdirectories,
                                               measure_.Function()};
        ListFolderRandomness(FilePath(folder_.Path()), spec, context);
    }

    FolderFixture folder_;
    RecordingReportSink report_;
    FakePrompter prompter_;
    WorkingValues values_;
    TableMeasure measure_;
};

TEST_F(RandomnessListingTest, OneLinePerFile)
{
    const struct {
        const char16_t* name;
        qint64 size;
        double randomness;
        const char16_t* line;
    } cases[] = {
        {u"Big.BIN", 1000, 0.998, u"0.998 * big.bin (1,000 bytes)   "},
        {u"edge.dat", 300, 0.89, u"0.890   edge.dat (300 bytes)   "},
        {u"above.dat", 300, 0.8901, u"0.890 * above.dat (300 bytes)   "},
        {u"low.dat", 4096, 0.123, u"0.123   low.dat (4,096 bytes)   "},
        {u"threshold.dat", 256, 0.95, u"0.950 * threshold.dat (256 bytes)   "},
        {u"small.dat", 255, 0.99, u"        small.dat (255 bytes)   "},
        {u"empty.dat", 0, 0.99, u"        empty.dat (0 bytes)   "},
        {u"unreadable.dat", 500, -12, u"[-12]   unreadable.dat (500 bytes)   "},
        {u"notfound.dat", 500, -11, u"[-11]   notfound.dat (500 bytes)   "},
        {u"\u00C9T\u00C9.DAT", 300, 0.5, u"0.500   \u00E9t\u00E9.dat (300 bytes)   "},
        {u"my report.doc", 300, 0.5, u"0.500   my report.doc (300 bytes)   "},
        {u"README", 300, 0.5, u"0.500   readme (300 bytes)   "},
        {u".profile", 300, 0.5, u"0.500   .profile (300 bytes)   "},
        {u"huge.dat", 1234567, 0.999, u"0.999 * huge.dat (1,234,567 bytes)   "},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        folder_.MakeFile(name, c.size);
        measure_.values.insert(name, c.randomness);
    }
    List(QStringLiteral("*.*"), false);

    const QStringList lines = report_.text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + std::size(cases) + 2);  // folder line, files, empty line, empty rest
    EXPECT_EQ(lines.front(), folder_.Path());
    for (const auto& c : cases)
        EXPECT_EQ(lines.count(QString::fromUtf16(c.line)), 1) << QString::fromUtf16(c.line).toStdString();
    // Files below the minimum size are never measured; the others with that minimum.
    EXPECT_FALSE(measure_.measured.contains(QStringLiteral("small.dat")));
    EXPECT_FALSE(measure_.measured.contains(QStringLiteral("empty.dat")));
    EXPECT_EQ(measure_.measured.size(), std::size(cases) - 2);
    EXPECT_EQ(measure_.minimumSizes.count(256), measure_.minimumSizes.size());
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(RandomnessListingTest, FolderBlockAndPausePointsForEveryFile)
{
    folder_.MakeFile(QStringLiteral("a.dat"), 300);
    folder_.MakeFile(QStringLiteral("b.txt"), 300);
    folder_.MakeFile(QStringLiteral("c.txt"), 300);
    measure_.values.insert(QStringLiteral("a.dat"), 0.25);
    List(QStringLiteral("*.dat"), false);
    EXPECT_EQ(report_.text, folder_.Path() + QStringLiteral("\r\n0.250   a.dat (300 bytes)   \r\n\r\n"));
    EXPECT_EQ(report_.pausePoints, 3);
    EXPECT_EQ(values_.fileListCount, 1);
}

TEST_F(RandomnessListingTest, FolderWithoutMatchingFilesListsNothing)
{
    folder_.MakeFile(QStringLiteral("b.txt"), 300);
    values_.fileListCount = 7;
    List(QStringLiteral("*.dat"), false);
    EXPECT_TRUE(report_.text.isEmpty());
    EXPECT_EQ(report_.pausePoints, 0);
    EXPECT_EQ(values_.fileListCount, 0);
}

TEST_F(RandomnessListingTest, SubfoldersDepthFirst)
{
    folder_.MakeFile(QStringLiteral("r.dat"), 300);
    folder_.MakeFolder(QStringLiteral("one/deep"));
    folder_.MakeFolder(QStringLiteral("two"));
    folder_.MakeFolder(QStringLiteral("three"));  // no matching file: no block
    folder_.MakeFile(QStringLiteral("one/o.dat"), 300);
    folder_.MakeFile(QStringLiteral("one/deep/d.dat"), 300);
    folder_.MakeFile(QStringLiteral("two/t.dat"), 300);
    folder_.MakeFile(QStringLiteral("two/t2.dat"), 300);
    folder_.MakeFile(QStringLiteral("three/x.txt"), 300);

    List(QStringLiteral("*.dat"), true);

    QStringList expectedHeaders{folder_.Path()};
    for (const QString& subfolder : test::RawListingOrder(folder_.Path(), DT_DIR)) {
        if (subfolder == u"one") {
            expectedHeaders << folder_.PathOf(QStringLiteral("one/"))
                            << folder_.PathOf(QStringLiteral("one/deep/"));
        } else if (subfolder == u"two") {
            expectedHeaders << folder_.PathOf(QStringLiteral("two/"));
        }
    }
    QStringList headers;
    for (const QString& line : report_.text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(u'/')) headers << line;
    }
    EXPECT_EQ(headers, expectedHeaders);
    EXPECT_EQ(report_.text.count(QStringLiteral(" bytes)")), 5);
    // One pause point per file of a folder with matching files, and one after each lower walk.
    EXPECT_EQ(report_.pausePoints, 5 + 4);
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(RandomnessListingTest, NamesThatAreNotUtf8AreShownEscapedAsInTheRunReport)
{
    const std::filesystem::path folder = std::filesystem::path(folder_.Path().toStdString()) / "d\xe9p\xf4t";
    std::filesystem::create_directory(folder);
    std::ofstream(folder / "Caf\xe9.DAT") << std::string(300, 'x');
    List(QStringLiteral("*.*"), true);

    const QStringList lines = report_.text.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.contains(folder_.Path() + QStringLiteral("d\\xE9p\\xF4t/")))
        << report_.text.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("0.500   caf\\xE9.dat (300 bytes)   ")))
        << report_.text.toStdString();
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(RandomnessListingTest, WithoutSubfoldersOnlyTheFolderItself)
{
    folder_.MakeFile(QStringLiteral("r.dat"), 300);
    folder_.MakeFolder(QStringLiteral("one"));
    folder_.MakeFile(QStringLiteral("one/o.dat"), 300);
    List(QStringLiteral("*.dat"), false);
    EXPECT_EQ(report_.text.count(QStringLiteral(" bytes)")), 1);
    EXPECT_FALSE(report_.text.contains(QStringLiteral("o.dat")));
}

TEST_F(RandomnessListingTest, StopEndsTheWalkAtTheNextFile)
{
    for (int n = 0; n < 5; ++n) folder_.MakeFile(QStringLiteral("f%1.dat").arg(n), 300);
    folder_.MakeFolder(QStringLiteral("lower"));
    folder_.MakeFile(QStringLiteral("lower/l.dat"), 300);
    report_.onPausePoint = [](RecordingReportSink& sink) {
        if (sink.pausePoints == 2) sink.RequestStop();
    };
    List(QStringLiteral("*.dat"), true);
    EXPECT_EQ(report_.text.count(QStringLiteral(" bytes)")), 2);
    EXPECT_FALSE(report_.text.endsWith(QStringLiteral("\r\n\r\n")));
    EXPECT_FALSE(report_.text.contains(QStringLiteral("lower")));
    EXPECT_EQ(report_.pausePoints, 2);
}

TEST_F(RandomnessListingTest, FolderLinksLeadingBackAreWalkedOnce)
{
    folder_.MakeFile(QStringLiteral("a.dat"), 300);
    const QString sub = folder_.MakeFolder(QStringLiteral("sub"));
    folder_.MakeFile(QStringLiteral("sub/b.dat"), 300);
    ASSERT_TRUE(folder_.MakeLink(QStringLiteral("sub/loop"), folder_.Path()));
    ASSERT_TRUE(folder_.MakeLink(QStringLiteral("alias"), sub));
    ASSERT_TRUE(folder_.MakeLink(QStringLiteral("sub/self"), QStringLiteral(".")));

    List(QStringLiteral("*.dat"), true);
    EXPECT_EQ(report_.text.count(QStringLiteral("a.dat")), 1);
    EXPECT_EQ(report_.text.count(QStringLiteral("b.dat")), 1);
    EXPECT_EQ(report_.text.count(QStringLiteral("\r\n\r\n")), 2);
    EXPECT_TRUE(prompter_.messages.empty());
}

// A failure is shown once, then handled as a full report, and nothing more is listed.
void ExpectOneFailure(const FakePrompter& prompter, const RecordingReportSink& report, const QString& text)
{
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, text);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(report.bufferFullCalls, 1);
    EXPECT_TRUE(report.stop);
}

QString SystemText(std::errc code) { return QString::fromStdString(std::make_error_code(code).message()); }

TEST_F(RandomnessListingTest, SubfolderThatVanishedEndsTheListing)
{
    folder_.MakeFile(QStringLiteral("a.dat"), 300);
    folder_.MakeFolder(QStringLiteral("one"));
    folder_.MakeFolder(QStringLiteral("two"));
    folder_.MakeFile(QStringLiteral("one/b.dat"), 300);
    folder_.MakeFile(QStringLiteral("two/c.dat"), 300);
    report_.onPausePoint = [this](RecordingReportSink&) {
        QDir(folder_.PathOf(QStringLiteral("one"))).removeRecursively();
        QDir(folder_.PathOf(QStringLiteral("two"))).removeRecursively();
    };
    List(QStringLiteral("*.dat"), true);
    ExpectOneFailure(prompter_, report_, SystemText(std::errc::no_such_file_or_directory));
    EXPECT_EQ(report_.text.count(QStringLiteral(" bytes)")), 1);
}

TEST_F(RandomnessListingTest, FileThatVanishedEndsTheListing)
{
    folder_.MakeFile(QStringLiteral("a.dat"), 300);
    folder_.MakeFile(QStringLiteral("b.dat"), 300);
    report_.onPausePoint = [this](RecordingReportSink&) {
        QFile::remove(folder_.PathOf(QStringLiteral("a.dat")));
        QFile::remove(folder_.PathOf(QStringLiteral("b.dat")));
    };
    List(QStringLiteral("*.dat"), false);
    ExpectOneFailure(prompter_, report_, SystemText(std::errc::no_such_file_or_directory));
    EXPECT_EQ(report_.text.count(QStringLiteral(" bytes)")), 1);
}

TEST_F(RandomnessListingTest, UnreadableSubfolderEndsTheListing)
{
    folder_.MakeFile(QStringLiteral("a.dat"), 300);
    const QString locked = folder_.MakeFolder(QStringLiteral("locked"));
    folder_.MakeFile(QStringLiteral("locked/s.dat"), 300);
    folder_.MakeFolder(QStringLiteral("open"));
    folder_.MakeFile(QStringLiteral("open/o.dat"), 300);
    test::LockedFolder lock(locked);
    const std::string outcome = test::RunWithoutPrivileges([this]() -> std::string {
        List(QStringLiteral("*.dat"), true);
        if (prompter_.messages.size() != 1) return "messages: " + std::to_string(prompter_.messages.size());
        if (prompter_.messages[0].text != SystemText(std::errc::permission_denied) ||
            prompter_.messages[0].title != u"Error")
            return "message: " + prompter_.messages[0].text.toStdString();
        if (report_.bufferFullCalls != 1 || !report_.stop) return "not handled as a full report";
        if (report_.text.contains(QStringLiteral("s.dat"))) return "listed the locked folder";
        return {};
    });
    EXPECT_EQ(outcome, "");
}

TEST_F(RandomnessListingTest, UnreadableFolderItself)
{
    const QString missing = folder_.PathOf(QStringLiteral("missing"));
    const RandomnessListingContext context{report_, prompter_, values_, true, measure_.Function()};
    ListFolderRandomness(FilePath(missing), QStringLiteral("*.*"), context);
    ExpectOneFailure(prompter_, report_, SystemText(std::errc::no_such_file_or_directory));
    EXPECT_TRUE(report_.text.isEmpty());
}

TEST_F(RandomnessListingTest, FullReport)
{
    folder_.MakeFile(QStringLiteral("a.dat"), 300);
    folder_.MakeFile(QStringLiteral("b.dat"), 300);
    report_.capacity = folder_.Path().size() + 2 + 10;
    List(QStringLiteral("*.dat"), false);
    ExpectOneFailure(prompter_, report_, QStringLiteral("The report cannot hold more text."));
    EXPECT_EQ(report_.text, folder_.Path() + QStringLiteral("\r\n"));
}

TEST_F(RandomnessListingTest, TheFileLibrarysMeasure)
{
    std::mt19937 generator(20240611);
    QByteArray noise(4096, '\0');
    for (char& byte : noise) byte = static_cast<char>(generator() & 0xFF);
    folder_.MakeFile(QStringLiteral("noise.bin"), noise);
    folder_.MakeFile(QStringLiteral("text.txt"), QByteArray(4096, 'a'));
    folder_.MakeFile(QStringLiteral("tiny.bin"), noise.left(255));
    const RandomnessListingContext context{report_, prompter_, values_, false, {}};
    ListFolderRandomness(FilePath(folder_.Path()), QStringLiteral("*.*"), context);

    const QStringList lines = report_.text.split(QStringLiteral("\r\n"));
    auto lineOf = [&lines](const QString& name) {
        for (const QString& line : lines) {
            if (line.contains(name)) return line;
        }
        return QString();
    };
    EXPECT_TRUE(lineOf(QStringLiteral("noise.bin")).contains(QStringLiteral(" * noise.bin (4,096 bytes)")))
        << lineOf(QStringLiteral("noise.bin")).toStdString();
    EXPECT_TRUE(lineOf(QStringLiteral("text.txt")).contains(QStringLiteral("   text.txt (4,096 bytes)")))
        << lineOf(QStringLiteral("text.txt")).toStdString();
    EXPECT_EQ(lineOf(QStringLiteral("tiny.bin")), QStringLiteral("        tiny.bin (255 bytes)   "));
}

}  // namespace
}  // namespace kyv
