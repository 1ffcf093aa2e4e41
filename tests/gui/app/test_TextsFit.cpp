// Every label and button of every window holds its text in the font the window really uses: a
// caption laid out for another font's widths is cut off or runs under its neighbour.

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/common/Clock.h"
#include "core/keys/KeyInspector.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "gui/app/MainWindow.h"
#include "gui/files/InputFilesDialog.h"
#include "gui/files/OutputFilesDialog.h"
#include "gui/help/CreditsWindow.h"
#include "gui/help/HelpWindow.h"
#include "gui/keys/HiddenKeyDialog.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "gui/keys/RandomKeyDialog.h"
#include "gui/keys/ShownKeyDialog.h"
#include "gui/launch/ConfirmationDialog.h"
#include "gui/operation/AntivirusQueryDialog.h"
#include "gui/operation/PurgeWarningDialog.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestDialog.h"
#include "support/TestInstallation.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

class NoInspection : public KeyInspector {
public:
    bool InspectKey(const KeyInspectionRequest&) override { return true; }
};

int WidestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The room a button's style leaves for its caption.
int CaptionRoom(const QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QRadioButton*>(&button)) contents = QStyle::SE_RadioButtonContents;
    if (qobject_cast<const QCheckBox*>(&button)) contents = QStyle::SE_CheckBoxContents;
    int room = button.style()->subElementRect(contents, &option, &button).width();
    // The push button's own padding inside its contents, as its size hint counts it.
    if (contents == QStyle::SE_PushButtonContents)
        room -= 2 * button.style()->pixelMetric(QStyle::PM_ButtonMargin, &option, &button) / 2;
    return room;
}

// "window/control: needs N px, has M px" for every shown caption that does not fit.
QStringList TextsCutOff(const QWidget& window)
{
    QStringList cut;
    const auto note = [&cut, &window](const QWidget& control, const QString& what, int needs, int has) {
        cut << QStringLiteral("%1/%2 \"%3\": %4 needs %5 px, has %6 px")
                   .arg(window.objectName(), control.objectName(), control.property("text").toString(), what)
                   .arg(needs)
                   .arg(has);
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty() || !label->pixmap().isNull()) continue;
        if (label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text())) continue;
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                          -label->margin());
        if (label->wordWrap()) {
            const int needs = label->heightForWidth(label->width());
            if (needs > label->height()) note(*label, QStringLiteral("height"), needs, label->height());
            continue;
        }
        const int needs = WidestLine(label->fontMetrics(), label->text());
        if (needs > room.width()) note(*label, QStringLiteral("width"), needs, room.width());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window) || button->text().isEmpty()) continue;
        if (button->parentWidget() != nullptr && button->parentWidget()->inherits("QAbstractScrollArea"))
            continue;
        const int needs = WidestLine(button->fontMetrics(), QString(button->text()).remove(QLatin1Char('&')));
        const int has = CaptionRoom(*button);
        if (needs > has) note(*button, QStringLiteral("width"), needs, has);
    }
    return cut;
}

// The program's windows, each made and prepared as the program shows it.
struct Windows {
    test::TestInstallation installation;
    NoInspection inspector;
    SystemClock clock;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<ReportWindow> report;

    Windows()
    {
        main = std::make_unique<MainWindow>(installation.context);
        report = std::make_unique<ReportWindow>(installation.context.run, installation.context.setup,
                                                installation.context.values, installation.prompter, clock,
                                                main.get());
        if (!main->StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
    }
};

using Shown = std::function<QWidget*(Windows&, bool encrypting)>;

}  // namespace

