#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <array>
#include <filesystem>
#include <fstream>

#include "core/common/Clock.h"
#include "core/common/Events.h"
#include "core/common/OperationSetup.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunState.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/common/Twips.h"
#include "gui/operation/frmReport.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;

namespace {

class SteppingClock final : public Clock {
public:
    QDateTime Now() const override { return now; }
    QDateTime now{QDate(2024, 5, 1), QTime(9, 30, 0)};
};

}  // namespace

class TestFrmReport : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    OperationSetup m_setup;
    WorkingValues m_working;
    RunState m_state;
    test::FakePrompter m_prompter;
    SteppingClock m_clock;
    std::unique_ptr<cipher::CipherEngine> m_engine;
    std::array<unsigned char, cipher::kKeyLength> m_key{};
    std::unique_ptr<gui::frmReport> m_report;

    template <typename T>
    T* Child(const char* name)
    {
        return m_report->findChild<T*>(QString::fromLatin1(name));
    }
    QString Root() const { return m_folder.path() + QLatin1Char('/'); }
    void WriteFiles(int count)
    {
        for (int i = 0; i < count; ++i) {
            std::ofstream out((Root() + QStringLiteral("f%1.txt").arg(i)).toStdString(), std::ios::binary);
            out << std::string(100 + i, 'p');
        }
    }
    void RunEncryption()
    {
        m_state.blnPerformingOperation = true;
        m_state.blnGettingInputFilesizes = false;
        m_state.strInputDirpath = m_state.strOutputDirpath = Root();
        m_state.strInputFilespec = QStringLiteral("*.txt");
        m_state.strOutputFilespec = QStringLiteral("*.enc");
        m_report->show();
        OperationContext context{m_setup,        m_working,    m_state,   *m_report, m_prompter, m_clock,
                                 m_engine.get(), m_key.data(), QString(), QString(), nullptr,    {}};
        ProcessFiles(context);
    }
    // The engine call of the first file runs `action` once, while events are processed.
    void DuringFirstFile(std::function<void()> action)
    {
        auto done = std::make_shared<bool>(false);
        SetPendingEventsHandler([this, action, done] {
            if (!*done && m_state.intFilesProcessed == 1) {
                *done = true;
                action();
            }
        });
    }

