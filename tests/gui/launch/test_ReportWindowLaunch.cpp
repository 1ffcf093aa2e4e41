// "Do it!" with the program's report window and the real cipher engine (at a cheap derivation
// cost): the window is captioned and shown for the run, the files are encrypted and decrypted
// back, and the copy button is restored afterwards.

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/app/MainWindow.h"
#include "gui/common/Twips.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/ReportWindow.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

class ReportWindowLaunchTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void encryptsAndDecryptsBackThroughTheReportWindow()
    {
        test::TestInstallation installation(true, test::QuickProgramEngine());
        QTemporaryDir files;
        const QString root = files.path() + QLatin1Char('/');
        const QByteArray first = QByteArray("first file\n").repeated(300);
        const QByteArray second = QByteArray(70000, '\x7f');
        for (const auto& [name, bytes] : {std::pair{"a.txt", first}, std::pair{"b.txt", second}}) {
            QFile file(root + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }

        AppContext& context = installation.context;
        test::FakePrompter& prompter = installation.prompter;
        test::ScriptedConfirmer confirmer;
        MainWindow window(context, WindowWiring{.confirmer = &confirmer});
        QVERIFY(window.StartUp());
        const RunState& state = context.run;
        const ReportWindow& report = window.Report();
        test::TypeKey(context.key, "report window key");

        context.setup.folders = {kyv::platform::FilePath(root), kyv::platform::FilePath(root + "enc/")};
        context.setup.fileSpecs = {"*.txt", "*.enc"};
        QDir().mkpath(root + "enc");
        QVERIFY(!report.isVisible());
        window.Click(MainCommand::DoIt);

        QVERIFY2(prompter.messages.empty(),
                 qPrintable(prompter.messages.empty() ? "" : prompter.messages[0].text));
        QVERIFY(report.isVisible());
        QCOMPARE(report.windowTitle(), QStringLiteral("Encrypting *.txt"));
        QCOMPARE(state.result.filesDone, 2);
        QVERIFY(report.ReportText().contains("-> a.enc"));
        QVERIFY(report.ReportText().contains("-> b.enc"));
        auto* copy = report.findChild<QPushButton*>("cmdCopyToClipboard");
        QVERIFY(copy != nullptr);
        QCOMPARE(copy->text(), QStringLiteral("Copy to clipboard"));
        QCOMPARE(copy->width(), Twips(2115));

        window.Click(MainCommand::Function);
        QVERIFY(!context.setup.Encrypts());
        context.setup.folders = {kyv::platform::FilePath(root + "enc/"),
                                 kyv::platform::FilePath(root + "back/")};
        context.setup.fileSpecs = {"*.enc", "*.txt"};
        QDir().mkpath(root + "back");
        window.Click(MainCommand::DoIt);

        QCOMPARE(report.windowTitle(), QStringLiteral("Decrypting *.enc"));
        QCOMPARE(state.result.filesDone, 2);
        for (const auto& [name, bytes] : {std::pair{"a.txt", first}, std::pair{"b.txt", second}}) {
            QFile file(root + "back/" + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), bytes);
        }
        window.Click(MainCommand::Quit);
    }
};

QTEST_MAIN(ReportWindowLaunchTest)
#include "test_ReportWindowLaunch.moc"
