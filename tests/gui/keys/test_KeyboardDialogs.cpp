// The two typing dialogs, shown without blocking and driven by key clicks.

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "core/keys/KeyChecksum.h"
#include "core/keys/KeyNormalization.h"
#include "gui/keys/HiddenKeyDialog.h"
#include "gui/keys/KeyEntryField.h"
#include "gui/keys/ShownKeyDialog.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

class ScriptedInspector final : public KeyInspector {
public:
    bool InspectKey(const KeyInspectionRequest& request) override
    {
        requests.push_back(request);
        return useKey;
    }
    bool useKey = true;
    std::vector<KeyInspectionRequest> requests;
};

std::string Text(const SecureBytes& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void TypeCharacter(QWidget* field, const QString& character, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, 0, modifiers, character);
    QApplication::sendEvent(field, &press);
}

}  // namespace

class TestKeyboardDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kyv::test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void withDisplayShowsYesAndNoOnlyFromSixteenCharacters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("offered");
        QTest::newRow("15 characters") << QStringLiteral("abcdefghijklmno") << false;
        QTest::newRow("16 characters") << QStringLiteral("abcdefghijklmnop") << true;
        QTest::newRow("20 typed, 5 spaces") << QStringLiteral("abc de fgh ij klm no") << false;
        QTest::newRow("21 typed, 5 spaces") << QStringLiteral("abc de fgh ij klm nop") << true;
    }

    void withDisplayShowsYesAndNoOnlyFromSixteenCharacters()
    {
        QFETCH(QString, typed);
        QFETCH(bool, offered);
        KeyState keyState;
        ShownKeyDialog dialog(keyState);
        dialog.Prepare(nullptr, true);
        dialog.show();
        auto* field = dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey"));
        QVERIFY(field);
        QTest::keyClicks(field, typed);
        for (const char* name : {"cmdYes", "cmdNo", "lblChecksumIs", "lblUseThisKey"})
            QCOMPARE(dialog.findChild<QWidget*>(QLatin1String(name))->isVisible(), offered);
        if (offered) {
            const int checksum = RunningChecksum(field->Bytes().View());
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lblChecksumIs"))->text(),
                     QStringLiteral("Checksum is %1.").arg(checksum));
        }
        QCOMPARE(keyState.checksum, 0);  // the running checksum is the dialog's own
    }

    void withDisplayReportsAnswerAndTypedText()
    {
        KeyState keyState;
        ShownKeyDialog dialog(keyState);
        dialog.Prepare(nullptr, false);
        dialog.show();
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lblEntertheKey"))->text(),
                 QStringLiteral(
                     "Enter the decryption key (16-64 characters, spaces ignored, case not significant):"));
        auto* field = dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey"));
        QTest::keyClicks(field, QStringLiteral("secret key of my own"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdYes")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(dialog.answeredYes);
        QVERIFY(!dialog.answeredNo);
        QCOMPARE(field->Length(), 0);  // wiped on hiding
        const TypedKeyResult result = dialog.TakeResult();
        QCOMPARE(result.answer, TypedKeyAnswer::Yes);
        QCOMPARE(Text(result.text), std::string("secret key of my own"));

        dialog.Prepare(nullptr, false);
        dialog.show();
        QVERIFY(!dialog.answeredYes);
        QTest::keyClicks(field, QStringLiteral("another key typed here"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdNo")), Qt::LeftButton);
        QCOMPARE(dialog.TakeResult().answer, TypedKeyAnswer::No);

        dialog.Prepare(nullptr, false);
        dialog.show();
        QTest::keyClicks(field, QStringLiteral("a third key typed here"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        const TypedKeyResult cancelled = dialog.TakeResult();
        QCOMPARE(cancelled.answer, TypedKeyAnswer::Cancel);
        QVERIFY(cancelled.text.empty());
    }

    void withDisplayRunsModallyUntilAnswered()
    {
        KeyState keyState;
        ShownKeyDialog dialog(keyState);
        QWidget mainWindow;
        mainWindow.resize(700, 500);
        mainWindow.show();
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::keyClicks(dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey")),
                             QStringLiteral("ABCDEFGHIJKLMNOP"));
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdYes")), Qt::LeftButton);
        });
        QTimer::singleShot(5000, &dialog, [&dialog] { dialog.reject(); });  // never hang the suite
        const TypedKeyResult result = dialog.Run(&mainWindow, true);
        QCOMPARE(result.answer, TypedKeyAnswer::Yes);
        // Frame to frame: the dialog's inside is narrower by its own frame.
        QCOMPARE(dialog.frameGeometry().width(), mainWindow.frameGeometry().width());
    }

    void entryFieldRefusesWhatTheCodePageCannotHoldAndStopsAt64()
    {
        KeyEntryField field;
        field.SetMaxLength(64);
        QSignalSpy changes(&field, &KeyEntryField::Changed);
        TypeCharacter(&field, QStringLiteral("é"));
        TypeCharacter(&field, QStringLiteral("€"));
        TypeCharacter(&field, QStringLiteral("☺"));
        TypeCharacter(&field, QStringLiteral("Ж"));
        TypeCharacter(&field, QStringLiteral("@"), Qt::ControlModifier | Qt::AltModifier);  // AltGr
        TypeCharacter(&field, QStringLiteral("k"), Qt::ControlModifier);                    // a shortcut
        QCOMPARE(Text(field.Bytes()), std::string("\xE9\x80@"));
        QCOMPARE(changes.count(), 3);
        QTest::keyClicks(&field, QString(70, QLatin1Char('x')));
        QCOMPARE(field.Length(), 64);
        QTest::keyClick(&field, Qt::Key_Home);
        QTest::keyClick(&field, Qt::Key_Delete);
        QTest::keyClick(&field, Qt::Key_End);
        QTest::keyClick(&field, Qt::Key_Backspace);
        QCOMPARE(field.Length(), 62);
        QCOMPARE(field.Bytes()[0], static_cast<unsigned char>(0x80));
        field.Clear();
        QCOMPARE(field.Length(), 0);
    }

    void withoutDisplayEnablesReEntryAndOkByLength_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("reEntryEnabled");
        QTest::addColumn<bool>("okEnabled");
        QTest::newRow("15 after normalisation")
            << QStringLiteral("abc de fgh ij klm no") << QString() << false << false;
        QTest::newRow("first long enough")
            << QStringLiteral("abcdefghijklmnop") << QString() << true << false;
        QTest::newRow("re-entry short")
            << QStringLiteral("abcdefghijklmnop") << QStringLiteral("abcdefghijklmno") << true << false;
        QTest::newRow("both long enough")
            << QStringLiteral("abcdefghijklmnop") << QStringLiteral("qrstuvwxyzabcdef") << true << true;
    }

    void withoutDisplayEnablesReEntryAndOkByLength()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, reEntryEnabled);
        QFETCH(bool, okEnabled);
        KeyState keyState;
        kyv::test::FakePrompter prompter;
        ScriptedInspector inspector;
        HiddenKeyDialog dialog(keyState, prompter, inspector);
        dialog.Prepare(nullptr, true);
        dialog.show();
        auto* firstField = dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_0"));
        auto* secondField = dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_1"));
        auto* reEnter = dialog.findChild<QLabel*>(QStringLiteral("lblReEnterTheKey"));
        QVERIFY(!secondField->isEnabled());
        QVERIFY(!reEnter->font().bold());
        QTest::keyClicks(firstField, first);
        if (!second.isEmpty()) QTest::keyClicks(secondField, second);
        QCOMPARE(secondField->isEnabled(), reEntryEnabled);
        QCOMPARE(reEnter->font().bold(), reEntryEnabled);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lblChecksumIs"))->isVisible(), reEntryEnabled);
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isEnabled(), okEnabled);
        if (reEntryEnabled)
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lblChecksumIs"))->text(),
                     QStringLiteral("Checksum is %1.").arg(RunningChecksum(firstField->Bytes().View())));
        QVERIFY(prompter.messages.empty());
    }

    void withoutDisplayMismatchClearsBothEntriesAndStaysOpen()
    {
        KeyState keyState;
        kyv::test::FakePrompter prompter;
        ScriptedInspector inspector;
        HiddenKeyDialog dialog(keyState, prompter, inspector);
        dialog.Prepare(nullptr, true);
        dialog.show();
        auto* firstField = dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_0"));
        auto* secondField = dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_1"));
        QTest::keyClicks(firstField, QStringLiteral("abcdefghijklmnop"));
        QTest::keyClicks(secondField, QStringLiteral("abcdefghijklmnoq"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QCOMPARE(prompter.messages.size(), std::size_t{1});
        QCOMPARE(prompter.messages[0].text, QStringLiteral("The key entries do not match!"));
        QCOMPARE(prompter.messages[0].title, QStringLiteral("Error"));
        QCOMPARE(prompter.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(dialog.isVisible());
        QCOMPARE(firstField->Length(), 0);
        QCOMPARE(secondField->Length(), 0);
        QVERIFY(!secondField->isEnabled());
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->isEnabled());
        QVERIFY(inspector.requests.empty());
        QCOMPARE(keyState.source, NotSpecified);
    }

    void withoutDisplayMatchingEntriesOfferInspection_data()
    {
        QTest::addColumn<int>("inspect");  // MessageAnswer
        QTest::addColumn<bool>("useKey");
        QTest::addColumn<int>("answer");  // TypedKeyAnswer
        QTest::addColumn<int>("inspections");
        QTest::newRow("not inspected") << int(MessageAnswer::No) << true << int(TypedKeyAnswer::Yes) << 0;
        QTest::newRow("inspected, used") << int(MessageAnswer::Yes) << true << int(TypedKeyAnswer::Yes) << 1;
        QTest::newRow("inspected, declined")
            << int(MessageAnswer::Yes) << false << int(TypedKeyAnswer::No) << 1;
    }

    void withoutDisplayMatchingEntriesOfferInspection()
    {
        QFETCH(int, inspect);
        QFETCH(bool, useKey);
        QFETCH(int, answer);
        QFETCH(int, inspections);
        KeyState keyState;
        kyv::test::FakePrompter prompter;
        prompter.Answer(static_cast<MessageAnswer>(inspect));
        ScriptedInspector inspector;
        inspector.useKey = useKey;
        HiddenKeyDialog dialog(keyState, prompter, inspector);
        dialog.Prepare(nullptr, true);
        dialog.show();
        QTest::keyClicks(dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_0")),
                         QStringLiteral("  Open Sesame Please  "));
        QTest::keyClicks(dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_1")),
                         QStringLiteral("opensesameplease"));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(prompter.messages.at(0).text, QStringLiteral("Inspect the key?"));
        QCOMPARE(prompter.messages.at(0).title, QStringLiteral("Key specified"));
        QCOMPARE(int(inspector.requests.size()), inspections);
        if (inspections > 0) {
            QCOMPARE(Text(keyState.rawKeyBytes),
                     std::string("Open Sesame Please"));  // trimmed, not normalised
            QVERIFY(keyState.isText);
            QCOMPARE(inspector.requests[0].classificationLine, QStringLiteral("Key entered at keyboard"));
        }
        QCOMPARE(dialog.answeredYes, answer == int(TypedKeyAnswer::Yes));
        QCOMPARE(dialog.answeredNo, answer == int(TypedKeyAnswer::No));
        const TypedKeyResult result = dialog.TakeResult();
        QCOMPARE(int(result.answer), answer);
        QCOMPARE(Text(NormalizedKeyText(result.text.View())), std::string("OPENSESAMEPLEASE"));
    }
};

QTEST_MAIN(TestKeyboardDialogs)
#include "test_KeyboardDialogs.moc"
