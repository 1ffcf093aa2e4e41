// The reliability test on real files: the real engine at a cheap key-derivation cost for the
// round trips, the fake engine where a file must come back damaged; the main window's commands
// and the pause between performances are stood in for.

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "core/launch/LaunchFixture.h"
#include "core/reltest/ReliabilityTest.h"
#include "core/reltest/ReliabilityTestHost.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv::test {
namespace {

const cipher::KdfPolicy kCheapPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}};
const QString kAllIdentical =
    QStringLiteral("All decrypted files were found to be identical with the original files.");

// The main window as the test drives it: flags set directly, "Do it!" as the real launch.
class HostStandIn final : public ReliabilityTestHost {
public:
    explicit HostStandIn(LaunchFixture& f) : f_(f) {}

    void SnapshotSetup() override { snapshot = f_.setup; }
    void RestoreSetup() override
    {
        f_.setup = snapshot;
        EraseKeyData(f_.key);
        f_.key.source = NotSpecified;
        ++restores;
    }
    void ApplySetupFlags(Direction direction, bool inPlace, bool includeSubfolders) override
    {
        f_.setup.direction = direction;
        f_.setup.inPlace = inPlace;
        f_.setup.includeSubfolders = includeSubfolders;
        if (inPlace) CopyInputSideToOutput();
    }
    void PerformFunction() override { f_.setup.direction = Opposite(f_.setup.direction); }
    void CopyInputSideToOutput() override
    {
        f_.setup.folders[kOutputSide] = f_.setup.InputFolder();
        f_.setup.fileSpecs[kOutputSide] = f_.setup.InputSpec();
    }
    void RefreshFilesStatus() override {}
    TestLaunchEnd Launch() override
    {
        ++launches;
        return TestLaunchEndOf(f_.Launch());
    }
    void ShowTestRunning(bool) override {}
    void WaitForNextPerformance() override
    {
        ++waits;
        if (duringWait) duringWait();
    }
    void SetReportCaption(const QString& caption) override { f_.report.SetCaption(caption); }
    void OfferStop(const QString&) override {}
    void OfferClose() override {}
    void FocusReport() override {}

    void Reset()
    {
        restores = launches = waits = 0;
        duringWait = nullptr;
    }

    OperationSetup snapshot;
    int restores = 0;
    int launches = 0;
    int waits = 0;
    std::function<void()> duringWait;

private:
    LaunchFixture& f_;
};

class ReliabilityTestRun : public LaunchFixture {
protected:
    void SetUp() override
    {
        LaunchFixture::SetUp();
        realEngine_ = cipher::MakeCipherEngine(kCheapPolicy);
        ASSERT_TRUE(realEngine_->AllocateBuffers());
        engine = realEngine_.get();
        testFolder_ = Folder(QStringLiteral("kyvtest"));
        TypeKey(key, "sixteen chars ok");
    }
    void TearDown() override { realEngine_->DeallocateBuffers(); }

    // `count` test files of different lengths and contents.
    void WriteTestFiles(int count)
    {
        for (int i = 0; i < count; ++i)
            Write(QStringLiteral("kyvtest/t%1.tst").arg(i, 2, 10, QLatin1Char('0')),
                  QByteArray("test file ").repeated(i + 1) + QByteArray::number(i));
    }
    void Choose(const QString& fileSpec, bool inPlace)
    {
        Select(testFolder_, fileSpec, testFolder_, inPlace ? fileSpec : QStringLiteral("*.xyz"));
        setup.inPlace = inPlace;
    }
    // A fresh start for one case of a table: `files` test files *.tst chosen, the typed key, no
    // messages, nothing counted.
    void Prepare(int files, bool inPlace)
    {
        WriteTestFiles(files);
        Choose(QStringLiteral("*.tst"), inPlace);
        TypeKey(key, "sixteen chars ok");
        prompter.messages.clear();
        host_.Reset();
    }
    ReliabilityTestOutcome RunTest(int performances)
    {
        ReliabilityTest test({host_, setup, key, report.state, report.sink, prompter});
        return test.Run(performances);
    }
    QStringList ReportLines() const { return report.sink.text.split(QStringLiteral("\r\n")); }

    QString testFolder_;
    HostStandIn host_{*this};
    std::unique_ptr<cipher::CipherEngine> realEngine_;
};

