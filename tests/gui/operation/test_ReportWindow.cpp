#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/common/ThreadHandOff.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunController.h"
#include "core/operation/RunState.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/common/Twips.h"
#include "gui/operation/ReportWindow.h"
#include "gui/operation/RunWindowWiring.h"
#include "support/FakeCipherEngine.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;

namespace {

class SteppingClock final : public Clock {
public:
    QDateTime Now() const override { return now; }
    // With `steadyStep`, every look at the steady clock finds it that much later.
    std::chrono::steady_clock::time_point SteadyNow() const override
    {
        if (steadyStep.count() == 0) return std::chrono::steady_clock::now();
        steady += steadyStep;
        return steady;
    }
    QDateTime now{QDate(2024, 5, 1), QTime(9, 30, 0)};
    std::chrono::milliseconds steadyStep{0};
    mutable std::chrono::steady_clock::time_point steady;
};

// The real engine; while it works on the first file, the window thread runs an action (a click).
class FirstFileActionEngine final : public cipher::CipherEngine {
public:
    explicit FirstFileActionEngine(cipher::CipherEngine& engine) : engine_(engine) {}
    cipher::Outcome Encrypt(const cipher::Key& key, const std::filesystem::path& input,
                            const std::filesystem::path& output) override
    {
        if (action && ++files == actionAtFile) {
            CallOn(*qApp, action);
            action = nullptr;
        }
        return engine_.Encrypt(key, input, output);
    }
    cipher::Outcome Decrypt(const cipher::Key& key, const std::filesystem::path& input,
                            const std::filesystem::path& output) override
    {
        return engine_.Decrypt(key, input, output);
    }
    cipher::Outcome Verify(const cipher::Key& key, const std::filesystem::path& input) override
    {
        return engine_.Verify(key, input);
    }
    void WipeKeys() override { engine_.WipeKeys(); }
    std::uint64_t BytesProcessed() const override { return engine_.BytesProcessed(); }

    std::function<void()> action;
    // The file (counting from 1) at whose start the action runs.
    int actionAtFile = 1;
    int files = 0;

private:
    cipher::CipherEngine& engine_;
};

}  // namespace

class TestFrmReport : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    OperationSetup setup_;
    WorkingValues working_;
    RunState state_;
    test::FakePrompter prompter_;
    SteppingClock clock_;
    std::unique_ptr<cipher::CipherEngine> engine_;
    std::unique_ptr<FirstFileActionEngine> actionEngine_;
    std::unique_ptr<RunController> controller_;
    cipher::Key key_ = test::EngineKeyOf(std::string(cipher::kKeyLength, 'k'));
    std::unique_ptr<gui::ReportWindow> report_;

    template <typename T>
    T* Child(const char* name)
    {
        return report_->findChild<T*>(QString::fromLatin1(name));
    }
    QString Root() const { return folder_.path() + QLatin1Char('/'); }
    // What the window shows is the report's text without its carriage returns.
    QString Shown() const
    {
        QString text = report_->ReportText();
        return text.remove(QLatin1Char('\r'));
    }

    void WriteFiles(int count)
    {
        for (int i = 0; i < count; ++i) {
            std::ofstream out((Root() + QStringLiteral("f%1.txt").arg(i)).toStdString(), std::ios::binary);
            out << std::string(100 + i, 'p');
        }
    }
    void RunEncryption(std::uint64_t batchBytes = 0)
    {
        state_.request.kind = RunKind::Operation;
        state_.request.inputFolder = state_.request.outputFolder = kyv::platform::FilePath(Root());
        state_.request.inputSpec = QStringLiteral("*.txt");
        state_.request.outputSpec = QStringLiteral("*.enc");
        report_->show();
        OperationContext context{
            setup_, working_, state_, *report_, prompter_, clock_,           actionEngine_.get(),
            &key_,  {},       {},     nullptr,  {},        controller_.get()};
        context.batchBytes = batchBytes;
        ProcessFiles(context);
    }
    // While the engine works on the first file, the window thread runs `action` once.
    void DuringFirstFile(std::function<void()> action) { actionEngine_->action = std::move(action); }

