// Every window, dialog and panel from the keyboard, one table over all of them: Escape answers as
// the window's Cancel (or "Not now", or the answer that stands for it) does and leaves the main
// window alone; Enter where the window has its focus, or in the box that takes Enter, gives that
// control's answer; Tab and Shift+Tab go through the controls in the order they are laid out, top
// to bottom and left to right.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/common/Clock.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "gui/analysis/RandomnessReportPanel.h"
#include "gui/app/MainWindow.h"
#include "gui/files/InputFilesDialog.h"
#include "gui/files/OptionTextBox.h"
#include "gui/files/OutputFilesDialog.h"
#include "gui/help/CreditsWindow.h"
#include "gui/help/HelpWindow.h"
#include "gui/keys/HiddenKeyDialog.h"
#include "gui/keys/KeyEntryField.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "gui/keys/KeyPanel.h"
#include "gui/keys/RandomKeyDialog.h"
#include "gui/keys/ShownKeyDialog.h"
#include "gui/launch/ConfirmationDialog.h"
#include "gui/operation/AntivirusQueryDialog.h"
#include "gui/operation/PurgeWarningDialog.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestDialog.h"
#include "support/StartedMainWindow.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

class FixedClock final : public Clock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2026, 12, 10), QTime(9, 0)); }
};

// A started main window with a folder of two files as both sides, and every window the program
// makes besides it.
struct Windows : test::StartedMainWindow {
    FixedClock clock;
    KeyInspectionDialog inspection{context.key, prompter, window.get()};
    ShownKeyDialog shownKey{context.key, window.get()};
    HiddenKeyDialog hiddenKey{context.key, prompter, inspection, window.get()};
    RandomKeyDialog randomKey{clock, window.get()};
    ConfirmationDialog confirmation{window.get(), nullptr};
    ReportWindow report{context.run, context.setup, context.values, prompter, clock, window.get()};
    AntivirusQueryDialog antivirus{window.get()};
    PurgeWarningDialog purgeAdvice{window.get()};
    ReliabilityTestDialog reliability{window.get()};
    HelpWindow help{window.get()};

    Windows()
    {
        File(QStringLiteral("a.txt"));
        File(QStringLiteral("b.txt"));
        context.setup.folders = {kyv::platform::FilePath(Folder()), kyv::platform::FilePath(Folder())};
        context.setup.fileSpecs = {QStringLiteral("*.*"), QStringLiteral("*.enc")};
        window->show();
    }
    QWidget* Named(QWidget* scope, const char* name) const
    {
        return scope->findChild<QWidget*>(QString::fromLatin1(name));
    }
};

// A window opened as the program opens it: `scope` holds its controls; `escaped` and `entered`
// say what is wrong (empty: nothing) after Escape and after Enter.
struct Opened {
    QWidget* scope = nullptr;
    std::function<QString()> escaped;
    // Where Enter goes and what is typed there first; null: the control that has the focus.
    QWidget* enterIn = nullptr;
    QString typed;
    std::function<QString()> entered;
};

QString Expect(bool holds, const char* what) { return holds ? QString() : QString::fromLatin1(what); }

// The answer a dialog gives once it is hidden: `answer` when it holds, else what went wrong.
std::function<QString()> HiddenWith(QWidget* dialog, std::function<bool()> answer, const char* what)
{
    return [dialog, answer, what] {
        if (dialog->isVisible()) return QStringLiteral("still open");
        return Expect(answer(), what);
    };
}

struct WindowRow {
    const char* name;
    std::function<Opened(Windows&)> open;
};