TEST_F(ReliabilityTestRun, PerformancesThatPassCloseWithHowOftenTheTestRan)
{
    struct Case {
        int performances;
        bool inPlace;
        const char* times;
    };
    for (const Case& c : {Case{1, true, "once"}, Case{2, false, "twice"}, Case{12, true, "12 times"},
                          Case{12, false, "12 times"}}) {
        SCOPED_TRACE(c.times);
        Prepare(3, c.inPlace);
        Write(QStringLiteral("kyvtest/keep.txt"), QByteArray("not a test file"));
        const OperationSetup before = setup;

        EXPECT_EQ(RunTest(c.performances), ReliabilityTestOutcome::Passed) << report.sink.text.toStdString();

        EXPECT_EQ(host_.launches, 2 * c.performances);
        EXPECT_EQ(host_.waits, c.performances - 1);
        EXPECT_TRUE(report.sink.text.endsWith(QStringLiteral("\r\n\r\nThe reliability test was performed ") +
                                              c.times + ".\r\n" + kAllIdentical));
        EXPECT_EQ(setup.InputSpec(), before.InputSpec());
        EXPECT_EQ(setup.OutputSpec(), before.OutputSpec());
        EXPECT_EQ(key.source, NotSpecified);
        EXPECT_FALSE(report.state.control.reliabilityTestRunning);
        EXPECT_TRUE(report.state.control.reliabilityReport);
        EXPECT_EQ(Read("kyvtest/t01.tst"), QByteArray("test file test file 1"));
    }
}

TEST_F(ReliabilityTestRun, ASecondPerformanceReportsItsNumberItsFilesAndItsGeneratedKey)
{
    Prepare(3, false);
    ASSERT_EQ(RunTest(2), ReliabilityTestOutcome::Passed);
    const QStringList lines = ReportLines();
    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines[0], "Reliability test #2 of 2");
    EXPECT_EQ(lines[1], "3 test files in " + testFolder_);
    // The generated key is shown; it was wiped when the setup came back.
    EXPECT_TRUE(lines[2].contains(QRegularExpression("^\\d\\d-byte (text key: .{16,64}|non-text key)$")))
        << lines[2].toStdString();
    EXPECT_EQ(lines[3], "");
    QStringList fileLines = lines.mid(4, 3);
    fileLines.sort();
    EXPECT_EQ(fileLines, QStringList({"t00.tst, t00.dec: identical", "t01.tst, t01.dec: identical",
                                      "t02.tst, t02.dec: identical"}));
}

TEST_F(ReliabilityTestRun, InPlaceTheBackupOfANamedFileIsComparedWithIt)
{
    Write(QStringLiteral("kyvtest/a.tst"), QByteArray("the only test file"));
    Choose(QStringLiteral("a.tst"), true);
    ASSERT_EQ(RunTest(1), ReliabilityTestOutcome::Passed);
    const QStringList lines = ReportLines();
    EXPECT_EQ(lines[0], "1 test file in " + testFolder_);
    // The user's own key is described, never shown.
    EXPECT_TRUE(lines[1].startsWith("14-byte text key (your own key, checksum ")) << lines[1].toStdString();
    EXPECT_FALSE(report.sink.text.contains("SIXTEEN"));
    EXPECT_EQ(lines[3], "a.bak, a.tst: identical");
    EXPECT_EQ(Read("kyvtest/a.bak"), QByteArray("the only test file"));
}

TEST_F(ReliabilityTestRun, TwelveFilesOrMoreRepeatTheHeaderAndAnEmptyLineBeforeTheClosing)
{
    for (const int files : {11, 12}) {
        SCOPED_TRACE(files);
        Prepare(files, true);
        ASSERT_EQ(RunTest(1), ReliabilityTestOutcome::Passed);
        const QStringList lines = ReportLines();
        const QString header = lines[0] + "\r\n" + lines[1];
        const QString afterFiles = lines.mid(3 + files).join("\r\n");
        const QString closing = "The reliability test was performed once.\r\n" + kAllIdentical;
        EXPECT_EQ(afterFiles, files == 12 ? "\r\n" + header + "\r\n\r\n" + closing : "\r\n" + closing);
    }
}

TEST_F(ReliabilityTestRun, ADamagedSecondFileEndsTheTestWithTheKeysCodesWhenTheKeyWasGenerated)
{
    engine = &fakeEngine;
    Prepare(5, false);
    int decryptions = 0;
    bool secondPerformance = false;
    host_.duringWait = [&] { secondPerformance = true; };
    // While the first file is decrypted, every other one is damaged before it is opened (a file
    // changed while it is read is refused by the run itself), so the second comparison differs.
    fakeEngine.duringCall = [&](const std::filesystem::path& input) {
        if (!secondPerformance || input.extension() != ".enc" || ++decryptions != 1) return;
        const QDir testFolder(QString::fromStdString(input.parent_path().string()));
        for (const QString& name : testFolder.entryList({"*.enc"}, QDir::Files)) {
            if (name == QString::fromStdString(input.filename().string())) continue;
            QFile file(testFolder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.seek(file.size() - 1));
            ASSERT_TRUE(file.putChar('!'));
        }
    };

    EXPECT_EQ(RunTest(3), ReliabilityTestOutcome::Failed);

    EXPECT_EQ(host_.launches, 4);
    EXPECT_EQ(host_.waits, 1);
    const QStringList lines = ReportLines();
    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines[0], "Reliability test #2 of 3");
    EXPECT_TRUE(lines[4].endsWith(": identical")) << lines[4].toStdString();
    EXPECT_TRUE(lines[5].contains(QRegularExpression(": Files differ at byte \\d+\\.$")))
        << lines[5].toStdString();
    EXPECT_EQ(lines[6], "Reliability test failed.");
    EXPECT_EQ(lines[7], "Ascii values of bytes in key:");
    EXPECT_TRUE(lines[8].contains(QRegularExpression("^(\\d{2,3} ){16,64}$"))) << lines[8].toStdString();
    EXPECT_EQ(lines.mid(9), QStringList({""}));
    EXPECT_FALSE(report.sink.text.contains(kAllIdentical));
    EXPECT_TRUE(report.sink.stop);
}

