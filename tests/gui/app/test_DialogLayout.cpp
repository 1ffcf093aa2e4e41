// The dialogs laid out as a well-kept desktop program lays them out: buttons centred where they
// stand alone, boxes of one column in line, margins alike on both sides, no empty bands, the
// question under what it asks about, and the focus visible from the start.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "core/keys/KeyInspector.h"
#include "gui/files/OutputFilesDialog.h"
#include "gui/keys/HiddenKeyDialog.h"
#include "gui/launch/ConfirmationDialog.h"
#include "gui/operation/AntivirusQueryDialog.h"
#include "gui/operation/PurgeWarningDialog.h"
#include "gui/reltest/ReliabilityTestDialog.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

class NoInspection : public KeyInspector {
public:
    bool InspectKey(const KeyInspectionRequest&) override { return true; }
};

template <typename Control>
Control* Find(const QWidget& window, const char* name)
{
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) QTest::qFail(name, __FILE__, __LINE__);
    return control;
}

// The lowest edge of the visible controls of `window`.
int LowestControlBottom(const QWidget& window)
{
    int bottom = 0;
    for (const QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control->isVisibleTo(&window)) bottom = std::max(bottom, control->geometry().bottom() + 1);
    return bottom;
}

struct Fixture {
    test::TestInstallation installation;
    NoInspection inspector;
    QWidget main;
};

// What is wrong with the window's layout; empty when nothing is.
using Check = std::function<QString(Fixture&)>;

QString Differ(const char* what, int a, int b, int tolerance = 1)
{
    if (std::abs(a - b) <= tolerance) return {};
    return QStringLiteral("%1: %2 and %3").arg(QString::fromLatin1(what)).arg(a).arg(b);
}

}  // namespace

Q_DECLARE_METATYPE(Check)

class DialogLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void dialogsAreLaidOutEvenly_data()
    {
        QTest::addColumn<Check>("check");
        QTest::newRow("antivirus query: buttons centred") << Check([](Fixture&) {
            AntivirusQueryDialog dialog;
            dialog.show();
            const int left = Find<QPushButton>(dialog, "cmdYes")->x();
            const int right =
                dialog.width() - Find<QPushButton>(dialog, "cmdDontKnow")->geometry().right() - 1;
            return Differ("left and right margins", left, right);
        });
        QTest::newRow("purge advice: check box right under the advice") << Check([](Fixture&) {
            PurgeWarningDialog dialog;
            dialog.purgeFilePath = QStringLiteral("/home/user/letters/letter.doc");
            dialog.show();
            auto* message = Find<QLabel>(dialog, "lblMessage");
            const int textBottom = message->y() + message->heightForWidth(message->width());
            const int gap = Find<QCheckBox>(dialog, "chkDontShowAgain")->y() - textBottom;
            if (gap > message->fontMetrics().height()) return QStringLiteral("a gap of %1 px").arg(gap);
            return Differ("bottom margin and side margin",
                          dialog.height() - Find<QPushButton>(dialog, "cmdOK")->geometry().bottom() - 1,
                          message->x());
        });
        QTest::newRow("output files: text boxes in line") << Check([](Fixture& f) {
            OutputFilesDialog dialog(f.installation.context.setup, f.installation.context.values,
                                     f.installation.prompter);
            dialog.show();
            const int newFile = Find<QLineEdit>(dialog, "txbNewFile")->x();
            QString fault = Differ("new file and extension boxes", newFile,
                                   Find<QLineEdit>(dialog, "txbExtension")->x(), 0);
            if (fault.isEmpty())
                fault = Differ("new file and specification boxes' right edges",
                               Find<QLineEdit>(dialog, "txbNewFile")->geometry().right(),
                               Find<QLineEdit>(dialog, "txbFilespec")->geometry().right(), 0);
            return fault;
        });
        QTest::newRow("type key without display: Cancel ends where the fields end") << Check([](Fixture& f) {
            f.main.resize(600, 400);
            HiddenKeyDialog dialog(f.installation.context.key, f.installation.prompter, f.inspector, &f.main);
            dialog.Prepare(&f.main, true);
            dialog.show();
            return Differ("right ends of Cancel and of the fields",
                          Find<QPushButton>(dialog, "cmdCancel")->geometry().right(),
                          Find<QWidget>(dialog, "txbKey_0")->geometry().right());
        });
        QTest::newRow("confirm operation: the question under the description, focus shown")
            << Check([](Fixture&) {
                   ConfirmationDialog dialog(nullptr, nullptr);
                   dialog.Prepare({QStringLiteral("Encrypting all files in the folder /home/user/letters/ "
                                                  "(3 files) .  The output files will have the same names "
                                                  "in the same folder."),
                                   QStringLiteral("Perform this encryption operation?")});
                   dialog.show();
                   if (!QTest::qWaitForWindowActive(&dialog)) return QStringLiteral("not active");
                   auto* description = Find<QLabel>(dialog, "lblDescr");
                   auto* question = Find<QLabel>(dialog, "lblPerformOperation");
                   const int textBottom =
                       description->y() + description->heightForWidth(description->width());
                   if (question->y() < textBottom)
                       return QStringLiteral("the question at %1 beside the description ending at %2")
                           .arg(question->y())
                           .arg(textBottom);
                   QString fault =
                       Differ("left edges of description and question", question->x(), description->x(), 0);
                   if (fault.isEmpty() && qobject_cast<QPushButton*>(QApplication::focusWidget()) == nullptr)
                       fault = QStringLiteral("no button has the focus");
                   // Styles draw the focus of a button only after keyboard use.
                   if (fault.isEmpty() && !dialog.testAttribute(Qt::WA_KeyboardFocusChange))
                       fault = QStringLiteral("the focus is not shown");
                   return fault;
               });
        QTest::newRow("reliability test: no empty band at the bottom") << Check([](Fixture&) {
            ReliabilityTestDialog dialog(nullptr);
            dialog.Prepare(true);
            dialog.show();
            return Differ("bottom margin and side margin", dialog.height() - LowestControlBottom(dialog),
                          Find<QLabel>(dialog, "lblIntro")->x());
        });
    }

    void dialogsAreLaidOutEvenly()
    {
        QFETCH(Check, check);
        Fixture fixture;
        const QString fault = check(fixture);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

QTEST_MAIN(DialogLayoutTest)
#include "test_DialogLayout.moc"
