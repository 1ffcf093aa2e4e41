// Each file dialog and folder browser of the main window opens where the user is working: the
// input folder, the output folder, or the folder of the keyfile last chosen.

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;
using Kind = test::FakeFileDialogs::Kind;

namespace {

struct Program {
    test::TestInstallation installation;
    QTemporaryDir input;
    QTemporaryDir output;
    QTemporaryDir keys;
    MainWindow window{installation.context};

    Program()
    {
        if (!window.StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
    }
    QString Input() const { return input.path() + u'/'; }
    QString Output() const { return output.path() + u'/'; }
    void Click(MainCommand command)
    {
        installation.context.values.ignoreClicks = false;
        QTest::mouseRelease(window.Button(command), Qt::LeftButton);
    }
    void Press(MainCommand panel, const char* button)
    {
        Click(panel);
        auto* pressed = window.findChild<QPushButton*>(QString::fromLatin1(button));
        if (pressed == nullptr) QTest::qFail(button, __FILE__, __LINE__);
        pressed->click();
    }
};

using Step = std::function<void(Program&)>;

}  // namespace

Q_DECLARE_METATYPE(Step)

class DialogStartFoldersTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void eachDialogOpensWhereTheUserIsWorking_data()
    {
        QTest::addColumn<Step>("setUp");
        QTest::addColumn<Step>("command");
        QTest::addColumn<QString>("startsIn");  // "input", "output" or "keys"
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("nameMayBeNew");
        const Step both = [](Program& p) {
            p.installation.context.setup.folders = {kyv::platform::FilePath(p.Input()),
                                                    kyv::platform::FilePath(p.Output())};
        };
        const Step inputOnly = [](Program& p) {
            p.installation.context.setup.folders = {kyv::platform::FilePath(p.Input()),
                                                    kyv::platform::FilePath()};
        };
        const Step keyfileChosen = [](Program& p) {
            p.installation.context.setup.folders = {kyv::platform::FilePath(p.Input()),
                                                    kyv::platform::FilePath(p.Output())};
            p.installation.context.key.SetKeyfilePath(
                kyv::platform::FilePath(p.keys.path() + QStringLiteral("/old.key")));
        };
        const auto click = [](MainCommand command) {
            return Step([command](Program& p) { p.Click(command); });
        };
        const auto press = [](MainCommand panel, const char* button) {
            return Step([panel, button](Program& p) { p.Press(panel, button); });
        };
        const int open = int(Kind::Open), save = int(Kind::Save), folder = int(Kind::Folder);
        QTest::newRow("single file") << both << click(MainCommand::SingleFile) << "input" << open << false;
        QTest::newRow("input folder")
            << both << click(MainCommand::InputFolder) << "input" << folder << false;
        QTest::newRow("output folder")
            << both << click(MainCommand::OutputFolder) << "output" << folder << false;
        QTest::newRow("output folder not yet set")
            << inputOnly << click(MainCommand::OutputFolder) << "input" << folder << false;
        QTest::newRow("get key from keyfile")
            << both << press(MainCommand::KeyFrom, "cmdKeyFile_0") << "input" << open << true;
        QTest::newRow("create random key")
            << both << press(MainCommand::KeyFrom, "cmdKeyFile_1") << "input" << open << true;
        QTest::newRow("get key, a keyfile chosen before")
            << keyfileChosen << press(MainCommand::KeyFrom, "cmdKeyFile_0") << "keys" << open << true;
        QTest::newRow("load setup") << both << press(MainCommand::Setup, "cmdLoadSetup") << "input" << open
                                    << false;
        QTest::newRow("save setup as operation file") << both << Step([](Program& p) {
            p.Press(MainCommand::Setup, "cmdSaveSetup");
            p.window.findChild<QPushButton*>(QStringLiteral("cmdSaveSetupAsOperationFile"))->click();
        }) << "input" << save << false;
    }

    void eachDialogOpensWhereTheUserIsWorking()
    {
        QFETCH(Step, setUp);
        QFETCH(Step, command);
        QFETCH(QString, startsIn);
        QFETCH(int, kind);
        QFETCH(bool, nameMayBeNew);
        Program program;
        setUp(program);
        program.installation.fileDialogs.Cancel();
        command(program);
        const auto& requests = program.installation.fileDialogs.requests;
        QCOMPARE(requests.size(), std::size_t(1));
        QCOMPARE(int(requests[0].kind), kind);
        const QString expected = startsIn == u"input"    ? program.Input()
                                 : startsIn == u"output" ? program.Output()
                                                         : program.keys.path() + u'/';
        QCOMPARE(requests[0].request.folder, expected);
        QCOMPARE(requests[0].request.mode == OpenMode::NameMayBeNew, nameMayBeNew);
    }
};

QTEST_MAIN(DialogStartFoldersTest)
#include "test_DialogStartFolders.moc"
