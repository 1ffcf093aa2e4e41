// The inspection window's views, lines and answer, for keys prepared in the key record.

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/keys/KeyChecksum.h"
#include "core/keys/TypedKeyEntry.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

SecureBytes SixtyFour(const QByteArray& start)
{
    SecureBytes bytes(64);
    for (qsizetype index = 0; index < start.size() && index < 64; ++index)
        bytes[static_cast<std::size_t>(index)] = static_cast<unsigned char>(start[index]);
    return bytes;
}

QString Row(const KeyInspectionDialog& window, int row)
{
    return window.findChild<QLabel*>(QStringLiteral("lblKey_%1").arg(row))->text();
}

QRadioButton* Option(const KeyInspectionDialog& window, const char* name)
{
    return window.findChild<QRadioButton*>(QLatin1String(name));
}

}  // namespace

class TestInspectKey : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kyv::test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void apparentlyRandomKeyOpensMeasuredInDecimalWithoutAscii()
    {
        KeyState keyState;
        keyState.rawKeyBytes = SecureBytes(64);
        for (std::size_t index = 0; index < 64; ++index)
            keyState.rawKeyBytes[index] = static_cast<unsigned char>((index * 97 + 41) % 223 + 33);
        keyState.apparentlyRandom = true;
        kyv::test::FakePrompter prompter;
        KeyInspectionDialog window(keyState, prompter, nullptr);
        window.Prepare(
            {QStringLiteral("Apparently random key from file"), QStringLiteral("/keys/a.bin"), false, true});
        window.show();
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("lblRandomnessIs"))->isVisible());
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("lblRandomnessIs"))
                    ->text()
                    .startsWith(QStringLiteral("Randomness is ")));
        QVERIFY(!Option(window, "optASCII")->isVisible());
        QVERIFY(Option(window, "optDecimal")->isVisible());
        QVERIFY(Option(window, "optHexadecimal")->isVisible());
        QVERIFY(Option(window, "optDecimal")->isChecked());
        QCOMPARE(Row(window, 0).left(8), QStringLiteral(" 74 171 "));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lbl64Byte"))->text(),
                 QStringLiteral("Apparently random key from file"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblKeyFile"))->text(),
                 QStringLiteral("/keys/a.bin"));
    }

    void textKeyFromFileOpensInAsciiWithBlankZeroBytes()
    {
        KeyState keyState;
        keyState.rawKeyBytes = SixtyFour("<b>text</b>\r\nline two");
        keyState.isText = true;
        kyv::test::FakePrompter prompter;
        KeyInspectionDialog window(keyState, prompter, nullptr);
        window.Prepare({QStringLiteral("Text key from file"), QStringLiteral("/keys/t.txt"), false, true});
        window.show();
        QVERIFY(Option(window, "optASCII")->isVisible());
        QVERIFY(Option(window, "optASCII")->isChecked());
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("lblRandomnessIs"))->isVisible());
        QCOMPARE(Row(window, 0), QStringLiteral("<b>text</b>"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblKey_0"))->textFormat(), Qt::PlainText);
        QCOMPARE(Row(window, 1), QStringLiteral("line two"));
        QCOMPARE(Row(window, 2), QString());

        QTest::mouseClick(Option(window, "optDecimal"), Qt::LeftButton);
        QVERIFY(Row(window, 0).startsWith(QStringLiteral(" 60  98  62 ")));
        QCOMPARE(Row(window, 3), QString(64, QLatin1Char(' ')));
        QTest::mouseClick(Option(window, "optHexadecimal"), Qt::LeftButton);
        QVERIFY(Row(window, 0).startsWith(QStringLiteral(" 3C  62  3E ")));
        QCOMPARE(Row(window, 3), QString(64, QLatin1Char(' ')));
        QCOMPARE(window.focusWidget(), window.findChild<QPushButton*>(QStringLiteral("cmdYes")));
    }

    void nonTextKeyShowsZeroBytes()
    {
        KeyState keyState;
        keyState.rawKeyBytes = SixtyFour(QByteArray("\x01\x00\xfe", 3));
        kyv::test::FakePrompter prompter;
        KeyInspectionDialog window(keyState, prompter, nullptr);
        window.Prepare({QStringLiteral("Non-random non-text key from file"), QString(), false, true});
        window.show();
        QVERIFY(!Option(window, "optASCII")->isVisible());
        QVERIFY(Row(window, 0).startsWith(QStringLiteral("  1   0 254   0 ")));
        QTest::mouseClick(Option(window, "optHexadecimal"), Qt::LeftButton);
        QVERIFY(Row(window, 0).startsWith(QStringLiteral(" 01  00  FE  00 ")));
    }

    void manyLineBreaksFillFourRowsWithoutFailing()
    {
        KeyState keyState;
        keyState.rawKeyBytes = SixtyFour("a\r\nb\r\nc\r\nd\r\ne\r\nf\rg\nh");
        keyState.isText = true;
        kyv::test::FakePrompter prompter;
        KeyInspectionDialog window(keyState, prompter, nullptr);
        window.Prepare({QStringLiteral("Text key from file"), QString(), false, true});
        window.show();
        QCOMPARE(Row(window, 0), QStringLiteral("a"));
        QCOMPARE(Row(window, 3), QStringLiteral("d"));
    }

    void typedKeyUsedGivesTheChecksumShown_data()
    {
        QTest::addColumn<bool>("useKey");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }

    void typedKeyUsedGivesTheChecksumShown()
    {
        QFETCH(bool, useKey);
        KeyState keyState;
        const QByteArray typed("Twenty chars of keys");
        keyState.rawKeyBytes = SecureBytes(
            {reinterpret_cast<const unsigned char*>(typed.constData()), std::size_t(typed.size())});
        keyState.isText = true;
        kyv::test::FakePrompter prompter;
        KeyInspectionDialog window(keyState, prompter, nullptr);
        window.Prepare({QStringLiteral("Key entered at keyboard"), QString(), false, false});
        window.show();
        QVERIFY(Option(window, "optASCII")->isChecked());
        QCOMPARE(Row(window, 0), QStringLiteral("Twenty chars of keys"));
        QTest::mouseClick(Option(window, "optDecimal"), Qt::LeftButton);
        QCOMPARE(Row(window, 0).size(), 64);
        QCOMPARE(Row(window, 1), QStringLiteral("107 101 121 115 "));
        const QString checksumLine = window.findChild<QLabel*>(QStringLiteral("lblChecksumIs"))->text();

        QTest::mouseClick(window.findChild<QPushButton*>(QLatin1String(useKey ? "cmdYes" : "cmdNo")),
                          Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.useThisKey, useKey);
        QVERIFY(prompter.messages.empty());
        QCOMPARE(Row(window, 0), QString());  // the key does not stay on the hidden window

        TypedKeyResult result;
        result.answer = TypedKeyAnswer::Yes;
        result.text = keyState.rawKeyBytes;
        ApplyTypedKey(keyState, result);
        QCOMPARE(checksumLine, QStringLiteral("Checksum is %1.").arg(keyState.checksum));
    }

    void newRandomKeyRemindsOfTheKeyfileName()
    {
        KeyState keyState;
        keyState.rawKeyBytes = SixtyFour("0123456789abcdefghijklmnopqrstuvwxyz");
        keyState.apparentlyRandom = true;
        kyv::test::FakePrompter prompter;
        KeyInspectionDialog window(keyState, prompter, nullptr);
        window.Prepare(
            {QStringLiteral("New random key in file"), QStringLiteral("/keys/new.key"), true, true});
        window.show();
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdYes")), Qt::LeftButton);
        QVERIFY(window.useThisKey);
        QCOMPARE(prompter.messages.size(), std::size_t{1});
        QCOMPARE(prompter.messages[0].text, QStringLiteral("Be sure to remember the name of the keyfile!"));
        QCOMPARE(prompter.messages[0].title, QStringLiteral("Key selected"));
        QCOMPARE(prompter.messages[0].buttons, MessageButtons::Ok);
    }
};

QTEST_MAIN(TestInspectKey)
#include "test_KeyInspectionDialog.moc"
