#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "gui/common/Twips.h"
#include "gui/launch/ConfirmationDialog.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

QString Text(const QWidget& window, const char* name)
{
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

QPushButton* Button(const QWidget& window, const char* name)
{
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
}

const OperationConfirmation kConfirmation{
    QStringLiteral(
        "Encrypting *.doc in the folder /data/ (3 files) .  The output files are specified as *.enc in "
        "the same folder"),
    QStringLiteral("Perform this encryption operation?")};

}  // namespace

class FrmConfirmOperationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void heightFollowsTheDescriptionAboveTheButtonsMinimum_data()
    {
        QTest::addColumn<int>("description");
        QTest::addColumn<int>("yesBottom");
        QTest::addColumn<int>("height");
        QTest::newRow("empty") << 0 << 1215 << 1335;
        QTest::newRow("shorter than the buttons") << 900 << 1215 << 1335;
        QTest::newRow("level with the buttons") << 1095 << 1215 << 1335;
        QTest::newRow("below the buttons") << 1096 << 1215 << 1336;
        QTest::newRow("long") << 3600 << 1215 << 3840;
    }
    void heightFollowsTheDescriptionAboveTheButtonsMinimum()
    {
        QFETCH(int, description);
        QFETCH(int, yesBottom);
        QFETCH(int, height);
        QCOMPARE(ConfirmationDialog::HeightTwips(description, yesBottom), height);
    }

    void placedAboveTheMainWindowsBottomBesideTheCommandFrame()
    {
        // 120 twips = 8 pixels above the bottom, 30 twips = 2 pixels right of the frame.
        QCOMPARE(ConfirmationDialog::Placement(QRect(100, 50, 760, 400), 7, 150), QPoint(109, 292));
        QCOMPARE(ConfirmationDialog::Placement(QRect(0, 0, 760, 600), 0, 600), QPoint(2, -8));
    }

    void prepareShowsTheTextsAtTheirSize()
    {
        QWidget main;
        main.setGeometry(200, 100, 760, 500);
        QWidget frame(&main);
        frame.setGeometry(7, 7, 141, 330);
        ConfirmationDialog dialog(&main, &frame);
        QFont bold = dialog.font();
        bold.setBold(true);
        dialog.findChild<QLabel*>("lblDescr")->setFont(bold);

        dialog.Prepare(kConfirmation);

        QCOMPARE(dialog.windowTitle(), QStringLiteral("Confirm operation"));
        QCOMPARE(Text(dialog, "lblDescr"), kConfirmation.description);
        QCOMPARE(Text(dialog, "lblPerformOperation"), kConfirmation.question);
        QCOMPARE(Button(dialog, "cmdYes")->text(), QStringLiteral("Yes"));
        QCOMPARE(Button(dialog, "cmdNo")->text(), QStringLiteral("No"));
        QVERIFY(!dialog.findChild<QLabel*>("lblDescr")->font().bold());
        QCOMPARE(dialog.pos(), ConfirmationDialog::Placement(main.frameGeometry(), 7, dialog.height()));

        // Short or long, the dialog ends one margin (8 pixels) below its lowest text or button.
        const QLabel* description = dialog.findChild<QLabel*>("lblDescr");
        const QPushButton* yes = Button(dialog, "cmdYes");
        for (const int copies : {1, 4}) {
            const OperationConfirmation shown{kConfirmation.description.repeated(copies),
                                              kConfirmation.question};
            dialog.Prepare(shown);
            const int textBottom = description->y() + description->heightForWidth(description->width());
            const int lowest = std::max(textBottom, yes->y() + yes->height());
            QVERIFY2(std::abs(dialog.height() - lowest - Twips(120)) <= 1,
                     qPrintable(QString::number(copies)));
        }
    }

    void theAnswerIsYesOnlyForYes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("doIt");
        QTest::newRow("yes") << "cmdYes" << true;
        QTest::newRow("no") << "cmdNo" << false;
        QTest::newRow("escape") << "escape" << false;
        QTest::newRow("closed") << "close" << false;
    }
    void theAnswerIsYesOnlyForYes()
    {
        QFETCH(QString, action);
        QFETCH(bool, doIt);
        QWidget main;
        ConfirmationDialog dialog(&main, nullptr);
        dialog.confirmed = !doIt;
        QTimer::singleShot(0, &dialog, [&] {
            QVERIFY(dialog.isVisible());
            if (action == "escape")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (action == "close")
                dialog.close();
            else
                QTest::mouseClick(Button(dialog, action.toLatin1().constData()), Qt::LeftButton);
        });
        QCOMPARE(dialog.Confirm(kConfirmation), doIt);
        QCOMPARE(dialog.confirmed, doIt);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(FrmConfirmOperationTest)
#include "test_ConfirmationDialog.moc"