private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
        m_key.fill('k');
        m_engine =
            cipher::MakeCipherEngine(cipher::KdfPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}});
    }

    void init()
    {
        QVERIFY(m_folder.isValid());
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path().toStdString()))
            std::filesystem::remove_all(entry.path());
        m_state = RunState();
        m_prompter.messages.clear();
        m_prompter.script.clear();
        m_report = std::make_unique<gui::frmReport>(m_state, m_setup, m_working, m_prompter, m_clock);
    }

    void cleanup()
    {
        SetPendingEventsHandler({});
        m_report.reset();
    }

    void reportScreenBeforeAnyRunSaysItIsEmpty()
    {
        m_report->ReportScreen();
        QCOMPARE(m_prompter.messages.size(), size_t(1));
        QCOMPARE(m_prompter.messages[0].text, QStringLiteral("The report screen is empty."));
        QCOMPARE(m_prompter.messages[0].title, QStringLiteral("Report screen"));
        QCOMPARE(m_prompter.messages[0].icon, MessageIcon::None);
        QVERIFY(!m_report->isVisible());
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
        QCOMPARE(m_state.intFilesDone, 2);
        // The window shows the report without its carriage returns.
        QString shown = m_report->ReportText();
        shown.remove(QLatin1Char('\r'));
        QCOMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), shown);
        QVERIFY(m_report->ReportText().contains(QStringLiteral("Number of files encrypted: 2\r\n")));
        // A short report: the text fits its lines.
        QCOMPARE(Child<QPlainTextEdit>("txbText")->height(), gui::Twips(m_state.intReportLines * 260 + 600));

        // "Report screen" shows the same text again.
        const QString before = m_report->ReportText();
        m_report->hide();
        m_report->ReportScreen();
        QVERIFY(m_report->isVisible());
        QCOMPARE(m_report->ReportText(), before);
        QCOMPARE(Child<QPlainTextEdit>("txbText")->textCursor().position(), 0);
    }

    void pauseDuringAFileWaitsAfterItAndTheWaitIsNotElapsedTime()
    {
        WriteFiles(2);
        DuringFirstFile([&] {
            m_report->cmdPauseContinue_Click();
            QTimer::singleShot(20, m_report.get(), [&] {
                QCOMPARE(m_state.intFilesProcessed, 1);
                QCOMPARE(Child<QPushButton>("cmdPauseContinue")->text(), QStringLiteral("Continue"));
                QCOMPARE(Child<QPushButton>("cmdStop")->text(), QStringLiteral("Stop"));
                QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Paused"));
                m_clock.now = m_clock.now.addSecs(3600);
                m_report->cmdPauseContinue_Click();
            });
        });
        RunEncryption();
        QCOMPARE(m_state.intFilesDone, 2);
        QCOMPARE(m_state.sngPausedSeconds, 3600.0);
        QVERIFY(!m_report->ReportText().contains(QStringLiteral("Elapsed time")));
        QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Done"));
    }

    void stopWhilePausedEndsTheRunWithoutDone()
    {
        WriteFiles(3);
        DuringFirstFile([&] {
            m_report->cmdPauseContinue_Click();
            QTimer::singleShot(20, m_report.get(), [&] { m_report->cmdStop_Click(); });
        });
        RunEncryption();
        QCOMPARE(m_state.intFilesProcessed, 1);
        QCOMPARE(Child<QLabel>("lblPausedDone")->text(), QStringLiteral("Stopped"));
        QVERIFY(m_working.blnGenerateNextKey);
        QVERIFY(!QFile::exists(Root() + QStringLiteral("f1.enc")) ||
                !QFile::exists(Root() + QStringLiteral("f2.enc")));
    }

    void closingDuringARunStopsAfterTheCurrentFile()
    {
        WriteFiles(3);
        DuringFirstFile([&] { m_report->close(); });
        RunEncryption();
        QCOMPARE(m_state.intFilesProcessed, 1);
        QCOMPARE(m_state.intFilesDone, 1);
        QVERIFY(!m_report->isVisible());
    }

    void copiesTheWholeReportOrTheSelection()
    {
        WriteFiles(1);
        RunEncryption();
        auto* copy = Child<QPushButton>("cmdCopyToClipboard");
        auto* text = Child<QPlainTextEdit>("txbText");
        m_report->cmdCopyToClipboard_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), m_report->ReportText());

        QTextCursor selection = text->textCursor();
        selection.setPosition(0);
        selection.setPosition(10, QTextCursor::KeepAnchor);
        text->setTextCursor(selection);
        QTest::mouseRelease(text->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(copy->text(), QStringLiteral("Copy selected text to clipboard"));
        QCOMPARE(copy->width(), gui::Twips(3165));
        m_report->cmdCopyToClipboard_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), m_report->ReportText().left(10));
        QCOMPARE(copy->text(), QStringLiteral("Copy to clipboard"));
        QCOMPARE(copy->width(), gui::Twips(2115));
    }

    void aFullReportAsksAndGoesOnWithoutLines()
    {
        WriteFiles(12);
        m_report->SetCapacity(400);
        m_prompter.Answer(MessageAnswer::Ok).Answer(MessageAnswer::Yes);
        RunEncryption();
        QCOMPARE(m_state.intFilesDone, 12);
        QVERIFY(m_report->ReportText().endsWith(
            QStringLiteral("but results will not be reported here.\r\n\r\n")));
        QCOMPARE(m_prompter.messages.back().title, QStringLiteral("Report buffer full"));
    }

    void removingTheProgressTextKeepsWindowAndReportInStep()
    {
        m_report->show();
        QVERIFY(m_report->AppendReport(QStringLiteral("line one\r\nname   "), false));
        QVERIFY(m_report->AppendReport(QStringLiteral("  ... encrypting ... "), true));
        m_report->RemoveReportTail(21);
        QCOMPARE(m_report->ReportText(), QStringLiteral("line one\r\nname   "));
        QCOMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), QStringLiteral("line one\nname   "));
        // A cut across a line end removes the whole CR LF.
        m_report->RemoveReportTail(9);
        QCOMPARE(m_report->ReportText(), QStringLiteral("line one"));
        QCOMPARE(Child<QPlainTextEdit>("txbText")->toPlainText(), QStringLiteral("line one"));
    }

    void aLargeFileShowsItsProgress()
    {
        auto* bar = Child<QProgressBar>("pgbFileProgress");
        m_report->show();
        m_report->ShowFileProgress(quint64(3) << 30, quint64(6) << 30);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 500);
        m_report->HideFileProgress();
        QVERIFY(!bar->isVisible());
    }
};

QTEST_MAIN(TestFrmReport)
#include "test_frmReport.moc"
