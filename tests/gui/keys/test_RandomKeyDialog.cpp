// The random-key window driven by synthetic pointer movements and a fake clock: what a sample
// adds, the progress label, closing itself after 64 characters, and a window closed early.

#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include "ModalScript.h"
#include "gui/keys/RandomKeyDialog.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

class FakeClock final : public Clock {
public:
    QDateTime Now() const override { return now; }
    QDateTime now = QDateTime(QDate(2026, 12, 8), QTime(14, 0, 0, 250));
};

void MovePointer(QWidget* window, QPoint position)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(position), window->mapToGlobal(QPointF(position)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
}

QString Progress(QWidget* window)
{
    return window->findChild<QLabel*>(QStringLiteral("lblProgressBar"))->text();
}

const QString kBlock{QChar(u'\u2588')};

}  // namespace

class TestRandomKeyDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kyv::test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void sixtyFourMovementsFillTheKeyAndCloseTheWindow()
    {
        FakeClock clock;
        RandomKeyDialog dialog(clock, nullptr);
        QStringList progress;
        kyv::test::WhenShown(QStringLiteral("frmRandomKey"), [&](QWidget* window) {
            progress << Progress(window);
            // At rest: however many samples, nothing is added.
            for (int tick = 0; tick < 40; ++tick) {
                clock.now = clock.now.addMSecs(250);
                dialog.Sample();
            }
            progress << Progress(window);
            for (int sample = 0; sample < 64 && window->isVisible(); ++sample) {
                // Back and forth, some of it outside the window (a held button reports those).
                MovePointer(window, sample % 3 == 0 ? QPoint(-5000 - sample, 90000)
                                                    : QPoint(10 + sample, 20 + sample));
                clock.now = clock.now.addMSecs(250);
                dialog.Sample();
                if (sample == 0) progress << Progress(window);
            }
            progress << Progress(window);
        });
        const SecureBytes key = dialog.GatherRandomKey();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(progress, QStringList({QString(63, u'_'), QString(63, u'_'), kBlock + QString(62, u'_'),
                                        kBlock.repeated(64)}));
        QCOMPARE(key.size(), std::size_t{64});
        for (std::size_t i = 0; i < key.size(); ++i) QVERIFY(key[i] >= 33);
        // A second showing starts again from nothing.
        kyv::test::WhenShown(QStringLiteral("frmRandomKey"), [&](QWidget* window) {
            QCOMPARE(Progress(window), QString(63, u'_'));
            window->close();
        });
        QCOMPARE(dialog.GatherRandomKey().size(), std::size_t{0});
    }

    void aWindowClosedEarlyGivesOnlyWhatItGathered()
    {
        FakeClock clock;
        RandomKeyDialog dialog(clock, nullptr);
        kyv::test::WhenShown(QStringLiteral("frmRandomKey"), [&](QWidget* window) {
            for (int sample = 0; sample < 10; ++sample) {
                MovePointer(window, QPoint(sample, 2 * sample + 1));
                dialog.Sample();
            }
            QTest::keyClick(window, Qt::Key_Escape);
        });
        QCOMPARE(dialog.GatherRandomKey().size(), std::size_t{10});
    }
};

QTEST_MAIN(TestRandomKeyDialog)
#include "test_RandomKeyDialog.moc"