private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
        engine_ = cipher::MakeCipherEngine(cipher::KdfPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}});
    }

    void init()
    {
        QVERIFY(folder_.isValid());
        for (const auto& entry : std::filesystem::directory_iterator(folder_.path().toStdString()))
            std::filesystem::remove_all(entry.path());
        state_ = RunState();
        clock_.steadyStep = std::chrono::milliseconds(0);
        prompter_.messages.clear();
        prompter_.script.clear();
        report_ = std::make_unique<gui::ReportWindow>(state_, setup_, working_, prompter_, clock_);
        actionEngine_ = std::make_unique<FirstFileActionEngine>(*engine_);
        controller_ = std::make_unique<RunController>(&gui::WaitForRunEnd);
        gui::AttachRunController(*controller_, *report_);
    }

    void cleanup()
    {
        controller_.reset();
        report_.reset();
    }

    void reportScreenBeforeAnyRunSaysItIsEmpty()
    {
        report_->ReportScreen();
        QCOMPARE(prompter_.messages.size(), size_t(1));
        QCOMPARE(prompter_.messages[0].text, QStringLiteral("The report screen is empty."));
        QCOMPARE(prompter_.messages[0].title, QStringLiteral("Report screen"));
        QCOMPARE(prompter_.messages[0].icon, MessageIcon::None);
        QVERIFY(!report_->isVisible());
    }

    void aRunShowsItsButtonsThenCloseCopyAndDone()
    {
        WriteFiles(2);
        QString stopCaption, pauseCaption;
        bool closeVisibleDuringRun = true;
        DuringFirstFile([&] {
            stopCaption = Child<QPushButton>("cmdStop")->text();
            pauseCaption = Child<QPushButton>("cmdPauseContinue")->text();
            closeVisibleDuringRun = Child<QPushButton>("cmdClose")->isVisible();
        });
        RunEncryption();
        QCOMPARE(stopCaption, QStringLiteral("Stop at next file"));
        QCOMPARE(pauseCaption, QStringLiteral("Pause at next file"));
        QVERIFY(!closeVisibleDuringRun);
        QVERIFY(Child<QPushButton>("cmdClose")->isVisible());
        QVERIFY(!Child<QPushButton>("cmdStop")->isVisible());
        QVERIFY(Child<QPushButton>("cmdCopyToClipboard")->isVisible());
        QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Done"));
        QCOMPARE(state_.result.filesDone, 2);
        // The window shows the report without its carriage returns.
        QString shown = report_->ReportText();
        shown.remove(QLatin1Char('\r'));
        QCOMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), shown);
        QVERIFY(report_->ReportText().contains(QStringLiteral("Number of files encrypted: 2\r\n")));
        // A short report: the text fits its lines (the heading, two files, an empty line, the totals
        // after an empty line, the date line after another).
        QCOMPARE(report_->ReportLines(), 10);
        QCOMPARE(Child<QPlainTextEdit>("txbText")->height(), gui::Twips(report_->ReportLines() * 260 + 600));

        // "Report screen" shows the same text again.
        const QString before = report_->ReportText();
        report_->hide();
        report_->ReportScreen();
        QVERIFY(report_->isVisible());
        QCOMPARE(report_->ReportText(), before);
        QCOMPARE(Child<QPlainTextEdit>("txbText")->textCursor().position(), 0);
    }

    void pauseDuringAFileWaitsAfterItAndTheWaitIsNotElapsedTime()
    {
        WriteFiles(2);
        DuringFirstFile([&] {
            report_->TogglePause();
            QTimer::singleShot(20, report_.get(), [&] {
                // An hour passes in the pause, and the run goes on even when a check fails.
                const auto resume = qScopeGuard([&] {
                    clock_.now = clock_.now.addSecs(3600);
                    report_->TogglePause();
                });
                // The pause begins once the file being worked on is finished.
                QTRY_COMPARE_WITH_TIMEOUT(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Paused"),
                                          10000);
                // (The run's counts reach the window's state when the run ends: one file's result is here.)
                QCOMPARE(int(QFile::exists(Root() + QStringLiteral("f0.enc"))) +
                             int(QFile::exists(Root() + QStringLiteral("f1.enc"))),
                         1);
                QCOMPARE(Child<QPushButton>("cmdPauseContinue")->text(), QStringLiteral("Continue"));
                QCOMPARE(Child<QPushButton>("cmdStop")->text(), QStringLiteral("Stop"));
            });
        });
        RunEncryption();
        QCOMPARE(state_.result.filesDone, 2);
        QCOMPARE(state_.pausedSeconds, 3600.0);
        QVERIFY(!report_->ReportText().contains(QStringLiteral("Elapsed time")));
        QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Done"));
    }

    void stopWhilePausedEndsTheRunWithoutDone()
    {
        WriteFiles(3);
        DuringFirstFile([&] {
            report_->TogglePause();
            QTimer::singleShot(20, report_.get(), [&] { report_->Stop(); });
        });
        RunEncryption();
        QCOMPARE(state_.result.filesProcessed, 1);
        QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Stopped"));
        QVERIFY(!QFile::exists(Root() + QStringLiteral("f1.enc")) ||
                !QFile::exists(Root() + QStringLiteral("f2.enc")));
    }

    void aPauseToldAfterStopLeavesStopped()
    {
        report_->show();
        (void)report_->Deliver(RunStartedEvent{});
        report_->TogglePause();
        report_->Stop();
        // The walk looked at Pause before the Stop reached it.
        (void)report_->Deliver(StatusEvent{RunStatus::Paused});
        QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Stopped"));
    }

    void closingDuringARunStopsAfterTheCurrentFile()
    {
        WriteFiles(3);
        DuringFirstFile([&] { report_->close(); });
        RunEncryption();
        QCOMPARE(state_.result.filesProcessed, 1);
        QCOMPARE(state_.result.filesDone, 1);
        QVERIFY(!report_->isVisible());
    }

    void copiesTheWholeReportOrTheSelection()
    {
        WriteFiles(1);
        RunEncryption();
        auto* copy = Child<QPushButton>("cmdCopyToClipboard");
        auto* text = Child<QPlainTextEdit>("txbText");
        report_->CopySelection();
        QCOMPARE(QGuiApplication::clipboard()->text(), report_->ReportText());

        QTextCursor selection = text->textCursor();
        selection.setPosition(0);
        selection.setPosition(10, QTextCursor::KeepAnchor);
        text->setTextCursor(selection);
        QTest::mouseRelease(text->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(copy->text(), QStringLiteral("Copy selected text to clipboard"));
        QCOMPARE(copy->width(), gui::Twips(3165));
        report_->CopySelection();
        QCOMPARE(QGuiApplication::clipboard()->text(), report_->ReportText().left(10));
        QCOMPARE(copy->text(), QStringLiteral("Copy to clipboard"));
        QCOMPARE(copy->width(), gui::Twips(2115));
    }

    void aFullReportAsksAndGoesOnWithoutLines()
    {
        WriteFiles(12);
        report_->SetCapacity(400);
        prompter_.Answer(MessageAnswer::Ok).Answer(MessageAnswer::Yes);
        RunEncryption();
        QCOMPARE(state_.result.filesDone, 12);
        QVERIFY(
            report_->ReportText().endsWith(QStringLiteral("but results will not be reported here.\r\n\r\n")));
        QCOMPARE(prompter_.messages.back().title, QStringLiteral("Report buffer full"));
    }

    void takingTextBackKeepsWindowAndReportInStep()
    {
        report_->show();
        // During a run the window catches up with the report at the ticks of its scroll clock.
        QVERIFY(report_->Deliver(RunStartedEvent{}));
        QVERIFY(report_->Deliver(
            FolderStartedEvent{true, QStringLiteral("*.txt"), platform::FilePath(QStringLiteral("/data/"))}));
        const QString folderLine = QStringLiteral("Encrypting *.txt in /data/\r\n");
        QVERIFY(report_->Deliver(FileStartedEvent{QStringLiteral("name"), 5}));
        ProgressEvent begins;
        begins.of = ProgressEvent::Of::FileWorkBegins;
        QVERIFY(report_->Deliver(begins));
        const QString started = folderLine + FileLineStart(QStringLiteral("name")) + FileLengthText(5);
        QCOMPARE(report_->ReportText(), started + FileProgressText(true));
        QTRY_COMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), Shown());
        FileResult file;
        file.inputName = file.outputName = QStringLiteral("name");
        file.inputLength = 5;
        file.outputLength = 13;
        file.inPlace = true;
        QVERIFY(report_->Deliver(FileFinishedEvent{file}));
        const QString finished = started + FileOutcomeText(file) + QStringLiteral("\r\n");
        QCOMPARE(report_->ReportText(), finished);
        QTRY_COMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), Shown());
        QCOMPARE(report_->ReportLines(), 2);
        // The room made in a full report is cut across line ends, each CR LF as a whole.
        QVERIFY(
            report_->Deliver(ReportTextEvent{{QString(kRoomForClosingLines - 5, QLatin1Char('x')), "abc"}}));
        QCOMPARE(report_->ReportLines(), 3);
        QVERIFY(report_->Deliver(ReportTextEvent{{QString()}, ReportTextEvent::Place::InRoomMade}));
        QCOMPARE(report_->ReportText(), finished);
        QTRY_COMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), Shown());
        QCOMPARE(report_->ReportLines(), 2);
    }

    // A dialog in front stops the caret's moves to the end, not the text.
    void whileADialogIsInFrontTheCaretStaysWhereItIs()
    {
        auto* text = Child<QPlainTextEdit>("txbText");
        report_->show();
        QVERIFY(report_->Deliver(RunStartedEvent{}));
        QVERIFY(report_->Deliver(ReportTextEvent{{QStringLiteral("first"), QString()}}));
        QTRY_COMPARE(text->toPlainText(), Shown());
        QTextCursor start = text->textCursor();
        start.movePosition(QTextCursor::Start);
        text->setTextCursor(start);
        QDialog dialog(report_.get());
        dialog.setModal(true);
        dialog.show();
        QVERIFY(report_->Deliver(ReportTextEvent{{QStringLiteral("second"), QString()}}));
        QTRY_COMPARE(text->toPlainText(), Shown());
        QTest::qWait(300);
        QCOMPARE(text->textCursor().position(), 0);
        dialog.hide();
        QTRY_COMPARE(text->textCursor().position(), static_cast<int>(text->toPlainText().size()));
    }

    void aLargeFileShowsItsProgressUntilItIsFinished()
    {
        auto* bar = Child<QProgressBar>("pgbFileProgress");
        report_->show();
        (void)report_->Deliver(RunStartedEvent{});
        ProgressEvent progress;
        progress.of = ProgressEvent::Of::FileBytes;
        progress.fileBytesDone = quint64(3) << 30;
        progress.fileBytesTotal = quint64(6) << 30;
        (void)report_->Deliver(progress);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 500);
        (void)report_->Deliver(FileFinishedEvent{});
        QVERIFY(!bar->isVisible());
    }

    void theBatchsProgressShowsWhileTheRunGoesAndIsGoneAtItsEnd()
    {
        WriteFiles(4);  // 100 + 101 + 102 + 103 bytes
        // The run seems to take 300 ms between two looks at the clock: the meter shows at each file.
        clock_.steadyStep = std::chrono::milliseconds(300);
        bool batchBarShown = false;
        bool fileBarShown = true;
        bool labelShown = true;
        QString barText;
        actionEngine_->actionAtFile = 3;
        DuringFirstFile([&] {
            // The window catches up with the walk while the third file is worked on.
            const auto* bar = Child<QProgressBar>("pgbBatchProgress");
            (void)QTest::qWaitFor([bar] { return bar->value() >= bar->maximum() * 49 / 100; });
            batchBarShown = Child<QProgressBar>("pgbBatchProgress")->isVisible();
            fileBarShown = Child<QProgressBar>("pgbFileProgress")->isVisible();
            labelShown = Child<QLabel>("lblPausedDone")->isVisible();
            barText = Child<QProgressBar>("pgbBatchProgress")->text();
        });
        RunEncryption(406);
        QVERIFY(batchBarShown);
        QVERIFY(!fileBarShown);
        QVERIFY(!labelShown);
        // Two files of four done (the order is the file system's): about half.
        QVERIFY2(barText.startsWith(QStringLiteral("49%")) || barText.startsWith(QStringLiteral("50%")),
                 qPrintable(barText));
        QVERIFY(!Child<QProgressBar>("pgbBatchProgress")->isVisible());
        QVERIFY(Child<QLabel>("lblPausedDone")->isVisible());
        QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Done"));
        // The progress never enters the report.
        QVERIFY(!report_->ReportText().contains(QLatin1Char('%')));
        QCOMPARE(state_.result.filesDone, 4);
    }

    void aStatusTextIsShownOverTheBarsAndTheBatchBarOverTheFileBar()
    {
        auto* batch = Child<QProgressBar>("pgbBatchProgress");
        auto* file = Child<QProgressBar>("pgbFileProgress");
        auto* label = Child<QLabel>("lblPausedDone");
        report_->show();
        QCOMPARE(batch->geometry(), label->geometry());
        (void)report_->Deliver(RunStartedEvent{});
        ProgressEvent fileProgress;
        fileProgress.of = ProgressEvent::Of::FileBytes;
        fileProgress.fileBytesDone = 1;
        fileProgress.fileBytesTotal = 4;
        (void)report_->Deliver(fileProgress);
        QVERIFY(file->isVisible() && !batch->isVisible() && !label->isVisible());
        ProgressEvent batchProgress;
        batchProgress.batch = BatchProgressView{1, 8, std::nullopt, std::nullopt};
        (void)report_->Deliver(batchProgress);
        QVERIFY(batch->isVisible() && !file->isVisible() && !label->isVisible());
        QCOMPARE(batch->value(), 125);
        QCOMPARE(batch->text(), QStringLiteral("12%"));
        (void)report_->Deliver(StatusEvent{RunStatus::Paused});
        QVERIFY(label->isVisible() && !batch->isVisible() && !file->isVisible());
        QCOMPARE(label->text(), QStringLiteral("Paused"));
        (void)report_->Deliver(StatusEvent{RunStatus::None});
        QVERIFY(batch->isVisible() && !label->isVisible());
        (void)report_->Deliver(FileFinishedEvent{});
        QVERIFY(batch->isVisible() && !file->isVisible());
        (void)report_->Deliver(RunFinishedEvent{});
        QVERIFY(label->isVisible() && !batch->isVisible() && !file->isVisible());
    }
};

QTEST_MAIN(TestFrmReport)
#include "test_ReportWindow.moc"
