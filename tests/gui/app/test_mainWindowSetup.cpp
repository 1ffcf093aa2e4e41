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

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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

    explicit Started(const std::function<void(test::TestInstallation&)>& beforeStartUp = {})
    {
        if (beforeStartUp) beforeStartUp(installation);
        if (!window.StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
    }
    // "Setup", then a button of the panels.
    void Use(std::initializer_list<const char*> buttons)
    {
        QTest::mouseRelease(window.Button(MainCommand::Setup), Qt::LeftButton);
        for (const char* name : buttons) Button(name)->click();
    }
    QPushButton* Button(const char* name) const
    {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
        if (button == nullptr) QTest::qFail(name, __FILE__, __LINE__);
        return button;
    }
    QString Label(const char* name) const
    {
        auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
        return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
    }
    QWidget* Widget(const char* name) const { return window.findChild<QWidget*>(QString::fromLatin1(name)); }
    // Decrypt, in place, with subfolders, all .doc files of `folder`.
    void ChooseDecryptInPlace(const QString& folder)
    {
        setup.folders = {kyv::platform::FilePath(folder), kyv::platform::FilePath(folder)};
        setup.fileSpecs = {"*.doc", "*.doc"};
        window.ApplySetupFlags(Direction::Decrypt, true, true);
    }
    // The setup of ChooseDecryptInPlace is back, in the setup and on the window, and no key with it.
    void CheckDecryptInPlace(const QString& folder) const
    {
        QVERIFY(!setup.Encrypts());
        QVERIFY(setup.inPlace);
        QVERIFY(setup.includeSubfolders);
        QCOMPARE(setup.folders, (std::array<kyv::platform::FilePath, 2>{kyv::platform::FilePath(folder),
                                                                        kyv::platform::FilePath(folder)}));
        QCOMPARE(setup.fileSpecs, (std::array<QString, 2>{"*.doc", "*.doc"}));
        QCOMPARE(Label("lblFunction"), QStringLiteral("Decryption"));
        QCOMPARE(Label("lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(Label("lblSubdirectories"), QStringLiteral("Yes"));
        QCOMPARE(Label("lblDirectory_1"), folder);
        QCOMPARE(Label("lblFiles_0"), QStringLiteral("*.doc"));
        QCOMPARE(installation.context.key.source, NotSpecified);
        QCOMPARE(Label("lblKeyFrom"), QStringLiteral("Not specified"));
    }
    // The window shows `name` as its setup file, which an action that fails must leave.
    void ShowSetupFile(const QString& name)
    {
        window.Model().Labels().setupFileText = name;
        window.RestoreSetup();
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
        DataFolder data;
        Started app([&data](test::TestInstallation& installation) {
            SetupFileContents saved;
            saved.encrypt = false;
            saved.inPlace = true;
            saved.includeSubfolders = true;
            saved.folders = {kyv::platform::FilePath(data.Path()), kyv::platform::FilePath(data.Path())};
            saved.fileSpecs = {"*.doc", "*.doc"};
            QDir().mkpath(installation.appData.filePath("KyvCipher"));
            QVERIFY(WriteSetupFile(
                kyv::platform::FilePath(installation.appData.filePath("KyvCipher/kyve.opn")), saved));
        });
        QTest::mouseRelease(app.window.Button(MainCommand::Function), Qt::LeftButton);
        QTest::mouseRelease(app.window.Button(MainCommand::Subdirectories), Qt::LeftButton);
        // A folder without subfolders does not keep "Subfolders?" from coming back on.
        QTemporaryDir elsewhere;
        app.setup.folders = {kyv::platform::FilePath(elsewhere.path() + u'/'), "/other/"};
        app.setup.fileSpecs = {"*.txt", "*.enc"};
        app.installation.context.key.source = KeyboardEntry;
        app.window.Model().Labels().setupFileText = QStringLiteral("/setups/daily.opn");
        app.window.IgnoreClicksAfterDialog();

        app.window.RestoreSetup();
        app.CheckDecryptInPlace(data.Path());
        QCOMPARE(app.Label("lblSetupFilename"), QStringLiteral("/setups/daily.opn"));
        QVERIFY(app.Widget("fraMenu")->isEnabled());
        QVERIFY(app.installation.prompter.messages.empty());
    }

    void flagsAreAppliedThroughTheCommandsInTheirOrder()
    {
        Started app;
        DataFolder data;
        app.setup.folders = {kyv::platform::FilePath(data.Path()), "/out/"};
        app.setup.fileSpecs = {"*.doc", "*.enc"};
        // Subfolders switched on makes the output side the input side, whatever came before.
        app.window.ApplySetupFlags(Direction::Decrypt, false, true);
        QVERIFY(!app.setup.Encrypts());
        QVERIFY(app.setup.includeSubfolders);
        QVERIFY(app.setup.inPlace);
        QCOMPARE(app.setup.folders[kOutputSide].Text(), data.Path());
        QCOMPARE(app.setup.fileSpecs[kOutputSide], QStringLiteral("*.doc"));
        QCOMPARE(app.Label("lblOutputFilesSame"), QStringLiteral("Yes"));
        QCOMPARE(app.window.Button(MainCommand::KeyFrom)->text(), QStringLiteral("Decryption key"));
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
        QCOMPARE(app.window.focusWidget(), app.Button("cmdSaveSetup"));
        // Beside the command column, not over it.
        QVERIFY(app.Widget("fraSetup")->x() > app.Widget("fraMenu")->geometry().right());
        app.Button("cmdSaveSetup")->click();
        QVERIFY(!app.Widget("fraSetup")->isVisible());
        QVERIFY(app.Widget("picSaveSetup")->isVisible());
        QCOMPARE(app.window.focusWidget(), app.Button("cmdSaveSetupForNextRun"));
        app.Button("cmdDontSaveSetup")->click();
        app.CheckPanelClosed();
        app.Use({"cmdKeepSetup"});
        app.CheckPanelClosed();
    }

    // Saved as an operation file, cleared and loaded back, while clicks are still ignored after
    // the file dialog; the load takes a snapshot that "Restore setup" comes back to, without the key.
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

        // Clear drops the setup, its file name and the key.
        app.installation.context.key.source = KeyboardEntry;
        app.Use({"cmdClearSetup"});
        QVERIFY(app.setup.Encrypts());
        QVERIFY(!app.setup.inPlace);
        QVERIFY(!app.setup.includeSubfolders);
        QCOMPARE(app.setup.folders, (std::array<kyv::platform::FilePath, 2>{}));
        QCOMPARE(app.Label("lblDirectory_0"), QStringLiteral("Not specified"));
        QCOMPARE(app.Label("lblSetupFilename"), QString());
        QCOMPARE(app.installation.context.key.source, NotSpecified);
        app.installation.context.values.ignoreClicks = false;
        app.installation.fileDialogs.Choose(path);
        app.Use({"cmdLoadSetup"});
        QVERIFY(app.installation.context.values.ignoreClicks);
        QCOMPARE(app.installation.fileDialogs.requests.back().request.title,
                 QStringLiteral("Specify operation file to be loaded"));
        app.CheckDecryptInPlace(data.Path());
        QCOMPARE(app.Label("lblSetupFilename"), path);
        app.CheckPanelClosed();
        QVERIFY(app.installation.prompter.messages.empty());

        QTest::mouseRelease(app.window.Button(MainCommand::Function), Qt::LeftButton);
        app.installation.context.key.source = KeyboardEntry;
        app.installation.context.values.ignoreClicks = false;
        app.Use({"cmdRestoreSetup"});
        app.CheckDecryptInPlace(data.Path());
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
        WriteFile(path, "not to be replaced");
        app.ShowSetupFile(QStringLiteral("/before.opn"));
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
        app.ShowSetupFile(QStringLiteral("/before.opn"));
        const QString path = data.dir.filePath("setup.opn");
        if (!content.isEmpty()) WriteFile(path, content);
        app.installation.fileDialogs.Choose(path);
        app.Use({"cmdLoadSetup"});
        const auto& messages = app.installation.prompter.messages;
        QCOMPARE(messages.size(), std::size_t(1));
        QCOMPARE(messages.front().text, text.replace("PATH", path));
        QCOMPARE(messages.front().title, title);
        QCOMPARE(messages.front().icon, MessageIcon::Exclamation);
        QCOMPARE(SnapshotOf(app.setup), before);
        QCOMPARE(app.Label("lblSetupFilename"), QStringLiteral("/before.opn"));
        app.CheckPanelClosed();
    }

    void savingForTheNextRunKeepsTheLabelAndSaysWhenItCannot()
    {
        Started app;
        app.ShowSetupFile(QStringLiteral("/before.opn"));
        app.Use({"cmdSaveSetup", "cmdSaveSetupForNextRun"});
        QVERIFY(ReadSetupFile(app.installation.context.values.nextRunSetupPath).has_value());
        QVERIFY(app.installation.prompter.messages.empty());
        app.installation.context.values.nextRunSetupPath =
            kyv::platform::FilePath(app.installation.appData.filePath("none/kyve.opn"));
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
        Started app([](test::TestInstallation& installation) {
            QDir().mkpath(installation.appData.filePath("KyvCipher"));
            QVERIFY(
                ::mkfifo(QFile::encodeName(installation.appData.filePath("KyvCipher/kyve.opn")).constData(),
                         0600) == 0);
        });
        QVERIFY(app.setup.Encrypts());
        QVERIFY(app.installation.prompter.messages.empty());
    }
};

QTEST_MAIN(MainWindowSetupTest)
#include "test_mainWindowSetup.moc"
