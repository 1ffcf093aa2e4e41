// "Do it!" on the main window: the button's routing, the checks' messages, the switch to
// in-place work shown on the window, the confirmation dialog, and a run.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/launch/LaunchTestDoubles.h"
#include "core/operation/RunController.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/launch/ConfirmationDialog.h"
#include "gui/operation/RunWindowWiring.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

struct Installation : test::TestInstallation {
    QTemporaryDir files;
    test::RecordingReportWindow report;
    test::ScriptedConfirmer confirmer;
    test::ScriptedHelp help;
    std::unique_ptr<MainWindow> window;

    // `ownConfirmation`: the window's own dialog asks before the run.
    explicit Installation(bool ownConfirmation = false, RunController* runController = nullptr)
    {
        window = std::make_unique<MainWindow>(
            context, WindowWiring{.reportWindow = &report,
                                  .confirmer = ownConfirmation ? nullptr : &confirmer,
                                  .runController = runController,
                                  .help = &help});
        if (!window->StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
    }

    QString Root() const { return files.path() + QLatin1Char('/'); }
    void Write(const QString& name, int size) const
    {
        QDir().mkpath(QFileInfo(Root() + name).path());
        QFile file(Root() + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }
    void Select(const QString& inSpec, const QString& outSpec)
    {
        context.setup.folders = {kyv::platform::FilePath(Root()), kyv::platform::FilePath(Root())};
        context.setup.fileSpecs = {inSpec, outSpec};
    }
    void ClickDoIt(Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseRelease(window->Button(MainCommand::DoIt), button);
    }
    QStringList Texts() const
    {
        QStringList texts;
        for (const Message& message : prompter.messages) texts << message.text;
        return texts;
    }
    QString Label(const char* name) const
    {
        auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QString();
    }
};

}  // namespace

class DoItTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void rightClickOpensHelpAboutPerformingTheOperationOnly()
    {
        Installation app;
        QList<HelpTopic> topics;
        app.help.record = [&topics](HelpTopic topic) { topics << topic; };
        app.ClickDoIt(Qt::RightButton);
        QCOMPARE(topics, QList<HelpTopic>({HelpTopic::PerformingTheOperation}));
        QVERIFY(app.prompter.messages.empty());
    }

    void ignoredClicksDoNothing()
    {
        Installation app;
        QList<HelpTopic> sections;
        app.help.record = [&sections](HelpTopic topic) { sections << topic; };
        app.context.values.ignoreClicks = true;
        app.ClickDoIt();
        app.ClickDoIt(Qt::RightButton);
        QVERIFY(app.prompter.messages.empty());
        QVERIFY(sections.isEmpty());
    }

    void everyCheckSpeaksInOrder()
    {
        Installation app;
        app.ClickDoIt();
        app.context.setup.folders[kInputSide] = kyv::platform::FilePath(app.Root() + "empty/");
        app.context.setup.fileSpecs[kInputSide] = "*.txt";
        QDir().mkpath(app.Root() + "empty");
        app.ClickDoIt();
        app.Write("top/lower/a.txt", 3);
        app.context.setup.folders[kInputSide] = kyv::platform::FilePath(app.Root() + "top/");
        app.ClickDoIt();
        app.Write("top/b.txt", 3);
        app.ClickDoIt();
        test::TypeKey(app.context.key, "a key of twenty ch");
        app.ClickDoIt();
        app.context.setup.folders[kOutputSide] = kyv::platform::FilePath(app.Root() + "top/");
        app.context.setup.fileSpecs[kOutputSide] = "*.enc";
        app.context.setup.includeSubfolders = true;
        app.ClickDoIt();

        QCOMPARE(app.Texts(),
                 QStringList({"Input file(s) not specified.",
                              "The input folder contains no matching files and no subfolders.",
                              "The input folder contains no matching files.",
                              "Please specify the encryption key.", "Output file(s) not specified.",
                              "If subfolders are included then the output files must be the same as "
                              "the input files."}));
        QCOMPARE(app.prompter.messages[3].title, QStringLiteral("Encryption key not specified"));
        QCOMPARE(app.report.shows, 0);
        QVERIFY(app.confirmer.asked.empty());
    }

