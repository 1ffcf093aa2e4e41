// Where the windows go under a real window manager, with real frames: what offscreen tests cannot
// see, since there a window's frame is its inside. Run by run-under-window-manager.sh.

#include <QLabel>
#include <QProcess>
#include <QtTest>

#include "core/keys/KeyInspector.h"
#include "core/common/Clock.h"
#include "core/launch/Confirmer.h"
#include "gui/app/MainWindow.h"
#include "gui/common/Twips.h"
#include "gui/keys/HiddenKeyDialog.h"
#include "gui/keys/ShownKeyDialog.h"
#include "gui/launch/ConfirmationDialog.h"
#include "gui/operation/ReportWindow.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

class NoInspection : public KeyInspector {
public:
    bool InspectKey(const KeyInspectionRequest&) override { return true; }
};

// Shows `window` and waits until the window manager has put its frame around it.
bool ShowFramed(QWidget& window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    QElapsedTimer timer;
    timer.start();
    while (window.frameGeometry() == window.geometry() && timer.elapsed() < 5000) QTest::qWait(20);
    QTest::qWait(100);  // the window manager's last configure
    return window.frameGeometry() != window.geometry();
}

// The actions the window manager offers for the window (_NET_WM_ALLOWED_ACTIONS), read by xprop.
QString AllowedActions(const QWidget& window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window.winId()), QStringLiteral("_NET_WM_ALLOWED_ACTIONS")});
    xprop.waitForFinished(5000);
    return QString::fromUtf8(xprop.readAllStandardOutput());
}

}  // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT
private:
    test::TestInstallation installation_;
    std::unique_ptr<MainWindow> main_;
    NoInspection inspector_;
    const int margin_ = Twips(120);

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X display with a window manager (run-under-window-manager.sh)");
        main_ = std::make_unique<MainWindow>(installation_.context);
        QVERIFY(main_->StartUp());
        main_->move(160, 120);
        QVERIFY(ShowFramed(*main_));
        QVERIFY2(main_->frameGeometry().top() < main_->geometry().top(), "the main window has no title bar");
    }

    void reportWindowOpensOverTheMainWindow()
    {
        // Made before the main window is placed, as the program does.
        ReportWindow report(installation_.context.run, installation_.context.setup, installation_.context.values,
                            installation_.prompter, clock_, main_.get());
        QVERIFY(ShowFramed(report));
        const QRect main = main_->frameGeometry();
        const QRect own = report.frameGeometry();
        QCOMPARE(own.left(), main.left());
        QCOMPARE(own.top(), main.top() + Twips(420));
        // No empty band below the buttons: the close button ends one margin above the bottom.
        const auto* close = report.findChild<QWidget*>(QStringLiteral("cmdClose"));
        QVERIFY(close != nullptr);
        QVERIFY(std::abs(report.height() - (close->y() + close->height()) - margin_) <= 1);
    }

    void keyDialogsAndConfirmationEndAMarginAboveTheMainWindowsBottom()
    {
        const QRect main = main_->frameGeometry();
        HiddenKeyDialog hidden(installation_.context.key, installation_.prompter, inspector_, main_.get());
        hidden.Prepare(main_.get(), true);
        ShownKeyDialog shown(installation_.context.key, main_.get());
        shown.Prepare(main_.get(), true);
        ConfirmationDialog confirmation(main_.get(), nullptr);
        confirmation.Prepare(OperationConfirmation{QStringLiteral("Encrypt *.* in /tmp/ to *.enc."),
                                                   QStringLiteral("Perform this operation?")});
        for (QDialog* dialog : {static_cast<QDialog*>(&hidden), static_cast<QDialog*>(&shown),
                                static_cast<QDialog*>(&confirmation)}) {
            QVERIFY(ShowFramed(*dialog));
            const QRect own = dialog->frameGeometry();
            QCOMPARE(own.bottom(), main.bottom() - margin_);
            if (dialog != &confirmation) {
                QCOMPARE(own.left(), main.left());
                QCOMPARE(own.width(), main.width());
            }
            const QString actions = AllowedActions(*dialog);
            QVERIFY2(actions.contains(QStringLiteral("_NET_WM_ACTION_CLOSE")), qPrintable(actions));
            QVERIFY2(!actions.contains(QStringLiteral("MAXIMIZE")), qPrintable(actions));
            dialog->hide();
        }
    }

private:
    const SystemClock clock_;
};

QTEST_MAIN(WindowPlacementTest)
#include "test_WindowPlacement.moc"
