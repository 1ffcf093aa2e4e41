#include <QDir>
#include <QLabel>
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

// A data folder with one subfolder, so that "Subfolders?" may be switched on for it.
struct DataFolder {
    QTemporaryDir dir;
    DataFolder() { QDir(dir.path()).mkdir(QStringLiteral("lower")); }
    QString Path() const { return dir.path() + u'/'; }
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
};

QTEST_MAIN(MainWindowSetupTest)
#include "test_mainWindowSetup.moc"
