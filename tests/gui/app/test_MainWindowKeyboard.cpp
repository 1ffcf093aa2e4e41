// The main window's commands from the keyboard: which keys stand for which mouse button, the
// guard after a file dialog, keys held down or released elsewhere, Escape on each panel, and the
// focus that follows only a pointer that really moves.

#include <QEnterEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "gui/analysis/RandomnessReportPanel.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/keys/KeyPanel.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

void SendKey(QWidget* widget, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers,
             bool autoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(widget, &event);
}

void MovePointer(QWidget* widget, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QString LabelText(const QWidget& window, const char* name)
{
    return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

struct Started {
    test::TestInstallation installation;
    test::ScriptedHelp help;
    MainWindow window{installation.context, WindowWiring{.help = &help}};
    QList<HelpTopic> topics;

    Started()
    {
        if (!window.StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
        help.record = [this](HelpTopic topic) { topics << topic; };
    }
    QFrame* Menu() const { return window.findChild<QFrame*>(QStringLiteral("fraMenu")); }
};

}  // namespace

class MainWindowKeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    // "keys": what reaches the Function button, as press (P) and release (R), a repeated one
    // with "*"; then whether the command was performed (once: twice would look like not at all)
    // and whether help opened at its section.
    void keysStandForTheMouseButtons_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("ignoringClicks");
        QTest::addColumn<int>("performed");
        QTest::addColumn<bool>("help");
        const int none = Qt::NoModifier;
        const int shift = Qt::ShiftModifier;
        QTest::newRow("Space") << int(Qt::Key_Space) << none << "PR" << false << 1 << false;
        QTest::newRow("Return") << int(Qt::Key_Return) << none << "PR" << false << 1 << false;
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "PR" << false << 1 << false;
        QTest::newRow("Space held down") << int(Qt::Key_Space) << none << "PP*R*R" << false << 1 << false;
        QTest::newRow("release alone") << int(Qt::Key_Return) << none << "R" << false << 0 << false;
        QTest::newRow("press alone") << int(Qt::Key_Space) << none << "P" << false << 0 << false;
        QTest::newRow("Shift+F10") << int(Qt::Key_F10) << shift << "PR" << false << 0 << true;
        QTest::newRow("F10 alone") << int(Qt::Key_F10) << none << "PR" << false << 0 << false;
        QTest::newRow("Menu") << int(Qt::Key_Menu) << none << "PR" << false << 0 << true;
        QTest::newRow("Space, clicks ignored") << int(Qt::Key_Space) << none << "PR" << true << 0 << false;
        QTest::newRow("Menu, clicks ignored") << int(Qt::Key_Menu) << none << "PR" << true << 0 << false;
    }

    void keysStandForTheMouseButtons()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, keys);
        QFETCH(bool, ignoringClicks);
        QFETCH(int, performed);
        QFETCH(bool, help);
        Started started;
        started.installation.context.values.ignoreClicks = ignoringClicks;
        CommandButton* function = started.window.Button(MainCommand::Function);
        for (int i = 0; i < keys.size(); ++i) {
            if (keys[i] == u'*') continue;
            const bool repeated = i + 1 < keys.size() && keys[i + 1] == u'*';
            SendKey(function, keys[i] == u'P' ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key(key),
                    Qt::KeyboardModifiers(modifiers), repeated);
        }
        QCOMPARE(LabelText(started.window, "lblFunction"),
                 performed % 2 == 1 ? QStringLiteral("Decryption") : QStringLiteral("Encryption"));
        QCOMPARE(started.topics, help ? QList<HelpTopic>{HelpTopic::Function} : QList<HelpTopic>{});
    }

    void aKeyPressedElsewhereDoesNotActWhereItIsReleased()
    {
        Started started;
        QVERIFY(QTest::qWaitForWindowActive(&started.window));
        CommandButton* function = started.window.Button(MainCommand::Function);
        CommandButton* help = started.window.Button(MainCommand::Help);
        SendKey(function, QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        // The focus went elsewhere before the release (a window opened, say), and came back.
        help->setFocus(Qt::OtherFocusReason);
        SendKey(help, QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        function->setFocus(Qt::OtherFocusReason);
        SendKey(function, QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QCOMPARE(LabelText(started.window, "lblFunction"), QStringLiteral("Encryption"));
        QVERIFY(started.topics.isEmpty());
    }

    // Escape on each panel does what its "Cancel" or "Not now" does; Enter on a panel's button
    // presses it.
    void escapeAndEnterOnThePanels()
    {
        Started started;
        MainWindow& window = started.window;
        const QString keyLine = LabelText(window, "lblKeyFrom");
        QTest::keyClick(window.Button(MainCommand::KeyFrom), Qt::Key_Space);
        QWidget* keyPanel = window.Keys().PanelWidget();
        QVERIFY(keyPanel->isVisible());
        QVERIFY(!started.Menu()->isEnabled());
        QTest::keyClick(keyPanel->findChild<QPushButton*>(QStringLiteral("cmdEraseKey")), Qt::Key_Escape);
        QVERIFY(!keyPanel->isVisible());
        QVERIFY(started.Menu()->isEnabled());
        QCOMPARE(LabelText(window, "lblKeyFrom"), keyLine);
        QCOMPARE(window.focusWidget(), window.Button(MainCommand::KeyFrom));

        QTest::keyClick(window.Button(MainCommand::KeyFrom), Qt::Key_Return);
        QTest::keyClick(keyPanel->findChild<QPushButton*>(QStringLiteral("cmdDontSpecifyKeyNow")),
                        Qt::Key_Return);
        QVERIFY(!keyPanel->isVisible());
        QVERIFY(started.Menu()->isEnabled());

        AppContext& context = started.installation.context;
        context.setup.folders = {
            kyv::platform::FilePath(started.installation.appData.path() + QLatin1Char('/')),
            kyv::platform::FilePath()};
        context.setup.fileSpecs = {QStringLiteral("*.*"), QString()};
        QTest::keyClick(window.Button(MainCommand::RandomnessReport), Qt::Key_Space);
        RandomnessReportPanel& randomness = window.RandomnessPanel();
        QVERIFY(randomness.isVisible());
        QTest::keyClick(randomness.SideButton(kInputSide), Qt::Key_Escape);
        QVERIFY(!randomness.isVisible());
        QCOMPARE(window.focusWidget(), window.Button(MainCommand::RandomnessReport));

        QTest::keyClick(window.Button(MainCommand::Setup), Qt::Key_Space);
        auto* setupPanel = window.findChild<QWidget*>(QStringLiteral("fraSetup"));
        auto* savePanel = window.findChild<QWidget*>(QStringLiteral("picSaveSetup"));
        QVERIFY(setupPanel->isVisible());
        // Enter on "Save setup" (which has the focus) opens the save panel; Escape closes it.
        QTest::keyClick(window.focusWidget(), Qt::Key_Return);
        QVERIFY(savePanel->isVisible());
        QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
        QVERIFY(!savePanel->isVisible());
        QVERIFY(started.Menu()->isEnabled());
        QCOMPARE(window.focusWidget(), window.Button(MainCommand::Setup));
        QTest::keyClick(window.Button(MainCommand::Setup), Qt::Key_Space);
        QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
        QVERIFY(!setupPanel->isVisible());
        QVERIFY(started.Menu()->isEnabled());
    }

    void theFocusFollowsOnlyAPointerThatMoves()
    {
        Started started;
        MainWindow& window = started.window;
        CommandButton* doIt = window.Button(MainCommand::DoIt);
        QCOMPARE(window.focusWidget(), window.Button(MainCommand::Function));
        // A window shown under a resting pointer: an enter event and a move at the same place.
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), doIt->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(doIt, &enter);
        MovePointer(doIt, QPoint(5, 5));
        QCOMPARE(window.focusWidget(), window.Button(MainCommand::Function));
        MovePointer(doIt, QPoint(9, 6));
        QCOMPARE(window.focusWidget(), doIt);
        // Leaving and coming back to rest on a button is no movement over it either.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(doIt, &leave);
        window.Button(MainCommand::Help)->setFocus(Qt::TabFocusReason);
        MovePointer(doIt, QPoint(9, 6));
        QCOMPARE(window.focusWidget(), window.Button(MainCommand::Help));
        MovePointer(doIt, QPoint(10, 6));
        QCOMPARE(window.focusWidget(), doIt);

        // The key panel's buttons follow the same rule.
        QTest::keyClick(window.Button(MainCommand::KeyFrom), Qt::Key_Space);
        auto* erase = window.Keys().PanelWidget()->findChild<QPushButton*>(QStringLiteral("cmdEraseKey"));
        QCOMPARE(window.focusWidget()->objectName(), QStringLiteral("cmdKeyboardWithDisplay"));
        MovePointer(erase, QPoint(4, 4));
        QCOMPARE(window.focusWidget()->objectName(), QStringLiteral("cmdKeyboardWithDisplay"));
        MovePointer(erase, QPoint(8, 4));
        QCOMPARE(window.focusWidget(), erase);
    }
};

QTEST_MAIN(MainWindowKeyboardTest)
#include "test_MainWindowKeyboard.moc"