    // A setup may have come from a file someone else wrote: it is checked again here, whatever
    // way it came in, before the input files are even looked at.
    void aSetupThatWouldWorkOutsideItsFoldersIsRefused_data()
    {
        QTest::addColumn<QString>("inputFolder");
        QTest::addColumn<QString>("outputFolder");
        QTest::addColumn<QString>("outputSpec");
        QTest::addColumn<QString>("message");
        QTest::newRow("parent in the file specification")
            << ""
            << ""
            << "../*.enc"
            << "The output file specification ../*.enc would write "
               "outside the output folder.";
        QTest::newRow("folder in the file specification")
            << ""
            << ""
            << "sub/*.enc"
            << "The output file specification sub/*.enc would write "
               "outside the output folder.";
        QTest::newRow("relative output folder") << ""
                                                << "out/"
                                                << "*.enc"
                                                << "The output folder out/ is not a full path (it is "
                                                   "relative or holds \"..\").";
        QTest::newRow("climbing input folder") << "sub/../"
                                               << ""
                                               << "*.enc"
                                               << "The input folder ROOTsub/../ is not a full path (it is "
                                                  "relative or holds \"..\").";
    }

    void aSetupThatWouldWorkOutsideItsFoldersIsRefused()
    {
        QFETCH(QString, inputFolder);
        QFETCH(QString, outputFolder);
        QFETCH(QString, outputSpec);
        QFETCH(QString, message);
        Installation app;
        app.Write("sub/a.txt", 10);
        test::TypeKey(app.context.key, "a key of twenty ch");
        app.Select("*.txt", outputSpec);
        app.context.setup.folders[kInputSide] = kyv::platform::FilePath(app.Root() + inputFolder);
        if (!outputFolder.isEmpty())
            app.context.setup.folders[kOutputSide] = kyv::platform::FilePath(outputFolder);
        app.ClickDoIt();
        QCOMPARE(app.Texts(), QStringList{QString(message).replace("ROOT", app.Root())});
        QCOMPARE(app.prompter.messages.front().title, QStringLiteral("Error"));
        QCOMPARE(app.report.shows, 0);
        QCOMPARE(QDir(app.Root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"sub"});
        QCOMPARE(QDir(app.Root() + "sub").entryList(QDir::Files), QStringList{"a.txt"});
    }

