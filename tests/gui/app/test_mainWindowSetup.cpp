#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/setup/SetupFile.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

QString LabelText(const QWidget& window, const char* name)
{
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

QPushButton* PanelButton(const QWidget& window, const char* name)
{
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    if (button == nullptr) QTest::qFail(name, __FILE__, __LINE__);
    return button;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A data folder with one subfolder, so that "Subfolders?" may be switched on for it.
struct DataFolder {
    QTemporaryDir dir;
    DataFolder() { QDir(dir.path()).mkdir(QStringLiteral("lower")); }
    QString Path() const { return dir.path() + u'/'; }
};

// A started main window with the setup panel's buttons at hand.
struct Started {
    test::TestInstallation installation;
    MainWindow window{installation.context};
    OperationSetup& setup = installation.context.setup;

    Started()
    {
        if (!window.StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
    }
    // "Setup", then a button of the panels.
    void Use(std::initializer_list<const char*> buttons)
    {
        QTest::mouseRelease(window.Button(MainCommand::Setup), Qt::LeftButton);
        for (const char* name : buttons) PanelButton(window, name)->click();
    }
    QString Label(const char* name) const { return LabelText(window, name); }
    QWidget* Widget(const char* name) const { return window.findChild<QWidget*>(QString::fromLatin1(name)); }
    // Decrypt, in place, with subfolders, all .doc files of `folder`.
    void ChooseDecryptInPlace(const QString& folder)
    {
        setup.folders = {folder, folder};
        setup.fileSpecs = {"*.doc", "*.doc"};
        window.ApplySetupFlags(Direction::Decrypt, true, true);
    }
    // The setup panel is closed and the window is as before it opened.
    void CheckPanelClosed() const
    {
        QVERIFY(!Widget("fraSetup")->isVisible());
        QVERIFY(!Widget("picSaveSetup")->isVisible());
        QVERIFY(Widget("fraMenu")->isEnabled());
        QVERIFY(Widget("lblSetupFilename")->isVisible());
        QCOMPARE(window.focusWidget(), window.Button(MainCommand::Setup));
    }
};

}  // namespace

class MainWindowSetupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void restoreReturnsToTheStartUpSetupWhileClicksAreIgnored()
    {
        test::TestInstallation installation;
        DataFolder data;
        QDir().mkpath(installation.appData.filePath("KyvCipher"));
        SetupFileContents saved;
        saved.encrypt = false;
        saved.inPlace = true;
        saved.includeSubfolders = true;
        saved.folders = {data.Path(), data.Path()};
        saved.fileSpecs = {"*.doc", "*.doc"};
        QVERIFY(WriteSetupFile(installation.appData.filePath("KyvCipher/kyve.opn"), saved));
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());

        OperationSetup& setup = installation.context.setup;
        QTest::mouseRelease(window.Button(MainCommand::Function), Qt::LeftButton);
        QTest::mouseRelease(window.Button(MainCommand::Subdirectories), Qt::LeftButton);
        // A folder without subfolders does not keep "Subfolders?" from coming back on.
        QTemporaryDir elsewhere;
        setup.folders = {elsewhere.path() + u'/', "/other/"};
        setup.fileSpecs = {"*.txt", "*.enc"};
        installation.context.key.source = KeyboardEntry;
        window.Model().Labels().setupFileText = QStringLiteral("/setups/daily.opn");
        window.IgnoreClicksAfterDialog();

        window.RestoreSetup();
        QVERIFY(!setup.Encrypts());
        QVERIFY(setup.inPlace);
        QVERIFY(setup.includeSubfolders);
        QCOMPARE(setup.folders, saved.folders);
        QCOMPARE(setup.fileSpecs, saved.fileSpecs);
        QCOMPARE(LabelText(window, "lblFunction"), QStringLiteral("Decryption"));
        QCOMPARE(LabelText(window, "lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(LabelText(window, "lblSubdirectories"), QStringLiteral("Yes"));
        QCOMPARE(LabelText(window, "lblDirectory_1"), data.Path());
        QCOMPARE(LabelText(window, "lblFiles_0"), QStringLiteral("*.doc"));
        QCOMPARE(installation.context.key.source, NotSpecified);
        QCOMPARE(LabelText(window, "lblKeyFrom"), QStringLiteral("Not specified"));
        QCOMPARE(LabelText(window, "lblSetupFilename"), QStringLiteral("/setups/daily.opn"));
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("fraMenu"))->isEnabled());
        QVERIFY(installation.prompter.messages.empty());
    }

    void flagsAreAppliedThroughTheCommandsInTheirOrder()
    {
        test::TestInstallation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        OperationSetup& setup = installation.context.setup;
        DataFolder data;
        setup.folders = {data.Path(), "/out/"};
        setup.fileSpecs = {"*.doc", "*.enc"};
        // Subfolders switched on makes the output side the input side, whatever came before.
        window.ApplySetupFlags(Direction::Decrypt, false, true);
        QVERIFY(!setup.Encrypts());
        QVERIFY(setup.includeSubfolders);
        QVERIFY(setup.inPlace);
        QCOMPARE(setup.folders[kOutputSide], data.Path());
        QCOMPARE(setup.fileSpecs[kOutputSide], QStringLiteral("*.doc"));
        QCOMPARE(LabelText(window, "lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(window.Button(MainCommand::KeyFrom)->text(), QStringLiteral("Decryption key"));
    }

    void theSetupCommandOpensThePanelUnlessClicksAreIgnored()
    {
        Started app;
        app.window.show();
        app.installation.context.values.ignoreClicks = true;
        QTest::mouseRelease(app.window.Button(MainCommand::Setup), Qt::LeftButton);
        QVERIFY(!app.Widget("fraSetup")->isVisible());
        app.installation.context.values.ignoreClicks = false;
        QTest::mouseRelease(app.window.Button(MainCommand::Setup), Qt::LeftButton);
        QVERIFY(app.Widget("fraSetup")->isVisible());
        QVERIFY(!app.Widget("fraMenu")->isEnabled());
        QVERIFY(!app.Widget("lblSetupFilename")->isVisible());
        QCOMPARE(app.window.focusWidget(), PanelButton(app.window, "cmdSaveSetup"));
        // Beside the command column, not over it.
        QVERIFY(app.Widget("fraSetup")->x() > app.Widget("fraMenu")->geometry().right());
        PanelButton(app.window, "cmdSaveSetup")->click();
        QVERIFY(!app.Widget("fraSetup")->isVisible());
        QVERIFY(app.Widget("picSaveSetup")->isVisible());
        QCOMPARE(app.window.focusWidget(), PanelButton(app.window, "cmdSaveSetupForNextRun"));
        PanelButton(app.window, "cmdDontSaveSetup")->click();
        app.CheckPanelClosed();
        app.Use({"cmdKeepSetup"});
        app.CheckPanelClosed();
    }

    // Saved as an operation file and loaded back, the setup shows in all three labels, also though
    // the load comes while clicks are still ignored after the file dialog.
    void aSavedSetupLoadsBackExactly()
    {
        Started app;
        app.window.show();
        DataFolder data;
        app.ChooseDecryptInPlace(data.Path());
        const QString path = data.dir.filePath("daily.opn");
        app.installation.fileDialogs.Choose(path);
        app.Use({"cmdSaveSetup", "cmdSaveSetupAsOperationFile"});
        const QByteArray quoted = '"' + data.Path().toLocal8Bit() + '"';
        QCOMPARE(Contents(path), "9.77\r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n" + quoted + "\r\n\"*.doc\"\r\n" +
                                     quoted + "\r\n\"*.doc\"\r\n");
        QCOMPARE(app.Label("lblSetupFilename"), path);
        const auto& request = app.installation.fileDialogs.requests.back();
        QCOMPARE(request.kind, test::FakeFileDialogs::Kind::Save);
        QCOMPARE(request.request.title, QStringLiteral("Specify operation file to be saved"));
        QCOMPARE(request.request.filter, QStringLiteral("Operation files (*.opn) | *.opn"));
        QVERIFY(app.installation.context.values.ignoreClicks);
        app.CheckPanelClosed();

        app.Use({"cmdClearSetup"});
        QVERIFY(app.setup.Encrypts());
        QCOMPARE(app.Label("lblSetupFilename"), QString());
        app.installation.context.values.ignoreClicks = false;
        app.installation.fileDialogs.Choose(path);
        app.Use({"cmdLoadSetup"});
        QVERIFY(app.installation.context.values.ignoreClicks);
        QCOMPARE(app.installation.fileDialogs.requests.back().request.title,
                 QStringLiteral("Specify operation file to be loaded"));
        QVERIFY(!app.setup.Encrypts());
        QVERIFY(app.setup.inPlace);
        QVERIFY(app.setup.includeSubfolders);
        QCOMPARE(app.setup.folders, (std::array<QString, 2>{data.Path(), data.Path()}));
        QCOMPARE(app.Label("lblFunction"), QStringLiteral("Decryption"));
        QCOMPARE(app.Label("lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(app.Label("lblSubdirectories"), QStringLiteral("Yes"));
        QCOMPARE(app.Label("lblFiles_0"), QStringLiteral("*.doc"));
        QCOMPARE(app.Label("lblSetupFilename"), path);
        app.CheckPanelClosed();
        QVERIFY(app.installation.prompter.messages.empty());

        // The load took a snapshot: "Restore setup" comes back to the loaded setup.
        QTest::mouseRelease(app.window.Button(MainCommand::Function), Qt::LeftButton);
        app.installation.context.values.ignoreClicks = false;
        app.Use({"cmdRestoreSetup"});
        QVERIFY(!app.setup.Encrypts());
    }

    void clearThenRestoreBringsTheSetupBackButNotTheKey()
    {
        Started app;
        DataFolder data;
        app.ChooseDecryptInPlace(data.Path());
        app.installation.context.key.source = KeyboardEntry;
        app.Use({"cmdClearSetup"});
        QVERIFY(app.setup.Encrypts());
        QVERIFY(!app.setup.inPlace);
        QVERIFY(!app.setup.includeSubfolders);
        QCOMPARE(app.setup.folders, (std::array<QString, 2>{}));
        QCOMPARE(app.Label("lblDirectory_0"), QStringLiteral("Not specified"));
        QCOMPARE(app.installation.context.key.source, NotSpecified);
        app.CheckPanelClosed();

        app.installation.context.key.source = KeyboardEntry;
        app.Use({"cmdRestoreSetup"});
        QVERIFY(!app.setup.Encrypts());
        QVERIFY(app.setup.inPlace);
        QVERIFY(app.setup.includeSubfolders);
        QCOMPARE(app.setup.fileSpecs, (std::array<QString, 2>{"*.doc", "*.doc"}));
        QCOMPARE(app.Label("lblFiles_1"), QStringLiteral("*.doc"));
        QCOMPARE(app.installation.context.key.source, NotSpecified);
        QCOMPARE(app.Label("lblKeyFrom"), QStringLiteral("Not specified"));
        app.CheckPanelClosed();
    }

    void nothingIsWrittenWhenTheSaveIsNotWanted_data()
    {
        QTest::addColumn<bool>("dialogCancelled");
        QTest::addColumn<int>("answer");
        QTest::newRow("dialog cancelled") << true << 0;
        QTest::newRow("No to overwriting") << false << int(MessageAnswer::No);
        QTest::newRow("Cancel to overwriting") << false << int(MessageAnswer::Cancel);
    }

    void nothingIsWrittenWhenTheSaveIsNotWanted()
    {
        QFETCH(bool, dialogCancelled);
        QFETCH(int, answer);
        Started app;
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.opn");
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("not to be replaced");
        existing.close();
        app.window.Model().Labels().setupFileText = QStringLiteral("/before.opn");
        app.window.RestoreSetup();
        if (dialogCancelled) {
            app.installation.fileDialogs.Cancel();
        } else {
            app.installation.fileDialogs.Choose(path);
            app.installation.prompter.Answer(MessageAnswer(answer));
        }
        app.Use({"cmdSaveSetup", "cmdSaveSetupAsOperationFile"});
        QCOMPARE(Contents(path), QByteArray("not to be replaced"));
        QCOMPARE(app.Label("lblSetupFilename"), QStringLiteral("/before.opn"));
        QCOMPARE(app.installation.context.values.ignoreClicks, !dialogCancelled);
        if (!dialogCancelled) {
            const Message& question = app.installation.prompter.messages.back();
            QCOMPARE(question.text, "Overwrite existing file " + path + "?");
            QCOMPARE(question.title, QStringLiteral("File exists"));
            QCOMPARE(question.buttons, MessageButtons::YesNoCancel);
        }
        app.CheckPanelClosed();
    }

    void failuresSayWhyAndLeaveTheSetup_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("missing") << QByteArray() << "File PATH not found!"
                                 << "Error when attempting to load setup.";
        QTest::newRow("eight lines")
            << QByteArray("9.77\r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"\"\r\n")
            << "Error when attempting to load setup from file PATH!"
            << "Error";
        QTest::newRow("writes above its folder")
            << QByteArray(
                   "9.77\r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n\"/a/\"\r\n\"*.*\"\r\n\"/a/\"\r\n\"../*.enc\"\r\n")
            << "The setup in file PATH is refused: The output file specification ../*.enc would write "
               "outside the output folder."
            << "Error";
    }

    void failuresSayWhyAndLeaveTheSetup()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text);
        QFETCH(QString, title);
        Started app;
        DataFolder data;
        app.ChooseDecryptInPlace(data.Path());
        app.window.SnapshotSetup();
        const SetupSnapshot before = SnapshotOf(app.setup);
        app.window.Model().Labels().setupFileText = QStringLiteral("/before.opn");
        app.window.RestoreSetup();
        const QString path = data.dir.filePath("setup.opn");
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        app.installation.fileDialogs.Choose(path);
        app.Use({"cmdLoadSetup"});
        QCOMPARE(app.installation.prompter.messages.size(), std::size_t(1));
        QCOMPARE(app.installation.prompter.messages.front().text, text.replace("PATH", path));
        QCOMPARE(app.installation.prompter.messages.front().title, title);
        QCOMPARE(app.installation.prompter.messages.front().icon, MessageIcon::Exclamation);
        QCOMPARE(SnapshotOf(app.setup), before);
        QCOMPARE(app.Label("lblSetupFilename"), QStringLiteral("/before.opn"));
        app.CheckPanelClosed();
    }

    void savingForTheNextRunKeepsTheLabelAndSaysWhenItCannot()
    {
        Started app;
        app.window.Model().Labels().setupFileText = QStringLiteral("/before.opn");
        app.window.RestoreSetup();
        app.Use({"cmdSaveSetup", "cmdSaveSetupForNextRun"});
        QVERIFY(ReadSetupFile(app.installation.context.values.nextRunSetupPath).has_value());
        QVERIFY(app.installation.prompter.messages.empty());
        app.installation.context.values.nextRunSetupPath = app.installation.appData.filePath("none/kyve.opn");
        app.Use({"cmdSaveSetup", "cmdSaveSetupForNextRun"});
        QCOMPARE(app.installation.prompter.messages.size(), std::size_t(1));
        QCOMPARE(app.installation.prompter.messages.front().text, QStringLiteral("Cannot save setup!"));
        QCOMPARE(app.installation.prompter.messages.front().title, QStringLiteral("Error"));
        QCOMPARE(app.Label("lblSetupFilename"), QStringLiteral("/before.opn"));
        app.CheckPanelClosed();
    }

    // A named pipe in the next-run setup's place would wait for a writer that never comes.
    void aPipeAsTheNextRunSetupDoesNotHoldUpStartUp()
    {
        test::TestInstallation installation;
        QDir().mkpath(installation.appData.filePath("KyvCipher"));
        QVERIFY(::mkfifo(QFile::encodeName(installation.appData.filePath("KyvCipher/kyve.opn")).constData(),
                         0600) == 0);
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        QVERIFY(installation.context.setup.Encrypts());
        QVERIFY(installation.prompter.messages.empty());
    }
};

QTEST_MAIN(MainWindowSetupTest)
#include "test_mainWindowSetup.moc"
