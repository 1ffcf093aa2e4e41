#include <QApplication>
#include <QClipboard>
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
#include <filesystem>
#include <fstream>

#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunController.h"
#include "core/operation/RunState.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/common/Twips.h"
#include "gui/operation/ReportWindow.h"
#include "gui/operation/RunWindowWiring.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;

namespace {

class SteppingClock final : public Clock {
public:
    QDateTime Now() const override { return now; }
    QDateTime now{QDate(2024, 5, 1), QTime(9, 30, 0)};
};

// The real engine; while it works on the first file, the window thread runs an action (a click).
class FirstFileActionEngine final : public cipher::CipherEngine {
public:
    explicit FirstFileActionEngine(cipher::CipherEngine& engine) : engine_(engine) {}
    bool AllocateBuffers() override { return engine_.AllocateBuffers(); }
    void DeallocateBuffers() override { engine_.DeallocateBuffers(); }
    void OperationInitialization(const unsigned char* key, std::size_t keyLength, bool encrypt,
                                 std::uint64_t inputLength) override
    {
        engine_.OperationInitialization(key, keyLength, encrypt, inputLength);
    }
    cipher::CipherResult EncryptFile(const std::filesystem::path& input,
                                     const std::filesystem::path& output) override
    {
        if (action) {
            QMetaObject::invokeMethod(qApp, action, Qt::BlockingQueuedConnection);
            action = nullptr;
        }
        return engine_.EncryptFile(input, output);
    }
    cipher::CipherResult DecryptFile(const std::filesystem::path& input,
                                     const std::filesystem::path& output) override
    {
        return engine_.DecryptFile(input, output);
    }
    cipher::CipherResult VerifyFile(const std::filesystem::path& input) override
    {
        return engine_.VerifyFile(input);
    }
    std::uint64_t BytesProcessed() const override { return engine_.BytesProcessed(); }
    std::uint64_t OutputLength() const override { return engine_.OutputLength(); }

    std::function<void()> action;

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
    std::array<unsigned char, cipher::kKeyLength> key_{};
    std::unique_ptr<gui::ReportWindow> report_;

    template <typename T>
    T* Child(const char* name)
    {
        return report_->findChild<T*>(QString::fromLatin1(name));
    }
    QString Root() const { return folder_.path() + QLatin1Char('/'); }
    void WriteFiles(int count)
    {
        for (int i = 0; i < count; ++i) {
            std::ofstream out((Root() + QStringLiteral("f%1.txt").arg(i)).toStdString(), std::ios::binary);
            out << std::string(100 + i, 'p');
        }
    }
    void RunEncryption()
    {
        state_.request.kind = RunKind::Operation;
        state_.request.inputFolder = state_.request.outputFolder = Root();
        state_.request.inputSpec = QStringLiteral("*.txt");
        state_.request.outputSpec = QStringLiteral("*.enc");
        report_->show();
        OperationContext context{
            setup_,      working_,  state_,    *report_, prompter_, clock_,           actionEngine_.get(),
            key_.data(), QString(), QString(), nullptr,  {},        controller_.get()};
        ProcessFiles(context);
    }
    // While the engine works on the first file, the window thread runs `action` once.
    void DuringFirstFile(std::function<void()> action) { actionEngine_->action = std::move(action); }

private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
        key_.fill('k');
        engine_ = cipher::MakeCipherEngine(cipher::KdfPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}});
    }

    void init()
    {
        QVERIFY(folder_.isValid());
        for (const auto& entry : std::filesystem::directory_iterator(folder_.path().toStdString()))
            std::filesystem::remove_all(entry.path());
        state_ = RunState();
        prompter_.messages.clear();
        prompter_.script.clear();
        report_ = std::make_unique<gui::ReportWindow>(state_, setup_, working_, prompter_, clock_);
        actionEngine_ = std::make_unique<FirstFileActionEngine>(*engine_);
        controller_ = std::make_unique<RunController>();
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
        // A short report: the text fits its lines.
        QCOMPARE(Child<QPlainTextEdit>("txbText")->height(), gui::Twips(state_.reportLines * 260 + 600));

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
                QCOMPARE(state_.result.filesProcessed, 1);
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

    void removingTheProgressTextKeepsWindowAndReportInStep()
    {
        report_->show();
        QVERIFY(report_->AppendReport(QStringLiteral("line one\r\nname   "), false));
        QVERIFY(report_->AppendReport(QStringLiteral("  ... encrypting ... "), true));
        report_->RemoveReportTail(21);
        QCOMPARE(report_->ReportText(), QStringLiteral("line one\r\nname   "));
        QCOMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), QStringLiteral("line one\nname   "));
        // A cut across a line end removes the whole CR LF.
        report_->RemoveReportTail(9);
        QCOMPARE(report_->ReportText(), QStringLiteral("line one"));
        QCOMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), QStringLiteral("line one"));
    }

    void aLargeFileShowsItsProgress()
    {
        auto* bar = Child<QProgressBar>("pgbFileProgress");
        report_->show();
        report_->ShowFileProgress(quint64(3) << 30, quint64(6) << 30);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 500);
        report_->HideFileProgress();
        QVERIFY(!bar->isVisible());
    }
};

QTEST_MAIN(TestFrmReport)
#include "test_ReportWindow.moc"