const std::vector<WindowRow>& AllWindows()
{
    static const std::vector<WindowRow> kRows = {
        {"Main window",
         [](Windows& w) {
             // Escape leaves the main window as it is; Enter on Function, where the focus starts, performs
             // it.
             MainWindow& window = *w.window;
             const auto encrypting = [&w, &window](Direction expected, const char* what) {
                 return [&w, &window, expected, what] {
                     return Expect(window.isVisible() && w.context.setup.direction == expected, what);
                 };
             };
             return Opened{&window, encrypting(Direction::Encrypt, "changed by Escape"), nullptr, QString(),
                           encrypting(Direction::Decrypt, "Function not performed")};
         }},
        {"Specify input files",
         [](Windows& w) {
             InputFilesDialog& dialog = w.window->InputDialog();
             dialog.show();
             const auto accepted = [&dialog] { return dialog.choiceAccepted; };
             return Opened{&dialog,
                           HiddenWith(
                               &dialog, [&dialog] { return !dialog.choiceAccepted; }, "accepted"),
                           dialog.extensionBox, QStringLiteral("txt"),
                           HiddenWith(&dialog, accepted, "not accepted")};
         }},
        {"Specify output files",
         [](Windows& w) {
             OutputFilesDialog& dialog = w.window->OutputDialog();
             dialog.show();
             const auto accepted = [&dialog] { return dialog.choiceAccepted; };
             return Opened{&dialog,
                           HiddenWith(
                               &dialog, [&dialog] { return !dialog.choiceAccepted; }, "accepted"),
                           dialog.specBox, QStringLiteral("*.enc"),
                           HiddenWith(&dialog, accepted, "not accepted")};
         }},
        {"Type key (with display)",
         [](Windows& w) {
             ShownKeyDialog& dialog = w.shownKey;
             dialog.Prepare(w.window.get(), true);
             dialog.show();
             const auto answer = [&dialog](TypedKeyAnswer expected) {
                 return [&dialog, expected] { return dialog.TakeResult().answer == expected; };
             };
             // Typed first, so that Yes is offered; then Enter on Yes.
             QTest::keyClicks(w.Named(&dialog, "txbKey"), QStringLiteral("sixteen-letters!"));
             return Opened{&dialog, HiddenWith(&dialog, answer(TypedKeyAnswer::Cancel), "not cancelled"),
                           w.Named(&dialog, "cmdYes"), QString(),
                           HiddenWith(&dialog, answer(TypedKeyAnswer::Yes), "not Yes")};
         }},
        {"Type key (without display)",
         [](Windows& w) {
             HiddenKeyDialog& dialog = w.hiddenKey;
             dialog.Prepare(w.window.get(), true);
             dialog.show();
             const auto answer = [&dialog](TypedKeyAnswer expected) {
                 return [&dialog, expected] { return dialog.TakeResult().answer == expected; };
             };
             for (const char* field : {"txbKey_0", "txbKey_1"})
                 QTest::keyClicks(w.Named(&dialog, field), QStringLiteral("sixteen-letters!"));
             w.prompter.Answer(MessageAnswer::No);  // no inspection
             return Opened{&dialog, HiddenWith(&dialog, answer(TypedKeyAnswer::Cancel), "not cancelled"),
                           w.Named(&dialog, "cmdOK"), QString(),
                           HiddenWith(&dialog, answer(TypedKeyAnswer::Yes), "not Yes")};
         }},
        {"Create random key",
         [](Windows& w) {
             RandomKeyDialog& dialog = w.randomKey;
             dialog.Prepare();
             dialog.show();
             // Enter is one more key press that adds a character.
             const std::size_t before = dialog.Gathering().Gathered();
             return Opened{
                 &dialog,
                 HiddenWith(
                     &dialog, [&dialog] { return !dialog.Gathering().Complete(); }, "the key was completed"),
                 &dialog, QString(), [&dialog, before] {
                     dialog.Sample();
                     return Expect(dialog.isVisible() && dialog.Gathering().Gathered() == before + 1,
                                   "Enter added no character");
                 }};
         }},
        {"Inspect the key",
         [](Windows& w) {
             static constexpr unsigned char kTyped[] = "sixteen letters!";
             w.context.key.rawKeyBytes = SecureBytes(std::span(kTyped, 16));
             w.context.key.isText = true;
             KeyInspectionDialog& dialog = w.inspection;
             dialog.Prepare({QStringLiteral("Key entered at keyboard"), QString(), false, false, true});
             dialog.show();
             return Opened{&dialog,
                           HiddenWith(
                               &dialog, [&dialog] { return !dialog.useThisKey; }, "key used"),
                           nullptr, QString(),
                           HiddenWith(
                               &dialog, [&dialog] { return dialog.useThisKey; }, "not used")};
         }},
        {"Confirm operation",
         [](Windows& w) {
             ConfirmationDialog& dialog = w.confirmation;
             dialog.Prepare({QStringLiteral("Encrypt *.* in /tmp/ to *.enc."),
                             QStringLiteral("Perform this operation?")});
             dialog.show();
             return Opened{&dialog,
                           HiddenWith(
                               &dialog, [&dialog] { return !dialog.confirmed; }, "confirmed"),
                           nullptr, QString(),
                           HiddenWith(
                               &dialog, [&dialog] { return dialog.confirmed; }, "not confirmed")};
         }},
        {"Report window after a run",
         [](Windows& w) {
             ReportWindow& report = w.report;
             (void)report.Deliver(RunStartedEvent{});
             (void)report.Deliver(FolderStartedEvent{true, QStringLiteral("a.txt"),
                                                     platform::FilePath(QStringLiteral("/tmp/"))});
             (void)report.Deliver(RunFinishedEvent{});
             report.show();
             const auto closed = [&report] { return Expect(!report.isVisible(), "still open"); };
             return Opened{&report, closed, w.Named(&report, "cmdClose"), QString(), closed};
         }},
        {"Antivirus software query",
         [](Windows& w) {
             AntivirusQueryDialog& dialog = w.antivirus;
             dialog.show();
             const auto dontKnow = [&dialog] { return dialog.answer == AntivirusAnswer::DontKnow; };
             return Opened{&dialog, HiddenWith(&dialog, dontKnow, "not Don't know"), nullptr, QString(),
                           HiddenWith(&dialog, dontKnow, "not Don't know")};
         }},
        {"Purge advice",
         [](Windows& w) {
             PurgeWarningDialog& dialog = w.purgeAdvice;
             dialog.purgeFilePath = w.Folder() + QStringLiteral("a.txt");
             dialog.show();
             const auto ok = HiddenWith(
                 &dialog, [&dialog] { return dialog.showPurgeWarning; }, "advice turned off");
             return Opened{&dialog, ok, nullptr, QString(), ok};
         }},
        {"Reliability test",
         [](Windows& w) {
             ReliabilityTestDialog& dialog = w.reliability;
             dialog.Prepare(false);
             dialog.show();
             auto* count = static_cast<QLineEdit*>(w.Named(&dialog, "txbNumTests"));
             count->clear();
             const auto continued = [&dialog] {
                 return !dialog.Result().cancelled && dialog.Result().performTest &&
                        dialog.Result().performances == 3;
             };
             return Opened{&dialog,
                           HiddenWith(
                               &dialog, [&dialog] { return dialog.Result().cancelled; }, "not cancelled"),
                           count, QStringLiteral("3"), HiddenWith(&dialog, continued, "not Continue with 3")};
         }},
        {"Help",
         [](Windows& w) {
             w.help.ShowAt(HelpTopic::Function);
             const auto closed = [&w] { return Expect(!w.help.isVisible(), "still open"); };
             return Opened{&w.help, closed, w.Named(&w.help, "cmdClose"), QString(), closed};
         }},
        {"Author",
         [](Windows& w) {
             w.help.ShowAt(HelpTopic::UsingHelp);
             w.help.ShowCredits();
             auto* credits = w.help.findChild<CreditsWindow*>();
             const auto closed = [credits] { return Expect(!credits->isVisible(), "still open"); };
             return Opened{credits, closed, w.Named(credits, "cmdClose"), QString(), closed};
         }},
        {"Randomness graphic",
         [](Windows& w) {
             RandomnessGraphicWindow& graphic = w.window->GraphicWindow();
             graphic.Prepare(
                 {QStringLiteral("a.txt"), QStringLiteral("300 bytes"), QStringLiteral("0.100"), 300},
                 kyv::platform::FilePath(w.Folder() + QStringLiteral("a.txt")));
             graphic.show();
             const auto closed = [&graphic] { return Expect(!graphic.isVisible(), "still open"); };
             return Opened{&graphic, closed, w.Named(&graphic, "cmdDisplay"), QString(), [&graphic] {
                               return Expect(graphic.isVisible() && graphic.DrawingState() !=
                                                                        RandomnessGraphicWindow::State::Ready,
                                             "Display did not start the picture");
                           }};
         }},
        {"Key panel",
         [](Windows& w) {
             w.Click(MainCommand::KeyFrom);
             QWidget* panel = w.window->Keys().PanelWidget();
             const auto closed = [&w, panel] {
                 return Expect(!panel->isVisible() && w.context.key.source == NotSpecified, "not cancelled");
             };
             return Opened{panel, closed, w.Named(panel, "cmdDontSpecifyKeyNow"), QString(), closed};
         }},
        {"Setup panel",
         [](Windows& w) {
             w.Click(MainCommand::Setup);
             QWidget* panel = w.Named(w.window.get(), "fraSetup");
             const auto closed = [panel] { return Expect(!panel->isVisible(), "still open"); };
             return Opened{panel, closed, w.Named(panel, "cmdKeepSetup"), QString(), closed};
         }},
        {"Save setup panel",
         [](Windows& w) {
             w.Click(MainCommand::Setup);
             QTest::keyClick(w.Named(w.window.get(), "cmdSaveSetup"), Qt::Key_Space);
             QWidget* panel = w.Named(w.window.get(), "picSaveSetup");
             const auto closed = [panel] { return Expect(!panel->isVisible(), "still open"); };
             return Opened{panel, closed, w.Named(panel, "cmdDontSaveSetup"), QString(), closed};
         }},
        {"Randomness report panel",
         [](Windows& w) {
             w.Click(MainCommand::RandomnessReport);
             RandomnessReportPanel& panel = w.window->RandomnessPanel();
             const auto closed = [&panel] { return Expect(!panel.isVisible(), "still open"); };
             return Opened{&panel, closed, w.Named(&panel, "randomnessReportNotNow"), QString(), closed};
         }},
    };
    return kRows;
}

