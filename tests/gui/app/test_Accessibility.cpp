// What assistive technology finds in every window of the program, asked through QAccessible as a
// screen reader asks: every interactive control has a name and the role of what it is, the key
// fields are password fields while the key is hidden and then give away neither the key nor its
// length, and the main window's commands are described by their status lines.

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "../keys/ModalScript.h"
#include "core/common/Clock.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/common/MessageBoxPrompter.h"
#include "gui/files/InputFilesDialog.h"
#include "gui/files/OutputFilesDialog.h"
#include "gui/help/CreditsWindow.h"
#include "gui/help/HelpWindow.h"
#include "gui/keys/HiddenKeyDialog.h"
#include "gui/keys/KeyEntryField.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "gui/keys/RandomKeyDialog.h"
#include "gui/keys/ShownKeyDialog.h"
#include "gui/launch/ConfirmationDialog.h"
#include "gui/operation/AntivirusQueryDialog.h"
#include "gui/operation/PurgeWarningDialog.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestDialog.h"
#include "support/TestFailure.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

// The role a control of this kind must have, or nullopt for a widget that is not interactive.
std::optional<QAccessible::Role> ExpectedRole(QWidget* widget)
{
    if (qobject_cast<QRadioButton*>(widget)) return QAccessible::RadioButton;
    if (qobject_cast<QCheckBox*>(widget)) return QAccessible::CheckBox;
    if (qobject_cast<QPushButton*>(widget)) return QAccessible::Button;
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<KeyEntryField*>(widget) ||
        qobject_cast<QPlainTextEdit*>(widget))
        return QAccessible::EditableText;
    if (qobject_cast<QListWidget*>(widget)) return QAccessible::List;
    if (qobject_cast<QProgressBar*>(widget)) return QAccessible::ProgressBar;
    // The bars drawn as block characters.
    if (qobject_cast<QLabel*>(widget) && widget->objectName() == QStringLiteral("lblProgressBar"))
        return QAccessible::ProgressBar;
    return std::nullopt;
}

// A part of a composite control (a text box's scroll bar, a list's viewport) speaks through it.
bool InsideCompositeControl(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* parent = widget->parentWidget(); parent != nullptr && parent != window;
         parent = parent->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(parent) != nullptr) return true;
    }
    return false;
}

// Every interactive control of `window` without a name or with the wrong role, one line each.
QStringList Problems(QWidget* window)
{
    QStringList problems;
    int controls = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // A dialog owned by this window is checked as a window of its own.
        if (widget->window() != window || InsideCompositeControl(widget, window)) continue;
        const std::optional<QAccessible::Role> role = ExpectedRole(widget);
        if (!role) continue;
        ++controls;
        const QString where = window->objectName() + QLatin1Char('/') + widget->objectName();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible == nullptr) {
            problems << where + QStringLiteral(": not accessible");
            continue;
        }
        if (accessible->text(QAccessible::Name).trimmed().isEmpty())
            problems << where + QStringLiteral(": no name");
        // Qt gives push buttons the role Button, which is also called PushButton.
        if (accessible->role() != *role)
            problems << where + QStringLiteral(": role %1, not %2").arg(accessible->role()).arg(*role);
    }
    if (controls == 0) problems << window->objectName() + QStringLiteral(": no controls found");
    return problems;
}

QString AllTexts(QAccessibleInterface* accessible)
{
    QStringList texts;
    for (QAccessible::Text type : {QAccessible::Name, QAccessible::Description, QAccessible::Value,
                                   QAccessible::Help, QAccessible::Accelerator})
        texts << accessible->text(type);
    return texts.join(QLatin1Char('|'));
}

class FixedClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2026, 12, 9), QTime(3, 0)); }
};

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void everyInteractiveControlOfEveryWindowHasANameAndItsRole()
    {
        test::TestInstallation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        AppContext& context = installation.context;
        FixedClock clock;
        QList<QWidget*> windows = {&window, &window.InputDialog(), &window.OutputDialog(),
                                   &window.GraphicWindow()};
        std::vector<std::unique_ptr<QWidget>> owned;
        const auto add = [&](QWidget* made) {
            owned.emplace_back(made);
            windows << made;
        };
        auto* inspection = new KeyInspectionDialog(context.key, installation.prompter, &window);
        add(inspection);
        add(new ShownKeyDialog(context.key, &window));
        add(new HiddenKeyDialog(context.key, installation.prompter, *inspection, &window));
        add(new RandomKeyDialog(clock, &window));
        add(new ConfirmationDialog(&window, nullptr));
        add(new ReportWindow(context.run, context.setup, context.values, installation.prompter, clock,
                             &window));
        add(new AntivirusQueryDialog(&window));
        add(new PurgeWarningDialog(&window));
        add(new ReliabilityTestDialog(&window));
        auto* help = new HelpWindow(&window);
        add(help);
        // Deleted with the help window.
        windows << new CreditsWindow(help);

        // Each window as the user meets it: some captions are only written when it is shown.
        QStringList problems;
        for (QWidget* each : windows) {
            each->show();
            problems << Problems(each);
            each->hide();
        }
        // A message box of the program, as the prompter shows it (message boxes have no object name).
        MessageBoxPrompter prompter({&window, QString()});
        kyv::test::WhenShown(QString(), [&problems](QWidget* box) {
            problems << Problems(box);
            box->close();
        });
        (void)prompter.Ask({QStringLiteral("Overwrite existing file x?"), QStringLiteral("File exists"),
                            MessageButtons::YesNoCancel, MessageIcon::None, 1});
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void aHiddenKeyGivesAwayNeitherItsTextNorItsLength()
    {
        QFETCH(QString, typed);
        QFETCH(bool, masked);
        KeyEntryField field;
        field.setAccessibleName(QStringLiteral("Key"));
        field.SetMasked(masked);
        field.show();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&field);
        QVERIFY(accessible != nullptr);
        const QString before = AllTexts(accessible);
        QTest::keyClicks(&field, typed);
        QCOMPARE(field.Length(), typed.size());
        QCOMPARE(accessible->role(), QAccessible::EditableText);
        QCOMPARE(bool(accessible->state().passwordEdit), masked);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Key"));
        if (masked) {
            // The same as for an empty field, whatever was typed, and no way to count characters.
            QCOMPARE(AllTexts(accessible), before);
            QVERIFY(!AllTexts(accessible).contains(typed.left(4)));
            QVERIFY(accessible->textInterface() == nullptr);
            QVERIFY(accessible->editableTextInterface() == nullptr);
            QVERIFY(accessible->valueInterface() == nullptr);
        } else {
            QCOMPARE(accessible->text(QAccessible::Value), typed);
        }
    }

    void aHiddenKeyGivesAwayNeitherItsTextNorItsLength_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("masked");
        QTest::newRow("hidden, 16 characters") << "sixteen-chars-ok" << true;
        QTest::newRow("hidden, 40 characters") << "a much longer key of forty characters ok" << true;
        QTest::newRow("shown") << "a key shown as typed" << false;
    }

    void theHiddenKeyDialogsFieldsArePasswordFields()
    {
        test::TestInstallation installation;
        KeyInspectionDialog inspection(installation.context.key, installation.prompter, nullptr);
        HiddenKeyDialog dialog(installation.context.key, installation.prompter, inspection, nullptr);
        for (const char* name : {"txbKey_0", "txbKey_1"}) {
            auto* field = dialog.findChild<KeyEntryField*>(QString::fromLatin1(name));
            QVERIFY(field != nullptr);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
            QVERIFY(accessible->state().passwordEdit);
        }
    }

    void commandsAreDescribedByTheirStatusLines()
    {
        test::TestInstallation installation;
        MainWindow window(installation.context);
        QVERIFY(window.StartUp());
        const auto description = [&window](MainCommand command) {
            return QAccessible::queryAccessibleInterface(window.Button(command))
                ->text(QAccessible::Description);
        };
        QVERIFY(description(MainCommand::Function).startsWith(QStringLiteral("Encryption (Encrypt")));
        window.Click(MainCommand::Function);
        QVERIFY(description(MainCommand::Function).startsWith(QStringLiteral("Decryption (Decrypt")));
        QCOMPARE(description(MainCommand::InputFolder), installation.context.values.notSpecifiedText);
        QCOMPARE(description(MainCommand::Subdirectories).left(2), QStringLiteral("No"));
        QVERIFY(!description(MainCommand::KeyFrom).isEmpty());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_Accessibility.moc"
