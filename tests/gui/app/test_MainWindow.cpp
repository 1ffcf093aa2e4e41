#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "core/common/Clock.h"
#include "core/setup/SetupFile.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/keys/KeyPanel.h"
#include "gui/operation/ReportWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// A program folder with the shipped texts and an empty application-data folder.
struct Installation : test::TestInstallation {
    using TestInstallation::TestInstallation;
    QString NextRunPath() const { return appData.filePath("KyvCipher/kyve.opn"); }
};

QString LabelText(const QWidget& window, const char* name)
{
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

}  // namespace

class FrmMainTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void firstStartShowsTheStartSetup()
    {
        Installation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        QCOMPARE(window.windowTitle(), QStringLiteral("Kyv Cipher"));
        const OperationSetup& setup = installation.context.setup;
        QVERIFY(setup.Encrypts());
        QVERIFY(!setup.includeSubfolders);
        QVERIFY(!setup.inPlace);
        QCOMPARE(LabelText(window, "lblFunction"), QStringLiteral("Encryption"));
        QCOMPARE(LabelText(window, "lblFunction2"), QStringLiteral("(Encrypt the input files.)"));
        QCOMPARE(LabelText(window, "lblSubdirectories"), QStringLiteral("No"));
        QCOMPARE(LabelText(window, "lblOutputFilesSame"), QStringLiteral("No"));
        QCOMPARE(LabelText(window, "lblDirectory_0"), QStringLiteral("Not specified"));
        QCOMPARE(LabelText(window, "lblFiles_1"), QStringLiteral("Not specified"));
        QCOMPARE(LabelText(window, "lblKeyFrom"), QStringLiteral("Not specified"));
        QCOMPARE(LabelText(window, "lblSingleFile"),
                 QStringLiteral("To encrypt multiple files specify input folder and input files."));
        QCOMPARE(window.Button(MainCommand::KeyFrom)->text(), QStringLiteral("Encryption key"));
        QVERIFY(QDir(installation.appData.filePath("KyvCipher")).exists());
        QVERIFY(installation.prompter.messages.empty());
    }

    void theFifteenButtonsInOrder()
    {
        Installation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        const char* expected[][2] = {
            {"cmdFunction", "Function"},
            {"cmdSingleFile", "Single file"},
            {"cmdSpecifyDirectory_0", "Input folder"},
            {"cmdSpecifyFiles_0", "Input file(s)"},
            {"cmdSubdirectories", "Subfolders?"},
            {"cmdOutputFilesSame", "Output file(s) same?"},
            {"cmdSpecifyDirectory_1", "Output folder"},
            {"cmdSpecifyFiles_1", "Output file(s)"},
            {"cmdKeyFrom", "Encryption key"},
            {"cmdRandomnessReport", "Randomness report"},
            {"cmdDoIt", "Do it!"},
            {"cmdReportScreen", "Report screen"},
            {"cmdSetup", "Setup"},
            {"cmdHelp", "Help"},
            {"cmdQuit", "Quit"},
        };
        int previousTop = -1;
        for (const auto& [name, caption] : expected) {
            auto* button = window.findChild<CommandButton*>(QString::fromLatin1(name));
            QVERIFY2(button != nullptr, name);
            QCOMPARE(button->text(), QString::fromLatin1(caption));
            QVERIFY(button->y() > previousTop);
            previousTop = button->y();
        }
    }

    void nextRunSetupGivesExactlyItsValues()
    {
        Installation installation;
        QDir().mkpath(installation.appData.filePath("KyvCipher"));
        SetupFileContents saved;
        saved.encrypt = false;
        saved.inPlace = true;
        saved.includeSubfolders = true;
        // Subfolders stay on only for an input folder that has subfolders.
        QTemporaryDir data;
        QDir(data.path()).mkdir(QStringLiteral("lower"));
        const QString folder = data.path() + u'/';
        saved.folders = {kyv::platform::FilePath(folder), kyv::platform::FilePath(folder)};
        saved.fileSpecs = {"*.doc", "*.doc"};
        QVERIFY(WriteSetupFile(kyv::platform::FilePath(installation.NextRunPath()), saved));

        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        const OperationSetup& setup = installation.context.setup;
        QVERIFY(!setup.Encrypts());
        QVERIFY(setup.inPlace);
        QVERIFY(setup.includeSubfolders);
        QCOMPARE(LabelText(window, "lblFunction"), QStringLiteral("Decryption"));
        QCOMPARE(LabelText(window, "lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(LabelText(window, "lblSubdirectories"), QStringLiteral("Yes"));
        QCOMPARE(LabelText(window, "lblDirectory_0"), folder);
        QCOMPARE(LabelText(window, "lblFiles_0"), QStringLiteral("*.doc"));
        QCOMPARE(window.Button(MainCommand::KeyFrom)->text(), QStringLiteral("Decryption key"));
    }

    void missingOrHostileProgramTextEndsBeforeTheEngineIsAsked()
    {
        // Missing, or a named pipe in its place that no one writes: a titled message either way,
        // never a wait.
        for (const bool pipe : {false, true}) {
            Installation installation(false);
            const QString path = QDir::toNativeSeparators(installation.program.filePath("kyve.dat"));
            if (pipe) QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            MainWindow window(installation.context);
            QVERIFY(!window.StartUp());
            QCOMPARE(installation.prompter.messages.size(), std::size_t(1));
            const Message& message = installation.prompter.messages.front();
            QCOMPARE(message.text,
                     (pipe ? QStringLiteral("The file containing program text is not a regular file.\n")
                           : QStringLiteral("Cannot open file containing program text.\n")) +
                         path);
            QCOMPARE(message.title, QStringLiteral("Program text error"));
            QCOMPARE(message.icon, MessageIcon::Error);
            QVERIFY(!window.isVisible());
        }
    }

    void refusedBuffersEndWithoutReadingTheSetup()
    {
        Installation installation;
        QDir().mkpath(installation.appData.filePath("KyvCipher"));
        SetupFileContents saved;
        saved.folders = {"/data/", ""};
        QVERIFY(WriteSetupFile(kyv::platform::FilePath(installation.NextRunPath()), saved));

        MainWindow window(installation.context);
        QVERIFY(!window.StartUp(EngineBuffers::Refused));
        QCOMPARE(installation.prompter.messages.size(), std::size_t(1));
        QCOMPARE(installation.prompter.messages.front().text,
                 QStringLiteral("Attempt to allocate buffers was unsuccessful!"));
        QCOMPARE(installation.prompter.messages.front().title, QStringLiteral("Fatal error"));
        QCOMPARE(installation.prompter.messages.front().icon, MessageIcon::Error);
        QCOMPARE(installation.context.setup.folders[0].Text(), QString());
    }

    void closingByTheFrameShutsDownLikeQuit()
    {
        Installation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        KeyState& key = installation.context.key;
        const unsigned char secret[] = "ABCDEFGHIJKLMNOPQRST";
        key.normalizedKey.Assign({secret, 20});
        key.rawKeyBytes.Assign({secret, 20});
        key.digest.Assign({secret, 16});
        key.lastKeyText.Assign({secret, 20});
        key.SetKeyfilePath("/home/user/key.txt");
        window.close();
        QVERIFY(window.ShutDownDone());
        QCOMPARE(installation.engine.keyWipes, 1);
        for (const SecureBytes* bytes :
             {&key.normalizedKey, &key.rawKeyBytes, &key.digest, &key.lastKeyText, &key.keyfilePath}) {
            QVERIFY(!bytes->empty());
            for (unsigned char byte : bytes->View()) QCOMPARE(byte, static_cast<unsigned char>(0));
        }

        Installation second;
        MainWindow other(second.context);
        QVERIFY(other.StartUp());
        QTest::mouseRelease(other.Button(MainCommand::Quit), Qt::LeftButton);
        QVERIFY(other.ShutDownDone());
        QCOMPARE(second.engine.keyWipes, 1);
        other.close();
        QCOMPARE(second.engine.keyWipes, 1);
    }

    void clicksRightAfterAFileDialogAreIgnoredForOneSecond()
    {
        Installation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        // In the first second after start-up a click works.
        QTest::mouseRelease(window.Button(MainCommand::Function), Qt::LeftButton);
        QVERIFY(!installation.context.setup.Encrypts());

        window.IgnoreClicksAfterDialog();
        QTest::mouseRelease(window.Button(MainCommand::Function), Qt::LeftButton);
        QVERIFY(!installation.context.setup.Encrypts());
        QTest::mouseRelease(window.Button(MainCommand::Subdirectories), Qt::RightButton);
        QCOMPARE(window.Help().StartTopic(), HelpTopic::Beginning);

        QTRY_VERIFY_WITH_TIMEOUT(!installation.context.values.ignoreClicks, 30000);
        QTest::mouseRelease(window.Button(MainCommand::Function), Qt::LeftButton);
        QVERIFY(installation.context.setup.Encrypts());
    }

    void aRightClickOpensItsCommandsHelpTopicWhichF1OpensAgain()
    {
        Installation installation;
        test::ScriptedHelp help;
        MainWindow window(installation.context, WindowWiring{.help = &help});
        QVERIFY(window.StartUp());
        QList<HelpTopic> topics;
        help.record = [&topics](HelpTopic topic) { topics << topic; };
        const std::pair<MainCommand, HelpTopic> expected[] = {
            {MainCommand::Function, HelpTopic::Function},
            {MainCommand::SingleFile, HelpTopic::SingleFile},
            {MainCommand::InputFolder, HelpTopic::SpecifyingInputFiles},
            {MainCommand::InputFiles, HelpTopic::SpecifyingInputFiles},
            {MainCommand::Subdirectories, HelpTopic::IncludingSubfolders},
            {MainCommand::OutputFilesSame, HelpTopic::OutputSameAsInput},
            {MainCommand::OutputFolder, HelpTopic::SpecifyingOutputFiles},
            {MainCommand::OutputFiles, HelpTopic::SpecifyingOutputFiles},
            {MainCommand::KeyFrom, HelpTopic::SupplyingTheKey},
            {MainCommand::RandomnessReport, HelpTopic::RandomnessReport},
            {MainCommand::DoIt, HelpTopic::PerformingTheOperation},
            {MainCommand::ReportScreen, HelpTopic::ReportScreen},
            {MainCommand::Setup, HelpTopic::SavingSetup},
            {MainCommand::Help, HelpTopic::UsingHelp},
            {MainCommand::Quit, HelpTopic::Exiting},
        };
        QCOMPARE(int(std::size(expected)), kMainCommandCount);
        for (const auto& [command, topic] : expected) {
            topics.clear();
            QTest::mouseRelease(window.Button(command), Qt::RightButton);
            // F1 opens help where it was opened last: here, the same topic.
            QTest::keyClick(window.Button(command), Qt::Key_F1);
            QCOMPARE(topics, (QList<HelpTopic>{topic, topic}));
        }
        QVERIFY(installation.context.setup.Encrypts());
        QVERIFY(!installation.context.setup.includeSubfolders);
        QVERIFY(!installation.context.setup.inPlace);
        QVERIFY(!window.Keys().PanelWidget()->isVisible());
        QVERIFY(!window.ShutDownDone());

        QTest::mouseRelease(window.Button(MainCommand::Help), Qt::LeftButton);
        QCOMPARE(topics.last(), HelpTopic::Beginning);
        QTest::keyClick(window.Button(MainCommand::DoIt), Qt::Key_F1);
        QCOMPARE(topics.last(), HelpTopic::Beginning);
    }

    void quittingDuringARunWaitsForTheCurrentFile()
    {
        Installation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        RunState& run = installation.context.run;
        run.control.runInProgress = true;
        window.close();
        QVERIFY(run.control.stopRequested);
        QVERIFY(!window.ShutDownDone());
        QTest::qWait(150);
        QCOMPARE(installation.engine.keyWipes, 0);
        run.control.runInProgress = false;
        QTRY_VERIFY_WITH_TIMEOUT(window.ShutDownDone(), 30000);
        QCOMPARE(installation.engine.keyWipes, 1);
    }

    void reportScreenBeforeAnyRunSaysTheReportIsEmpty()
    {
        Installation installation;
        MainWindow window(installation.context);
        const ReportWindow& report = window.Report();
        QVERIFY(window.StartUp());
        QTest::mouseRelease(window.Button(MainCommand::ReportScreen), Qt::LeftButton);
        QCOMPARE(installation.prompter.messages.size(), std::size_t(1));
        QCOMPARE(installation.prompter.messages.front().text, QStringLiteral("The report screen is empty."));
        QCOMPARE(installation.prompter.messages.front().title, QStringLiteral("Report screen"));
        QVERIFY(!report.isVisible());
    }

    void theKeyButtonOpensThePanelOnlyOnALeftRelease()
    {
        Installation installation;
        test::ScriptedHelp help;
        MainWindow window(installation.context, WindowWiring{.help = &help});
        QVERIFY(window.StartUp());
        QList<HelpTopic> topics;
        help.record = [&topics](HelpTopic topic) { topics << topic; };
        QWidget* panel = window.Keys().PanelWidget();
        auto* fraMenu = window.findChild<QWidget*>(QStringLiteral("fraMenu"));
        QTest::mouseRelease(window.Button(MainCommand::KeyFrom), Qt::RightButton);
        QCOMPARE(topics, QList<HelpTopic>{HelpTopic::SupplyingTheKey});
        QVERIFY(!panel->isVisible());
        QVERIFY(fraMenu->isEnabled());

        QTest::mouseRelease(window.Button(MainCommand::KeyFrom), Qt::LeftButton);
        QVERIFY(panel->isVisible());
        QVERIFY(!fraMenu->isEnabled());
        auto* cancel = panel->findChild<QPushButton*>(QStringLiteral("cmdDontSpecifyKeyNow"));
        QVERIFY(cancel != nullptr);
        cancel->click();
        QVERIFY(!panel->isVisible());
        QVERIFY(fraMenu->isEnabled());
        QCOMPARE(LabelText(window, "lblKeyFrom"), QStringLiteral("Not specified"));
    }

    void f1OpensHelpWhereItWasLastOpened()
    {
        Installation installation;
        test::ScriptedHelp help;
        MainWindow window(installation.context, WindowWiring{.help = &help});
        QVERIFY(window.StartUp());
        window.Help().OpenAt(HelpTopic::OutputSameAsInput);
        QList<HelpTopic> topics;
        help.record = [&topics](HelpTopic topic) { topics << topic; };
        CommandButton* function = window.Button(MainCommand::Function);
        QTest::keyClick(function, Qt::Key_F1);
        QVERIFY(installation.context.setup.Encrypts());
        QCOMPARE(topics, QList<HelpTopic>{HelpTopic::OutputSameAsInput});
    }
};

QTEST_MAIN(FrmMainTest)
#include "test_MainWindow.moc"