void AddWindowRows()
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < AllWindows().size(); ++i) QTest::newRow(AllWindows()[i].name) << int(i);
}

// An option of a group whose chosen option is another: Tab comes into a group at its chosen
// option, and the arrow keys move within it.
bool OtherOptionChosen(const QWidget* widget)
{
    const auto* option = qobject_cast<const QRadioButton*>(widget);
    if (option == nullptr || !option->autoExclusive() || option->isChecked()) return false;
    for (const QRadioButton* sibling :
         option->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
        if (sibling->autoExclusive() && sibling->isChecked()) return true;
    }
    return false;
}

// The controls of `scope` the Tab key stops at, in reading order: rows from top to bottom (two
// controls share a row when they overlap by half the lower one's height), each row left to right.
QList<QWidget*> LayoutOrder(QWidget* scope)
{
    QList<QWidget*> controls;
    for (QWidget* widget : scope->findChildren<QWidget*>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || widget->focusProxy() != nullptr)
            continue;
        if (!widget->isVisibleTo(scope) || !widget->isEnabled() || widget->window() != scope->window())
            continue;
        if (OtherOptionChosen(widget)) continue;
        controls << widget;
    }
    const auto place = [scope](const QWidget* widget) {
        return QRect(widget->mapTo(scope, QPoint()), widget->size());
    };
    std::sort(controls.begin(), controls.end(),
              [&place](const QWidget* a, const QWidget* b) { return place(a).top() < place(b).top(); });
    QList<QList<QWidget*>> rows;
    int rowBottom = 0;
    for (QWidget* widget : controls) {
        const QRect at = place(widget);
        if (rows.isEmpty() ||
            rowBottom - at.top() < std::min(at.height(), place(rows.last().first()).height()) / 2) {
            rows.emplaceBack();
            rowBottom = at.bottom();
        }
        rows.last() << widget;
        rowBottom = std::max(rowBottom, at.bottom());
    }
    QList<QWidget*> ordered;
    for (QList<QWidget*>& row : rows) {
        std::sort(row.begin(), row.end(),
                  [&place](const QWidget* a, const QWidget* b) { return place(a).left() < place(b).left(); });
        ordered << row;
    }
    return ordered;
}