    // The equal specification turns "Output file(s) same?" on through its command, so the window
    // shows it, and the subfolder check then passes.
    void equalSpecificationTurnsInPlaceOnTheWindow()
    {
        Installation app;
        app.Write("a.TXT", 10);
        app.Select("*.txt", "*.TXT");
        test::TypeKey(app.context.key, "sixteen chars ok");
        app.context.setup.includeSubfolders = true;
        QCOMPARE(app.Label("lblOutputFilesSame"), QStringLiteral("No"));

        app.ClickDoIt();

        QVERIFY(app.prompter.messages.empty());
        QVERIFY(app.context.setup.inPlace);
        QCOMPARE(app.Label("lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(app.confirmer.asked.size(), std::size_t(1));
        QCOMPARE(app.confirmer.asked[0].description,
                 "Encrypting *.txt in the folder " + app.Root() +
                     " (1 file) and in all lower subfolders.  The output file will have the same name as the "
                     "input file (so the input file will be overwritten)");
        QCOMPARE(app.report.shows, 1);
        QCOMPARE(app.report.state.result.filesDone, 1);
    }

    void theMainWindowsDialogDescribesAndAnswers_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one file, yes") << 1 << true
                                       << "Encrypting *.txt in the folder %1 (1 file) .  The output file is "
                                          "specified as *.enc in the same folder";
        QTest::newRow("several files, no")
            << 3 << false
            << "Encrypting *.txt in the folder %1 (3 files) .  The output files are "
               "specified as *.enc in the same folder";
    }
    void theMainWindowsDialogDescribesAndAnswers()
    {
        QFETCH(int, files);
        QFETCH(bool, answer);
        QFETCH(QString, expected);
        Installation app(true);
        for (int i = 0; i < files; ++i) app.Write(QStringLiteral("f%1.txt").arg(i), 100);
        app.Select("*.txt", "*.enc");
        test::TypeKey(app.context.key, "sixteen chars ok");
        QString shownDescription;
        QString shownQuestion;
        QPoint shownAt;
        // Answers once the dialog is up (the launch handles events while it counts files first).
        QTimer answering;
        answering.setInterval(5);
        QObject::connect(&answering, &QTimer::timeout, [&] {
            auto* dialog = app.window->findChild<ConfirmationDialog*>();
            if (dialog == nullptr || !dialog->isVisible()) return;
            answering.stop();
            shownDescription = dialog->findChild<QLabel*>("lblDescr")->text();
            shownQuestion = dialog->findChild<QLabel*>("lblPerformOperation")->text();
            shownAt = dialog->pos();
            dialog->findChild<QPushButton*>(answer ? "cmdYes" : "cmdNo")->click();
        });
        answering.start();
        app.ClickDoIt();

        QCOMPARE(shownDescription, expected.arg(app.Root()));
        QCOMPARE(shownQuestion, QStringLiteral("Perform this encryption operation?"));
        auto* dialog = app.window->findChild<ConfirmationDialog*>();
        QCOMPARE(shownAt, ConfirmationDialog::Placement(app.window->frameGeometry(),
                                                        app.window->findChild<QFrame*>("fraMenu")->x(),
                                                        dialog->frameGeometry().height()));
        QCOMPARE(app.report.shows, answer ? 1 : 0);
        QCOMPARE(app.report.state.result.filesDone, answer ? files : 0);
        QCOMPARE(app.engine.lastKeyLength, answer ? std::size_t(64) : std::size_t(0));
    }

    void aLaunchDuringARunDoesNothing()
    {
        Installation app;
        app.Write("a.txt", 10);
        app.Select("*.txt", "*.enc");
        test::TypeKey(app.context.key, "sixteen chars ok");
        app.report.state.control.runInProgress = true;
        app.report.state.request.inputFolder = "/running/";
        app.ClickDoIt();
        QVERIFY(app.confirmer.asked.empty());
        QCOMPARE(app.report.state.request.inputFolder.Text(), QStringLiteral("/running/"));
    }

    // As the program runs it: the size pass and the run go to the controller's worker while the
    // window keeps its events, and "Do it!" during the run does nothing.
    void aRunGoesToTheWorkerWhileTheWindowKeepsItsEvents()
    {
        RunController controller(&WaitForRunEnd);
        Installation app(false, &controller);
        app.Write("a.txt", 10);
        app.Write("b.txt", 10);
        app.Select("*.txt", "*.enc");
        test::TypeKey(app.context.key, "sixteen chars ok");
        std::atomic<int> callsOnWindowThread{0};
        std::atomic<int> ticks{0};
        // Each call lasts until the window's timer has ticked five times (a minute at most), which
        // it does only while the window keeps its events.
        app.engine.duringCall = [&](const std::filesystem::path&) {
            if (QThread::currentThread() == app.window->thread()) ++callsOnWindowThread;
            const int before = ticks;
            for (int wait = 0; wait < 60000 && ticks - before < 5; ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        };
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (++ticks == 2) app.window->Click(MainCommand::DoIt);
        });
        timer.start(10);
        app.ClickDoIt();
        timer.stop();
        QCOMPARE(app.report.state.result.filesDone, 2);
        QCOMPARE(callsOnWindowThread.load(), 0);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks.load())));
        QCOMPARE(app.confirmer.asked.size(), std::size_t(1));
        QVERIFY(!app.report.state.control.runInProgress);
    }

    void aRunStoppedByTheDiskCheckDuringAReliabilityTestAbortsTheTest()
    {
        Installation app;
        app.Write("a.txt", 4096);
        app.Select("*.txt", "*.enc");
        test::TypeKey(app.context.key, "sixteen chars ok");
        app.report.state.control.reliabilityTestRunning = true;
        app.freeSpace.bytes = 1024;
        app.ClickDoIt();
        QVERIFY(app.window->reliabilityLaunchAbandoned);
        QVERIFY(app.confirmer.asked.empty());
        QCOMPARE(app.prompter.messages.back().title, QStringLiteral("Insufficient disk space"));
    }
};

QTEST_MAIN(DoItTest)
#include "test_DoIt.moc"
