// The strength line and bar of the two typing dialogs and of the inspection window.

#include <QTest>

#include "gui/keys/HiddenKeyDialog.h"
#include "gui/keys/KeyEntryField.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "gui/keys/KeyStrengthIndicator.h"
#include "gui/keys/ShownKeyDialog.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

class NoInspector final : public KeyInspector {
public:
    bool InspectKey(const KeyInspectionRequest&) override { return true; }
};

KeyStrengthIndicator* Strength(const QWidget& window)
{
    return window.findChild<KeyStrengthIndicator*>(QStringLiteral("keyStrength"));
}

}  // namespace

class TestKeyStrengthDisplay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kyv::test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void withDisplayFollowsTheKeyAsItIsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("level");
        QTest::addColumn<int>("steps");
        QTest::newRow("a common password and a sequence")
            << QStringLiteral("password12345678") << QStringLiteral("very weak") << 1;
        QTest::newRow("short, and shown before the key is long enough")
            << QStringLiteral("x7#kq") << QStringLiteral("weak") << 2;
        QTest::newRow("a 20-character random string")
            << QStringLiteral("x7#kq2!zp9@lm4$vb8&r") << QStringLiteral("strong") << 4;
    }

    void withDisplayFollowsTheKeyAsItIsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, level);
        QFETCH(int, steps);
        KeyState keyState;
        ShownKeyDialog dialog(keyState);
        dialog.Prepare(nullptr, true);
        dialog.show();
        KeyStrengthIndicator* strength = Strength(dialog);
        QVERIFY(strength);
        QVERIFY(!strength->isVisible());
        QTest::keyClicks(dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey")), typed);
        QVERIFY(strength->isVisible());
        QVERIFY2(strength->Line().startsWith(QStringLiteral("Strength: %1,").arg(level)),
                 qPrintable(strength->Line()));
        QCOMPARE(strength->Steps(), steps);
        // Nothing is left once the field is empty again.
        for (qsizetype count = 0; count < typed.size(); ++count)
            QTest::keyClick(dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey")), Qt::Key_Backspace);
        QVERIFY(!strength->isVisible());
        QCOMPARE(strength->Steps(), 0);
    }

    void withDisplayShowsNothingForSpacesAndForgetsTheLineOnHiding()
    {
        KeyState keyState;
        ShownKeyDialog dialog(keyState);
        dialog.Prepare(nullptr, true);
        dialog.show();
        auto* field = dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey"));
        QTest::keyClicks(field, QStringLiteral("   "));
        QVERIFY(!Strength(dialog)->isVisible());
        QTest::keyClicks(field, QStringLiteral("password"));
        QVERIFY(Strength(dialog)->isVisible());
        dialog.reject();
        QVERIFY(Strength(dialog)->Line().isEmpty());
        dialog.Prepare(nullptr, true);
        dialog.show();
        QVERIFY(!Strength(dialog)->isVisible());
    }

    void withoutDisplayFollowsTheFirstEntryOnly()
    {
        KeyState keyState;
        kyv::test::FakePrompter prompter;
        NoInspector inspector;
        HiddenKeyDialog dialog(keyState, prompter, inspector);
        dialog.Prepare(nullptr, true);
        dialog.show();
        KeyStrengthIndicator* strength = Strength(dialog);
        QVERIFY(!strength->isVisible());
        QTest::keyClicks(dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_0")),
                         QStringLiteral("x7#kq2!zp9@lm4$vb8&r"));
        QVERIFY(strength->Line().startsWith(QStringLiteral("Strength: strong,")));
        // The re-entry is not estimated: a half-typed repeat would show a weak key.
        QTest::keyClicks(dialog.findChild<KeyEntryField*>(QStringLiteral("txbKey_1")),
                         QStringLiteral("aaaa"));
        QVERIFY(strength->Line().startsWith(QStringLiteral("Strength: strong,")));
        QCOMPARE(strength->Steps(), 4);
    }

    void inspectionSaysEachKindOfKeyAsWhatItIs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<bool>("random");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("steps");
        QTest::newRow("typed key")
            << QByteArray("password 1234 5678") << true << false
            << QStringLiteral("Strength: very weak, one GPU needs less than a second to guess it.") << 1;
        QTest::newRow("random keyfile")
            << QByteArray(64, 'A') << false << true
            << QStringLiteral("Strength: very strong, a random key of 256 bits.") << 5;
        QTest::newRow("text keyfile")
            << QByteArray("password 1234 5678") << false << false
            << QStringLiteral("Strength: as strong as the keyfile is secret; its bytes are not random.") << 0;
    }

    void inspectionSaysEachKindOfKeyAsWhatItIs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, typed);
        QFETCH(bool, random);
        QFETCH(QString, line);
        QFETCH(int, steps);
        KeyState keyState;
        keyState.rawKeyBytes.Assign({reinterpret_cast<const unsigned char*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size())});
        keyState.isText = !random;
        keyState.apparentlyRandom = random;
        kyv::test::FakePrompter prompter;
        KeyInspectionDialog window(keyState, prompter, nullptr);
        KeyInspectionRequest request;
        request.classificationLine = QStringLiteral("Key entered at keyboard");
        request.typedKey = typed;
        window.Prepare(request);
        window.show();
        QVERIFY(Strength(window)->isVisible());
        QCOMPARE(Strength(window)->Line(), line);
        QCOMPARE(Strength(window)->Steps(), steps);
        window.reject();
        QVERIFY(Strength(window)->Line().isEmpty());
    }
};

QTEST_MAIN(TestKeyStrengthDisplay)
#include "test_KeyStrengthDisplay.moc"