// Opens row `row` and brings its window to the front, as showing it on a desktop does; the
// control that then has the focus, or the window itself when it has no controls.
Opened OpenActive(Windows& windows, int row, QWidget*& focused)
{
    Opened opened = AllWindows()[row].open(windows);
    QWidget* top = opened.scope->window();
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top))
        QTest::qFail("the window did not come to the front", __FILE__, __LINE__);
    focused = top->focusWidget() != nullptr ? top->focusWidget() : top;
    return opened;
}

QString Names(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (const QWidget* widget : widgets) names << (widget ? widget->objectName() : QStringLiteral("<none>"));
    return names.join(QLatin1Char(' '));
}

}  // namespace

class WindowKeysTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        test::SetTestFailureHandler(
            [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); });
    }

    void escapeAnswersAsCancelDoes_data() { AddWindowRows(); }
    void escapeAnswersAsCancelDoes()
    {
        QFETCH(int, row);
        Windows windows;
        QWidget* focused = nullptr;
        const Opened opened = OpenActive(windows, row, focused);
        QVERIFY2(opened.scope == focused || opened.scope->isAncestorOf(focused),
                 "the focus is outside the window");
        QTest::keyClick(focused, Qt::Key_Escape);
        const QString fault = opened.escaped();
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void enterGivesTheAnswerOfWhereItIsPressed_data() { AddWindowRows(); }
    void enterGivesTheAnswerOfWhereItIsPressed()
    {
        QFETCH(int, row);
        Windows windows;
        QWidget* focused = nullptr;
        const Opened opened = OpenActive(windows, row, focused);
        QWidget* target = opened.enterIn ? opened.enterIn : focused;
        if (opened.enterIn != nullptr) target->setFocus(Qt::TabFocusReason);
        if (!opened.typed.isEmpty()) QTest::keyClicks(target, opened.typed);
        QTest::keyClick(target, Qt::Key_Return);
        const QString fault = opened.entered();
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void tabGoesThroughTheControlsInLayoutOrder_data() { AddWindowRows(); }
    void tabGoesThroughTheControlsInLayoutOrder()
    {
        QFETCH(int, row);
        Windows windows;
        QWidget* focused = nullptr;
        const Opened opened = OpenActive(windows, row, focused);
        QWidget* top = opened.scope->window();
        const QList<QWidget*> expected = LayoutOrder(opened.scope);
        if (expected.isEmpty()) QSKIP("no controls: the window takes every key itself");
        expected.first()->setFocus(Qt::TabFocusReason);
        QList<QWidget*> forward;
        QList<QWidget*> backward;
        for (int step = 0; step < expected.size(); ++step) {
            forward << top->focusWidget();
            QTest::keyClick(top->focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(Names(forward), Names(expected));
        QCOMPARE(top->focusWidget(), expected.first());  // round to the start
        for (int step = 0; step < expected.size(); ++step) {
            QTest::keyClick(top->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(top->focusWidget());
        }
        QCOMPARE(Names(backward), Names(expected));
    }
};

QTEST_MAIN(WindowKeysTest)
#include "test_WindowKeys.moc"
