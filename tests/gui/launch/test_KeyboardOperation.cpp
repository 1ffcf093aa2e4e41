// One whole operation with the keyboard alone, as a user without a mouse does it: no mouse event
// and no call of a command, only keys sent to the control that has the focus. Function, Single file
// (the file dialog answered by the fake), Output file(s), the key typed without display, "Do it!",
// the confirmation and the report window's Close; the file ends up encrypted with the typed key.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "../keys/ModalScript.h"
#include "engine/cipher/Key.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/ReportWindow.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// The widget a keyboard would type into: the focus of the active modal window, else of `window`.
QWidget* Focused(QWidget* window)
{
    if (QWidget* modal = QApplication::activeModalWidget()) return modal->focusWidget();
    return window->focusWidget();
}

void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = Focused(window);
    QVERIFY2(target != nullptr, "no control has the focus");
    QTest::keyClick(target, key, modifiers);
}

void Type(QWidget* window, const QString& text)
{
    QWidget* target = Focused(window);
    QVERIFY2(target != nullptr, "no control has the focus");
    QTest::keyClicks(target, text);
}

// Tab until the control named `name` has the focus (at most one round through the window).
void TabTo(QWidget* window, const QString& name)
{
    for (int step = 0; step < 40; ++step) {
        QWidget* focused = Focused(window);
        if (focused != nullptr && focused->objectName() == name) return;
        Press(window, Qt::Key_Tab);
    }
    QFAIL(qPrintable(QStringLiteral("Tab never reached ") + name));
}

QString FocusName(QWidget* window)
{
    QWidget* focused = Focused(window);
    return focused != nullptr ? focused->objectName() : QString();
}

}  // namespace

class KeyboardOperationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void encryptsOneFileWithKeysOnly()
    {
        test::TestInstallation installation(true, test::QuickProgramEngine());
        QTemporaryDir files;
        const QString root = files.path() + QLatin1Char('/');
        const QByteArray plain = QByteArray("a letter typed without a mouse\n").repeated(100);
        {
            QFile file(root + "letter.txt");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(plain);
        }

        AppContext& context = installation.context;
        test::FakePrompter& prompter = installation.prompter;
        test::FakeFileDialogs& fileDialogs = installation.fileDialogs;
        MainWindow window(context);
        QVERIFY(window.StartUp());
        ReportWindow& report = window.Report();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The start-up guard's second is over.
        QTRY_VERIFY(!context.values.ignoreClicks);

        // Function: the focus starts on it; Space switches to decryption and Enter back.
        QCOMPARE(FocusName(&window), QStringLiteral("cmdFunction"));
        Press(&window, Qt::Key_Space);
        QVERIFY(!context.setup.Encrypts());
        Press(&window, Qt::Key_Return);
        QVERIFY(context.setup.Encrypts());

        // Single file, through the file dialog.
        Press(&window, Qt::Key_Tab);
        QCOMPARE(FocusName(&window), QStringLiteral("cmdSingleFile"));
        fileDialogs.Choose(root + "letter.txt");
        Press(&window, Qt::Key_Space);
        QCOMPARE(context.setup.fileSpecs[kInputSide], QStringLiteral("letter.txt"));
        // For a second after a file dialog, keys are ignored as clicks are.
        QVERIFY(context.values.ignoreClicks);
        Press(&window, Qt::Key_Space);
        QCOMPARE(fileDialogs.requests.size(), std::size_t{1});
        QTRY_VERIFY(!context.values.ignoreClicks);

        // Output file(s): the extension typed in its box, Enter accepts.
        TabTo(&window, QStringLiteral("cmdSpecifyFiles_1"));
        kyv::test::WhenShown(QStringLiteral("frmSpecifyOutputFiles"), [&](QWidget* dialog) {
            TabTo(dialog, QStringLiteral("txbExtension"));
            Type(dialog, QStringLiteral("enc"));
            Press(dialog, Qt::Key_Return);
        });
        Press(&window, Qt::Key_Space);
        QCOMPARE(context.setup.fileSpecs[kOutputSide], QStringLiteral("letter.enc"));

        // Encryption key, typed twice without display; the inspection is declined by the prompter.
        Press(&window, Qt::Key_Tab);
        QCOMPARE(FocusName(&window), QStringLiteral("cmdKeyFrom"));
        Press(&window, Qt::Key_Enter);
        QCOMPARE(FocusName(&window), QStringLiteral("cmdKeyboardWithDisplay"));
        Press(&window, Qt::Key_Tab);
        QCOMPARE(FocusName(&window), QStringLiteral("cmdKeyboardWithoutDisplay"));
        const QString typedKey = QStringLiteral("keys only, no mouse at all");
        prompter.script.push_back(MessageAnswer::No);
        kyv::test::WhenShown(QStringLiteral("frmKeyboardWithoutDisplay"), [&](QWidget* dialog) {
            QCOMPARE(FocusName(dialog), QStringLiteral("txbKey_0"));
            Type(dialog, typedKey);
            Press(dialog, Qt::Key_Tab);
            QCOMPARE(FocusName(dialog), QStringLiteral("txbKey_1"));
            Type(dialog, typedKey);
            Press(dialog, Qt::Key_Tab);
            QCOMPARE(FocusName(dialog), QStringLiteral("cmdOK"));
            Press(dialog, Qt::Key_Return);
        });
        Press(&window, Qt::Key_Return);
        QCOMPARE(context.key.source, KeyboardEntry);
        QCOMPARE(FocusName(&window), QStringLiteral("cmdKeyFrom"));

        // "Do it!", and Yes in the confirmation.
        TabTo(&window, QStringLiteral("cmdDoIt"));
        bool confirmationSeen = false;
        kyv::test::WhenShown(QStringLiteral("frmConfirmOperation"), [&](QWidget* dialog) {
            confirmationSeen = true;
            TabTo(dialog, QStringLiteral("cmdYes"));
            Press(dialog, Qt::Key_Space);
        });
        Press(&window, Qt::Key_Return);
        QVERIFY(confirmationSeen);
        QVERIFY2(prompter.messages.size() == 1,
                 qPrintable(prompter.messages.empty() ? QString() : prompter.messages.back().text));
        QVERIFY(report.isVisible());
        QTRY_COMPARE(context.run.result.filesDone, 1);

        // The report window's Close.
        report.activateWindow();
        TabTo(&report, QStringLiteral("cmdClose"));
        Press(&report, Qt::Key_Space);
        QVERIFY(!report.isVisible());

        // Encrypted with the typed key as the launch lengthened it to 64 characters.
        QFile encrypted(root + "letter.enc");
        QVERIFY(encrypted.open(QIODevice::ReadOnly));
        QVERIFY(encrypted.readAll() != plain);
        QByteArray key = typedKey.toUpper().remove(QLatin1Char(' ')).toLatin1();
        key = key.repeated(4).left(64);
        const std::optional<cipher::Key> engineKey = cipher::Key::Copy(
            {reinterpret_cast<const unsigned char*>(key.constData()), static_cast<std::size_t>(key.size())});
        QVERIFY(engineKey.has_value());
        QVERIFY(
            installation.EngineInUse().Verify(*engineKey, std::filesystem::path(root.toStdString() + "letter.enc")).Succeeded());
    }
};

QTEST_MAIN(KeyboardOperationTest)
#include "test_KeyboardOperation.moc"
