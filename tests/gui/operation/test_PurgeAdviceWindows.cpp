#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "core/common/Clock.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/RunState.h"
#include "gui/operation/AntivirusQueryDialog.h"
#include "gui/operation/PurgeAdviceWindows.h"
#include "gui/operation/PurgeWarningDialog.h"
#include "support/TestFailure.h"

using namespace kyv;

namespace {

// Acts on the modal dialog named `name` as soon as it is shown; a dialog that never comes is
// closed after a while so the test fails instead of hanging.
void WhenShown(const QString& name, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, name, action, waited] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->objectName() == name && modal->isVisible()) {
            timer->deleteLater();
            timer->stop();
            action(modal);
        } else if ((*waited += 10) > 5000) {
            timer->deleteLater();
            timer->stop();
            if (modal != nullptr) modal->close();
        }
    });
    timer->start(10);
}

void Click(QWidget* dialog, const char* button)
{
    dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

}  // namespace

class TestPurgeAdviceWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void eachAnswerOfTheQueryIsReported_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("no");
        QTest::newRow("Yes") << "cmdYes" << int(AntivirusAnswer::Yes) << false;
        QTest::newRow("No") << "cmdNo" << int(AntivirusAnswer::No) << true;
        QTest::newRow("Don't know") << "cmdDontKnow" << int(AntivirusAnswer::DontKnow) << false;
    }

    void eachAnswerOfTheQueryIsReported()
    {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QFETCH(bool, no);
        QWidget report;
        gui::PurgeAdviceWindows windows(&report);
        QString title, focused;
        WhenShown(QStringLiteral("frmAntiVirusQuery"), [&](QWidget* dialog) {
            title = dialog->windowTitle();
            focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            Click(dialog, button.toLatin1().constData());
        });
        QCOMPARE(int(windows.AskAntivirusQuery()), answer);
        QCOMPARE(windows.Query().answeredNo, no);
        QCOMPARE(title, QStringLiteral("Antivirus software query"));
        QCOMPARE(focused, QStringLiteral("cmdDontKnow"));
    }

    void theAdviceNamesTheFileAndItsCheckBoxLastsAcrossOperations()
    {
        QWidget report;
        gui::PurgeAdviceWindows windows(&report);
        RunState state;
        SystemClock clock;
        PurgeAdvice advice(&windows);

        // Yes, then the advice with the box checked: no more advice in this operation.
        WhenShown(QStringLiteral("frmAntiVirusQuery"), [&](QWidget* query) {
            WhenShown(QStringLiteral("frmPurgeWarning"), [&](QWidget* warning) {
                QCOMPARE(warning->windowTitle(), QStringLiteral("Purge advice"));
                const QString message = warning->findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
                QVERIFY(
                    message.startsWith(QStringLiteral("The file /data/memo.doc has been encrypted.\n\n")));
                warning->findChild<QCheckBox*>(QStringLiteral("chkDontShowAgain"))->click();
                Click(warning, "cmdOK");
            });
            Click(query, "cmdYes");
        });
        advice.ShowPurgeAdvice(QStringLiteral("/data/memo.doc"), true, state, clock);
        QVERIFY(!advice.showPurgeWarning);
        advice.ShowPurgeAdvice(QStringLiteral("/data/other.doc"), true, state, clock);  // asks nothing

        // The next operation asks again; the box is still checked, so OK switches the advice off again.
        advice.SwitchOn();
        WhenShown(QStringLiteral("frmAntiVirusQuery"), [&](QWidget* query) {
            WhenShown(QStringLiteral("frmPurgeWarning"), [&](QWidget* warning) {
                QVERIFY(warning->findChild<QCheckBox*>(QStringLiteral("chkDontShowAgain"))->isChecked());
                Click(warning, "cmdOK");
            });
            Click(query, "cmdDontKnow");
        });
        advice.ShowPurgeAdvice(QStringLiteral("/data/third.doc"), true, state, clock);
        QVERIFY(!advice.showPurgeWarning);
    }
};

QTEST_MAIN(TestPurgeAdviceWindows)
#include "test_PurgeAdviceWindows.moc"