TEST_F(ReliabilityTestRun, AFileTheEngineFailsOnFailsTheTestAndTheUsersKeyIsGivenByLengthAndChecksumOnly)
{
    engine = &fakeEngine;
    Prepare(2, true);
    fakeEngine.forcedResults.insert(QStringLiteral("t00.tst"), cipher::CipherResult::ReadError);
    const int checksum = key.checksum;
    EXPECT_EQ(RunTest(2), ReliabilityTestOutcome::Failed);
    EXPECT_TRUE(
        report.sink.text.contains("1 test file could not be encrypted.\r\n"
                                  "Reliability test failed.\r\nKey: 14 bytes, your own key, checksum " +
                                  QString::number(checksum) + ".\r\n"))
        << report.sink.text.toStdString();
    EXPECT_FALSE(report.sink.text.contains("Ascii values"));
    EXPECT_EQ(host_.launches, 1);
}

TEST_F(ReliabilityTestRun, StopDuringALaunchInPlaceWarnsThatSomeTestFilesMayStayEncrypted)
{
    engine = &fakeEngine;
    for (const bool inPlace : {true, false}) {
        SCOPED_TRACE(inPlace);
        Prepare(3, inPlace);
        fakeEngine.calls = 0;
        fakeEngine.duringCall = [&](const std::filesystem::path&) {
            if (fakeEngine.calls == 1) report.sink.RequestStop();
        };

        EXPECT_EQ(RunTest(2), ReliabilityTestOutcome::Stopped);

        EXPECT_EQ(host_.launches, 1);
        EXPECT_EQ(host_.restores, 1);
        EXPECT_FALSE(report.sink.text.contains("identical"));
        ASSERT_EQ(prompter.messages.size(), inPlace ? 1u : 0u);
        if (inPlace) {
            EXPECT_EQ(prompter.messages[0].title, "Reliability test stopped");
            EXPECT_TRUE(prompter.messages[0].text.endsWith("You may wish to set up the .tst files again."));
        }
    }
}

TEST_F(ReliabilityTestRun, ATestThatCannotGoOnSaysSoAndNeverClaimsIdenticalFiles)
{
    struct Case {
        const char* name;
        bool inPlace;
        bool afterFirstPerformance;
        std::function<void(ReliabilityTestRun&)> spoil;
        QString said;
    };
    const Case cases[] = {
        {"no space", false, false, [](ReliabilityTestRun& f) { f.freeSpace.bytes = 10; },
         "The reliability test was not completed: the encryption of performance #1 could not start: there is "
         "not enough disk space."},
        {"no space later", false, true, [](ReliabilityTestRun& f) { f.freeSpace.bytes = 10; },
         "The reliability test was not completed: the encryption of performance #2 could not start: there is "
         "not enough disk space."},
        {"backup cannot be written", true, true,
         [](ReliabilityTestRun& f) {
             QFile::remove(f.Root() + "kyvtest/t01.bak");
             f.Write("kyvtest/t01.bak/in the way", QByteArray("x"));
         },
         "The reliability test was not completed: not every test file could be copied to its .bak file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(2, c.inPlace);
        freeSpace.bytes = quint64(1) << 40;
        if (c.afterFirstPerformance)
            host_.duringWait = [&] { c.spoil(*this); };
        else
            c.spoil(*this);

        EXPECT_EQ(RunTest(2), ReliabilityTestOutcome::NotCompleted);

        const QString told = MessageTexts().join(" | ");
        EXPECT_TRUE(report.sink.text.contains(c.said) || told.contains(c.said))
            << report.sink.text.toStdString() << told.toStdString();
        EXPECT_FALSE(report.sink.text.contains(kAllIdentical));
        EXPECT_EQ(host_.restores, 1);
        QDir(Root() + "kyvtest").removeRecursively();
        testFolder_ = Folder(QStringLiteral("kyvtest"));
    }
}

}  // namespace
}  // namespace kyv::test
