// The key panel in a stand-in main window: its buttons, their placement, and the paths through
// the real typing dialogs and inspection window back to the key line.

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ModalScript.h"
#include "gui/keys/KeyEntryField.h"
#include "gui/keys/KeyPanel.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// What the main window gives the panel: a window, a key button and the key line.
struct MainWindowStandIn {
    // `withKeyfileCommand`: the keyfile buttons note their command and leave the key abandoned.
    explicit MainWindowStandIn(bool withKeyfileCommand = false)
    {
        window.resize(640, 420);
        keyButton = new QPushButton(QStringLiteral("Encryption key"), &window);
        keyButton->setGeometry(7, 127, 141, 22);
        keyLine = new QLabel(QStringLiteral("Not specified"), &window);
        values.keyLinePrefix = QStringLiteral("Key specified");
        values.notSpecifiedText = QStringLiteral("Not specified");
        std::function<void(KeyfileCommand)> command;
        if (withKeyfileCommand) {
            command = [this](KeyfileCommand chosen) {
                keyfileCommands.push_back(chosen);
                key.choiceAbandoned = true;
            };
        }
        panel = new KeyPanel(&window, key, values, setup, prompter, command);
        QObject::connect(panel, &KeyPanel::keyLineChanged, keyLine, &QLabel::setText);
        window.show();
    }

    QPushButton* PanelButton(const char* name) const
    {
        return panel->PanelWidget()->findChild<QPushButton*>(QLatin1String(name));
    }

    void Open()
    {
        QCOMPARE(panel->KeyButtonReleased(MouseButton::Left, keyButton, keyLine->text()),
                 KeyButtonOutcome::PanelOpened);
    }

    QWidget window;
    QPushButton* keyButton;
    QLabel* keyLine;
    KeyState key;
    WorkingValues values;
    OperationSetup setup;
    kyv::test::FakePrompter prompter;
    KeyPanel* panel;
    std::vector<KeyfileCommand> keyfileCommands;
};

}  // namespace

class TestKeyPanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kyv::test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void panelLaysOutItsButtonsByFunction_data()
    {
        QTest::addColumn<bool>("encrypting");
        QTest::newRow("encrypting: six buttons") << true;
        QTest::newRow("decrypting: five buttons") << false;
    }

    void panelLaysOutItsButtonsByFunction()
    {
        QFETCH(bool, encrypting);
        MainWindowStandIn main;
        main.setup.direction = DirectionFor(encrypting);
        QSignalSpy opened(main.panel, &KeyPanel::panelOpened);
        main.Open();
        QWidget* panel = main.panel->PanelWidget();
        QCOMPARE(panel->objectName(), QStringLiteral("picKeyFrom"));
        QCOMPARE(panel->parentWidget(), &main.window);
        QVERIFY(panel->isVisible());
        QCOMPARE(opened.count(), 1);
        QCOMPARE(main.keyLine->text(), QString());

        QPushButton* create = main.PanelButton("cmdKeyFile_1");
        const int height = create->height();
        const int top = 3 * height;  // where "Create random key" sits under the first three
        QCOMPARE(create->isVisible(), encrypting);
        const int eraseTop = encrypting ? top + height : top;
        QCOMPARE(main.PanelButton("cmdEraseKey")->y(), eraseTop);
        QCOMPARE(main.PanelButton("cmdDontSpecifyKeyNow")->y(), eraseTop + height);
        QCOMPARE(panel->height(), (encrypting ? 6 : 5) * height);
        int visibleButtons = 0;
        for (QPushButton* button : panel->findChildren<QPushButton*>())
            visibleButtons += button->isVisible() ? 1 : 0;
        QCOMPARE(visibleButtons, encrypting ? 6 : 5);
        QCOMPARE(main.PanelButton("cmdKeyboardWithDisplay")->text(),
                 QStringLiteral("Type key (with display)"));
        QCOMPARE(main.PanelButton("cmdKeyFile_0")->text(), QStringLiteral("Get key from keyfile"));
        QCOMPARE(main.window.focusWidget(), main.PanelButton("cmdKeyboardWithDisplay"));
        // On the key button's row.
        QCOMPARE(panel->y(), main.keyButton->y());
    }

    void rightClickAndIgnoredClicksLeaveThePanelClosed()
    {
        MainWindowStandIn main;
        QSignalSpy opened(main.panel, &KeyPanel::panelOpened);
        QCOMPARE(main.panel->KeyButtonReleased(MouseButton::Right, main.keyButton, main.keyLine->text()),
                 KeyButtonOutcome::HelpRequested);
        main.values.ignoreClicks = true;
        QCOMPARE(main.panel->KeyButtonReleased(MouseButton::Left, main.keyButton, main.keyLine->text()),
                 KeyButtonOutcome::Ignored);
        QVERIFY(!main.panel->PanelWidget()->isVisible());
        QCOMPARE(opened.count(), 0);
        QCOMPARE(main.keyLine->text(), QStringLiteral("Not specified"));
    }

    void cancelRestoresTheLineAndGivesTheFocusBack()
    {
        MainWindowStandIn main;
        main.keyLine->setText(QStringLiteral("Key specified (keyboard entry, checksum = 4711)"));
        QSignalSpy closed(main.panel, &KeyPanel::panelClosed);
        main.Open();
        QTest::mouseClick(main.PanelButton("cmdDontSpecifyKeyNow"), Qt::LeftButton);
        QVERIFY(!main.panel->PanelWidget()->isVisible());
        QCOMPARE(main.keyLine->text(), QStringLiteral("Key specified (keyboard entry, checksum = 4711)"));
        QCOMPARE(closed.count(), 1);
        QCOMPARE(main.window.focusWidget(), main.keyButton);
    }

    void keyfileButtonsWaitForTheirCommand()
    {
        MainWindowStandIn without;
        QSignalSpy closedWithout(without.panel, &KeyPanel::panelClosed);
        without.Open();
        QTest::mouseClick(without.PanelButton("cmdKeyFile_0"), Qt::LeftButton);
        QVERIFY(without.panel->PanelWidget()->isVisible());
        QCOMPARE(closedWithout.count(), 0);

        MainWindowStandIn main(true);
        QSignalSpy closed(main.panel, &KeyPanel::panelClosed);
        main.Open();
        QTest::mouseClick(main.PanelButton("cmdKeyFile_1"), Qt::LeftButton);
        QCOMPARE(main.keyfileCommands, std::vector<KeyfileCommand>{KeyfileCommand::CreateRandomKey});
        QCOMPARE(closed.count(), 1);
        QCOMPARE(main.keyLine->text(), QStringLiteral("Not specified"));  // abandoned: the line from before
    }

    void typedKeyWithDisplayReachesTheKeyLine()
    {
        MainWindowStandIn main;
        main.Open();
        kyv::test::WhenShown(QStringLiteral("frmKeyboardWithDisplay"), [](QWidget* dialog) {
            QTest::keyClicks(dialog->findChild<KeyEntryField*>(QStringLiteral("txbKey")),
                             QStringLiteral("abcd efgh ijkl mnop"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdYes")), Qt::LeftButton);
        });
        QTest::mouseClick(main.PanelButton("cmdKeyboardWithDisplay"), Qt::LeftButton);
        QCOMPARE(main.key.source, KeyboardEntry);
        QCOMPARE(main.keyLine->text(), QStringLiteral("Key specified (keyboard entry, checksum = 6304)"));
        QCOMPARE(main.window.focusWidget(), main.keyButton);

        main.Open();
        QTest::mouseClick(main.PanelButton("cmdEraseKey"), Qt::LeftButton);
        QCOMPARE(main.key.source, NotSpecified);
        QCOMPARE(main.keyLine->text(), QStringLiteral("Not specified"));
    }

    void typedKeyWithoutDisplayInspectedAndUsed()
    {
        MainWindowStandIn main;
        main.setup.direction = Direction::Decrypt;
        main.prompter.Answer(MessageAnswer::Yes);  // "Inspect the key?"
        QString checksumInInspection;
        kyv::test::WhenShown(
            QStringLiteral("frmKeyboardWithoutDisplay"), [&checksumInInspection](QWidget* dialog) {
                QTest::keyClicks(dialog->findChild<KeyEntryField*>(QStringLiteral("txbKey_0")),
                                 QStringLiteral("ABCD EFGH IJKL MNOP"));
                QTest::keyClicks(dialog->findChild<KeyEntryField*>(QStringLiteral("txbKey_1")),
                                 QStringLiteral("abcdefghijklmnop"));
                kyv::test::WhenShown(
                    QStringLiteral("frmInspectKey"), [&checksumInInspection](QWidget* inspection) {
                        QCOMPARE(inspection->findChild<QLabel*>(QStringLiteral("lbl64Byte"))->text(),
                                 QStringLiteral("Key entered at keyboard"));
                        checksumInInspection =
                            inspection->findChild<QLabel*>(QStringLiteral("lblChecksumIs"))->text();
                        QTest::mouseClick(inspection->findChild<QPushButton*>(QStringLiteral("cmdYes")),
                                          Qt::LeftButton);
                    });
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
            });
        main.Open();
        QTest::mouseClick(main.PanelButton("cmdKeyboardWithoutDisplay"), Qt::LeftButton);
        QCOMPARE(main.prompter.messages.size(), std::size_t{1});
        QCOMPARE(checksumInInspection, QStringLiteral("Checksum is 6304."));
        QCOMPARE(main.keyLine->text(), QStringLiteral("Key specified (keyboard entry, checksum = 6304)"));
    }
};

QTEST_MAIN(TestKeyPanel)
#include "test_KeyPanel.moc"