class TextsFitTest : public QObject {
    Q_OBJECT
private:
    std::vector<std::pair<const char*, Shown>> windows_{
        {"main window", [](Windows& w, bool) -> QWidget* { return w.main.get(); }},
        {"main window, key panel",
         [](Windows& w, bool) -> QWidget* {
             w.main->OpenKeyPanel();
             return w.main.get();
         }},
        {"main window, setup panel",
         [](Windows& w, bool) -> QWidget* {
             w.main->OpenSetupPanel();
             return w.main.get();
         }},
        {"main window, randomness panel",
         [](Windows& w, bool) -> QWidget* {
             w.main->OpenRandomnessReport();
             return w.main.get();
         }},
        {"input files",
         [](Windows& w, bool) -> QWidget* {
             w.installation.context.values.fileListCount = 3;
             return &w.main->InputDialog();
         }},
        {"output files",
         [](Windows& w, bool) -> QWidget* {
             w.installation.context.values.fileListCount = 3;
             return &w.main->OutputDialog();
         }},
        {"type key with display",
         [](Windows& w, bool encrypting) -> QWidget* {
             auto* dialog = new ShownKeyDialog(w.installation.context.key, w.main.get());
             dialog->Prepare(w.main.get(), encrypting);
             return dialog;
         }},
        {"type key without display",
         [](Windows& w, bool encrypting) -> QWidget* {
             auto* dialog = new HiddenKeyDialog(w.installation.context.key, w.installation.prompter,
                                                w.inspector, w.main.get());
             dialog->Prepare(w.main.get(), encrypting);
             return dialog;
         }},
        {"inspect key",
         [](Windows& w, bool) -> QWidget* {
             w.installation.context.key.rawKeyBytes = SecureBytes(64);
             for (std::size_t i = 0; i < 64; ++i)
                 w.installation.context.key.rawKeyBytes[i] = static_cast<unsigned char>(33 + (i * 37) % 200);
             w.installation.context.key.apparentlyRandom = true;
             auto* dialog =
                 new KeyInspectionDialog(w.installation.context.key, w.installation.prompter, w.main.get());
             dialog->Prepare({QStringLiteral("Apparently random key from file"),
                              QStringLiteral("/home/user/keys/a-keyfile-with-a-longer-name.key"), false,
                              true});
             return dialog;
         }},
        {"random key",
         [](Windows& w, bool) -> QWidget* {
             auto* dialog = new RandomKeyDialog(w.clock, w.main.get());
             dialog->Prepare();
             return dialog;
         }},
        {"confirm operation",
         [](Windows& w, bool) -> QWidget* {
             auto* dialog = new ConfirmationDialog(w.main.get(), nullptr);
             dialog->Prepare(
                 {QStringLiteral("Encrypting all files in the folder /home/user/letters/ (3 files) "
                                 ".  The output files will have the same names in the same folder."),
                  QStringLiteral("Perform this encryption operation?")});
             return dialog;
         }},
        {"report", [](Windows& w, bool) -> QWidget* { return w.report.get(); }},
        {"antivirus query",
         [](Windows& w, bool) -> QWidget* { return new AntivirusQueryDialog(w.main.get()); }},
        {"purge advice",
         [](Windows& w, bool encrypting) -> QWidget* {
             auto* dialog = new PurgeWarningDialog(w.main.get());
             dialog->purgeFilePath = QStringLiteral("/home/user/letters/letter to the bank.doc");
             dialog->encrypting = encrypting;
             return dialog;
         }},
        {"reliability test",
         [](Windows& w, bool encrypting) -> QWidget* {
             auto* dialog = new ReliabilityTestDialog(w.main.get());
             dialog->Prepare(encrypting);
             return dialog;
         }},
        {"help", [](Windows& w, bool) -> QWidget* { return new HelpWindow(w.main.get()); }},
        {"credits",
         [](Windows& w, bool) -> QWidget* {
             return (new HelpWindow(w.main.get()))->findChild<CreditsWindow*>();
         }},
        {"graphic",
         [](Windows& w, bool) -> QWidget* {
             auto* window = new RandomnessGraphicWindow(w.installation.prompter, w.installation.fileDialogs,
                                                        w.main.get());
             window->Prepare(
                 {QStringLiteral("Input file: letter to the bank.doc"),
                  QStringLiteral("Filesize = 123,456,789 bytes"), QStringLiteral("Randomness = 0.951"), 1000},
                 "/tmp/letter to the bank.doc");
             return window;
         }},
    };

private slots:
    void everyCaptionFitsItsControl_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("encrypting");
        for (std::size_t i = 0; i < windows_.size(); ++i) {
            QTest::addRow("%s, encrypting", windows_[i].first) << int(i) << true;
            QTest::addRow("%s, decrypting", windows_[i].first) << int(i) << false;
        }
    }

    void everyCaptionFitsItsControl()
    {
        QFETCH(int, window);
        QFETCH(bool, encrypting);
        Windows windows;
        if (!encrypting) windows.main->ToggleFunction();
        QWidget* shown = windows_[static_cast<std::size_t>(window)].second(windows, encrypting);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const QStringList cut = TextsCutOff(*shown);
        shown->hide();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("\n"))));
    }

    // The check itself finds a caption that is cut off.
    void aCaptionTooWideIsFound()
    {
        QWidget window;
        window.setObjectName(QStringLiteral("window"));
        auto* label = new QLabel(QStringLiteral("Number of times to perform the test: "), &window);
        label->setObjectName(QStringLiteral("label"));
        label->setGeometry(0, 0, 60, 20);
        auto* button = new QPushButton(QStringLiteral("Copy selected text to clipboard"), &window);
        button->setObjectName(QStringLiteral("button"));
        button->setGeometry(0, 30, 60, 25);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(TextsCutOff(window).size(), 2);
        label->adjustSize();
        button->resize(button->sizeHint());
        QCOMPARE(TextsCutOff(window), QStringList());
    }
};

QTEST_MAIN(TextsFitTest)
#include "test_TextsFit.moc"
