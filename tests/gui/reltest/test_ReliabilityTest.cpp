// The reliability test from "Do it!": the dialog, the choices it gives the launch, and whole tests
// through the main window, its clock and the report window, with the real engine at a cheap
// key-derivation cost.

#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/common/Clock.h"
#include "core/launch/LaunchTestDoubles.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/MainWindow.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestClock.h"
#include "gui/reltest/ReliabilityTestDialog.h"
#include "support/ScriptedDialogs.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

const QString kAllIdentical =
    QStringLiteral("All decrypted files were found to be identical with the original files.");

// The program's windows on a folder "kyvtest" with two test files, and a dialog answered by script.
struct Installation : test::TestInstallation {
    QTemporaryDir files;
    test::ScriptedConfirmer confirmer;
    std::unique_ptr<MainWindow> window;
    test::ScriptedDialogs dialogs;
    ReportWindow* report = nullptr;
    std::function<void(ReliabilityTestDialog&)> answer;
    int offers = 0;

    Installation()
        : TestInstallation(true, cipher::MakeCipherEngine(
                                     cipher::KdfPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}}))
    {
        QVERIFY(realEngine != nullptr);
        window =
            std::make_unique<MainWindow>(context, WindowWiring{.confirmer = &confirmer, .dialogs = &dialogs});
        if (!window->StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
        report = &window->Report();
        dialogs.answer = [this](QDialog& dialog) {
            auto* offer = qobject_cast<ReliabilityTestDialog*>(&dialog);
            if (offer == nullptr || !answer) return;
            ++offers;
            offer->show();
            answer(*offer);
            offer->hide();
        };
        // Performances follow each other without the slow clock's seconds.
        window->findChild<ReliabilityTestClock*>()->setInterval(10);

        QDir().mkpath(Folder());
        Write("a.tst", "first test file");
        Write("b.tst", "the second test file");
        context.setup.folders = {kyv::platform::FilePath(Folder()), kyv::platform::FilePath(Folder())};
        context.setup.fileSpecs = {"*.tst", "*.enc"};
        test::TypeKey(context.key, "sixteen chars ok");
    }

    QString Folder() const { return files.path() + QStringLiteral("/kyvtest/"); }
    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Folder() + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList Names() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }
    void DoIt() { window->Click(MainCommand::DoIt); }
    template <typename T>
    T* Child(QWidget* parent, const char* name) const
    {
        return parent->findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace

class TestReliabilityTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogTakesDigitsOnlyAndEnterContinues()
    {
        ReliabilityTestDialog dialog(nullptr);
        for (const bool inPlace : {true, false}) {
            dialog.Prepare(inPlace);
            dialog.show();
            const QString explanation = dialog.findChild<QLabel*>("lblExplanation1")->text();
            QCOMPARE(explanation.contains(".bak files"), inPlace);
            QCOMPARE(explanation.contains(".dec files"), !inPlace);
            auto* count = dialog.findChild<QLineEdit*>("txbNumTests");
            QCOMPARE(count->text(), QString::fromLatin1(inPlace ? "1" : "12"));
            count->clear();
            QTest::keyClicks(count, "1x2-5 93");
            QCOMPARE(count->text(), QStringLiteral("125"));
            QTest::keyClick(count, Qt::Key_Backspace);
            QTest::keyClick(count, Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
            QVERIFY(!dialog.Result().cancelled);
            QVERIFY(dialog.Result().performTest);
            QCOMPARE(dialog.Result().performances, 12);
        }

        dialog.Prepare(true);
        dialog.show();
        QVERIFY2(dialog.Result().cancelled, "closing counts as Cancel until Continue");
        dialog.findChild<QRadioButton*>("optNo")->click();
        QVERIFY(dialog.findChild<QLineEdit*>("txbNumTests")->isHidden());
        dialog.close();
        QVERIFY(dialog.Result().cancelled);
    }

    void anEmptyCountOrCancelEncryptsNothingAndNoJustEncryptAsksAndEncrypts()
    {
        struct Case {
            const char* name;
            std::function<void(ReliabilityTestDialog&)> answer;
            bool encrypted;
        };
        const Case cases[] = {
            {"empty count",
             [](ReliabilityTestDialog& d) {
                 d.findChild<QLineEdit*>("txbNumTests")->clear();
                 d.Continue();
             },
             false},
            {"cancel", [](ReliabilityTestDialog& d) { d.Cancel(); }, false},
            {"no, just encrypt",
             [](ReliabilityTestDialog& d) {
                 d.findChild<QRadioButton*>("optNo")->click();
                 d.Continue();
             },
             true},
        };
        for (const Case& c : cases) {
            Installation app;
            app.answer = c.answer;
            app.DoIt();
            QCOMPARE(app.offers, 1);
            QCOMPARE(app.confirmer.asked.size(), std::size_t(c.encrypted ? 1 : 0));
            QCOMPARE(app.Names(), c.encrypted ? QStringList({"a.enc", "a.tst", "b.enc", "b.tst"})
                                              : QStringList({"a.tst", "b.tst"}));
            QCOMPARE(app.report->ReportText().contains("Encrypting *.tst"), c.encrypted);
            QVERIFY2(app.prompter.messages.empty(), c.name);
        }
    }

    void twoPerformancesReportTwiceAndClosingTheReportRestoresTheSetup()
    {
        Installation app;
        app.answer = [](ReliabilityTestDialog& d) {
            d.findChild<QLineEdit*>("txbNumTests")->setText("2");
            d.Continue();
        };
        const OperationSetup before = app.context.setup;
        app.DoIt();

        const QString text = app.report->ReportText();
        QVERIFY2(text.startsWith("Reliability test #2 of 2\r\n2 test files in " + app.Folder()),
                 qPrintable(text));
        QVERIFY2(text.endsWith("The reliability test was performed twice.\r\n" + kAllIdentical),
                 qPrintable(text));
        QCOMPARE(app.report->windowTitle(),
                 QStringLiteral("Comparison of decrypted files with original files"));
        QVERIFY(app.report->isVisible());
        QVERIFY(app.Child<QPushButton>(app.report, "cmdClose")->isVisibleTo(app.report));
        QVERIFY(app.Child<QPushButton>(app.report, "cmdStop")->isHidden());
        QCOMPARE(app.Names(), QStringList({"a.dec", "a.enc", "a.tst", "b.dec", "b.enc", "b.tst"}));
        QVERIFY(app.confirmer.asked.empty());
        QVERIFY(app.window->findChild<QFrame*>("fraMenu")->isEnabled());
        QVERIFY(app.Child<QLabel>(app.window.get(), "lblPerformingReliabilityTest")->isHidden());
        QCOMPARE(app.context.setup.fileSpecs, before.fileSpecs);
        QCOMPARE(app.context.key.source, NotSpecified);
        QCOMPARE(app.Child<QLabel>(app.window.get(), "lblKeyFrom")->text(), QStringLiteral("Not specified"));

        app.context.setup.fileSpecs[kOutputSide] = "*.xyz";
        app.report->CloseWindow();
        QCOMPARE(app.context.setup.fileSpecs, before.fileSpecs);
        QCOMPARE(app.Child<QLabel>(app.window.get(), "lblFiles_1")->text(), QStringLiteral("*.enc"));
    }

    void stopDuringThePauseEndsTheTestAndRestoresTheSetup()
    {
        Installation app;
        app.window->findChild<ReliabilityTestClock*>()->setInterval(60000);
        app.answer = [](ReliabilityTestDialog& d) {
            d.findChild<QLineEdit*>("txbNumTests")->setText("3");
            d.Continue();
        };
        QTimer stopInPause;
        QObject::connect(&stopInPause, &QTimer::timeout, [&app] {
            if (app.report->StatusText() == QStringLiteral("Paused")) app.report->Stop();
        });
        stopInPause.start(5);
        const OperationSetup before = app.context.setup;
        app.DoIt();
        stopInPause.stop();

        QVERIFY2(app.report->ReportText().endsWith("\r\nOK so far ... "),
                 qPrintable(app.report->ReportText()));
        QCOMPARE(app.report->StatusText(), QStringLiteral("Stopped"));
        QCOMPARE(app.context.setup.fileSpecs, before.fileSpecs);
        QCOMPARE(app.context.setup.direction, Direction::Encrypt);
        QCOMPARE(app.context.key.source, NotSpecified);
        QVERIFY(app.window->findChild<QFrame*>("fraMenu")->isEnabled());
        QVERIFY(app.Child<QLabel>(app.window.get(), "lblPerformingReliabilityTest")->isHidden());
        QVERIFY(!app.window->findChild<ReliabilityTestClock*>()->isActive());
    }
};

QTEST_MAIN(TestReliabilityTest)
#include "test_ReliabilityTest.moc"
