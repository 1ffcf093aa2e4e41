// The pictures of the program's windows for the README: every window as a person meets it, each
// with its frame as the window manager draws it, written as PNG files into the folder named on
// the command line. The windows are the program's own, wired as the program wires them; only the
// file dialogs and message boxes are answered by script. Run by scripts/screenshots.sh under
// run-under-window-manager.sh.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "../keys/ModalScript.h"
#include "XWindow.h"
#include "core/app/AppContext.h"
#include "core/app/PathOpener.h"
#include "core/common/Clock.h"
#include "core/common/ProgramPaths.h"
#include "core/launch/FreeSpaceSource.h"
#include "core/operation/RunController.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/analysis/RandomnessGraphicWindow.h"
#include "gui/analysis/RandomnessReportPanel.h"
#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "gui/files/InputFilesDialog.h"
#include "gui/files/OutputFilesDialog.h"
#include "gui/help/HelpWindow.h"
#include "gui/keys/KeyEntryField.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "gui/keys/RandomKeyDialog.h"
#include "gui/keys/ShownKeyDialog.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/AntivirusQueryDialog.h"
#include "gui/operation/PurgeWarningDialog.h"
#include "gui/operation/ReportWindow.h"
#include "gui/operation/RunWindowWiring.h"
#include "gui/reltest/ReliabilityTestDialog.h"
#include "platform/Drives.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePrompter.h"
#include "support/TestFailure.h"

using namespace kyv;
using namespace kyv::gui;

namespace {

[[noreturn]] void Fail(const QString& what)
{
    std::fprintf(stderr, "screenshots: %s\n", qPrintable(what));
    std::exit(1);
}

// The program as main() builds it, with scripted file dialogs and message boxes, over a folder of
// ordinary documents.
class Program {
public:
    explicit Program(const QString& outputFolder) : output_(outputFolder)
    {
        QFile::copy(QStringLiteral(KYV_TEST_DATA "/../../data/kyve.dat"), program_.filePath("kyve.dat"));
        WindowWiring wiring;
        wiring.runController = &runController_;
        wiring.advisePurges = true;
        window_ = std::make_unique<MainWindow>(context_, wiring);
        if (!window_->StartUp()) Fail(QStringLiteral("the main window did not start"));
        window_->move(40, 40);
        if (!test::ShowFramed(*window_, true)) Fail(QStringLiteral("the main window got no frame"));
        QTest::qWait(1100);  // the start-up guard against clicks

        // A folder of a fixed name, so that the pictures show the same path every time.
        QDir(home_).removeRecursively();
        letters_ = home_ + QStringLiteral("/Documents/Letters/");
        QDir().mkpath(letters_);
        Write(letters_ + QStringLiteral("report.doc"), Prose(70000));
        Write(letters_ + QStringLiteral("letter to the bank.txt"), Prose(2400));
        Write(letters_ + QStringLiteral("minutes.odt"), Prose(18000));
    }

    ~Program() { QDir(home_).removeRecursively(); }

    MainWindow& Window() { return *window_; }
    ReportWindow& Report() { return window_->Report(); }
    AppContext& Context() { return context_; }
    test::FakePrompter& Prompter() { return prompter_; }
    test::FakeFileDialogs& FileDialogs() { return fileDialogs_; }
    const QString& Letters() const { return letters_; }

    // Writes `window` as it is on the screen, with its frame, to NAME.png.
    void Shoot(QWidget& window, const char* name)
    {
        if (!window.isVisible() && !test::ShowFramed(window))
            Fail(QStringLiteral("%1: no frame").arg(QString::fromLatin1(name)));
        window.raise();
        window.activateWindow();
        QTest::qWait(400);
        const QRect frame = test::RealFrame(window);
        if (frame.isEmpty())
            Fail(QStringLiteral("%1: no frame around the window").arg(QString::fromLatin1(name)));
        const QPixmap picture =
            window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        const QString path = output_ + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png");
        if (!picture.save(path)) Fail(QStringLiteral("cannot write ") + path);
        std::printf("%s\n", qPrintable(path));
    }

    // Performs `command` with the left button, as soon after a dialog as a script likes.
    void Click(MainCommand command, MouseButton button = MouseButton::Left)
    {
        context_.values.ignoreClicks = false;
        window_->Click(command, button);
    }

private:
    static QByteArray Prose(int size)
    {
        const QByteArray sentence(
            "The minutes of the meeting are attached, with the figures for the third quarter. ");
        return sentence.repeated(size / sentence.size() + 1).left(size);
    }
    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            Fail(QStringLiteral("cannot write ") + path);
    }

    QString output_;
    QTemporaryDir program_;
    QTemporaryDir appData_;
    const QString home_ = QDir::tempPath() + QStringLiteral("/kyv-screenshots");
    QString letters_;
    std::unique_ptr<cipher::CipherEngine> engine_ =
        cipher::MakeCipherEngine(cipher::KdfPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{2, 16}});
    test::FakePrompter prompter_;
    test::FakeFileDialogs fileDialogs_;
    SystemClock clock_;
    DriveFreeSpace freeSpace_;
    const ProgramPaths paths_{program_.path(), QString(), appData_.path(), QString()};
    const platform::FloppyFolders floppies_;
    const Services services_{clock_, prompter_, fileDialogs_, freeSpace_, paths_, *engine_, floppies_};
    AppContext context_{services_};
    RunController runController_{&WaitForRunEnd};
    std::unique_ptr<MainWindow> window_;
};

// Lets the program work until `done` holds; a minute at most.
void WaitUntil(const std::function<bool()>& done, const char* what)
{
    if (!QTest::qWaitFor(done, test::kPatienceMs))
        Fail(QStringLiteral("waited in vain for ") + QString::fromLatin1(what));
}

template <typename Widget>
Widget* Child(QWidget& window, const char* name)
{
    auto* child = window.findChild<Widget*>(QString::fromLatin1(name));
    if (child == nullptr) Fail(window.objectName() + QStringLiteral(" has no ") + QString::fromLatin1(name));
    return child;
}

// Waits for the modal window `name`, shoots it and leaves it with `close`.
void ShootModal(Program& program, const char* name, const char* picture, std::function<void(QWidget*)> close)
{
    test::WhenShown(QString::fromLatin1(name), [&program, picture, close](QWidget* window) {
        QTest::qWait(300);
        program.Shoot(*window, picture);
        close(window);
    });
}

void TheMainWindowAndItsPanels(Program& program)
{
    MainWindow& window = program.Window();
    program.Shoot(window, "main-empty");
    window.OpenPaths({program.Letters() + QStringLiteral("report.doc")}, StartFunction::Encrypt);
    QTest::qWait(500);
    program.Shoot(window, "main");

    program.Click(MainCommand::KeyFrom);
    program.Shoot(window, "key-panel");
    QTest::keyClick(Child<QPushButton>(window, "cmdDontSpecifyKeyNow"), Qt::Key_Space);
    program.Click(MainCommand::Setup);
    program.Shoot(window, "setup");
    QTest::keyClick(Child<QPushButton>(window, "cmdKeepSetup"), Qt::Key_Space);
    program.Click(MainCommand::RandomnessReport);
    program.Shoot(window, "randomness-panel");
    QTest::keyClick(window.RandomnessPanel().NotNowButton(), Qt::Key_Space);
}

void TheFileDialogs(Program& program)
{
    AppContext& context = program.Context();
    context.setup.folders = {kyv::platform::FilePath(program.Letters()),
                             kyv::platform::FilePath(program.Letters())};
    program.Window().ApplySetupFlags(Direction::Encrypt, false, false);
    ShootModal(program, "frmSpecifyInputFiles", "input-files", [](QWidget* dialog) {
        QTest::keyClicks(Child<QLineEdit>(*dialog, "txbExtension"), QStringLiteral("doc"));
        QTest::keyClick(Child<QLineEdit>(*dialog, "txbExtension"), Qt::Key_Return);
    });
    program.Click(MainCommand::InputFiles);
    ShootModal(program, "frmSpecifyOutputFiles", "output-files", [](QWidget* dialog) {
        QTest::keyClicks(Child<QLineEdit>(*dialog, "txbExtension"), QStringLiteral("enc"));
        QTest::keyClick(Child<QLineEdit>(*dialog, "txbExtension"), Qt::Key_Return);
    });
    program.Click(MainCommand::OutputFiles);
}

void TheKeyWindows(Program& program)
{
    MainWindow& window = program.Window();
    // A weak key typed in view: the strength line says so.
    test::WhenShown(QStringLiteral("frmKeyboardWithDisplay"), [&program](QWidget* dialog) {
        QTest::keyClicks(Child<KeyEntryField>(*dialog, "txbKey"), QStringLiteral("password password"));
        QTest::qWait(300);
        program.Shoot(*dialog, "key-strength");
        QTest::keyClick(Child<QPushButton>(*dialog, "cmdCancel"), Qt::Key_Space);
    });
    program.Click(MainCommand::KeyFrom);
    QTest::keyClick(Child<QPushButton>(window, "cmdKeyboardWithDisplay"), Qt::Key_Space);

    // Typed without display, inspected and used.
    program.Prompter().Answer(MessageAnswer::Yes);
    test::WhenShown(QStringLiteral("frmKeyboardWithoutDisplay"), [&program](QWidget* dialog) {
        for (const char* field : {"txbKey_0", "txbKey_1"})
            QTest::keyClicks(Child<KeyEntryField>(*dialog, field),
                             QStringLiteral("Seven green apples under the old bridge"));
        QTest::qWait(300);
        program.Shoot(*dialog, "key-without-display");
        ShootModal(program, "frmInspectKey", "key-inspection", [](QWidget* inspection) {
            QTest::keyClick(Child<QPushButton>(*inspection, "cmdYes"), Qt::Key_Space);
        });
        QTest::keyClick(Child<QPushButton>(*dialog, "cmdOK"), Qt::Key_Space);
    });
    program.Click(MainCommand::KeyFrom);
    QTest::keyClick(Child<QPushButton>(window, "cmdKeyboardWithoutDisplay"), Qt::Key_Space);
}

void TheRandomKeyWindow(Program& program)
{
    SystemClock clock;
    RandomKeyDialog dialog(clock, &program.Window());
    dialog.Prepare();
    dialog.show();
    // Half-way: each key press is a movement for the next sample.
    for (int i = 0; i < 32; ++i) {
        QTest::keyClick(&dialog, Qt::Key(Qt::Key_A + i % 26));
        dialog.Sample();
    }
    program.Shoot(dialog, "random-key");
    dialog.hide();
}

void AnOperation(Program& program)
{
    ShootModal(program, "frmConfirmOperation", "confirmation", [](QWidget* dialog) {
        QTest::keyClick(Child<QPushButton>(*dialog, "cmdYes"), Qt::Key_Space);
    });
    program.Click(MainCommand::DoIt);
    ReportWindow& report = program.Report();
    WaitUntil([&program] { return !program.Context().run.control.runInProgress; }, "the end of the run");
    QTest::qWait(500);
    program.Shoot(report, "report");
    report.CloseWindow();

    // The encrypted file opened, as a file manager opens it: its decryption set up.
    program.Window().OpenPaths({program.Letters() + QStringLiteral("report.enc")}, StartFunction::AsSetup);
    QTest::qWait(500);
    program.Shoot(program.Window(), "open-encrypted");
}

void TheRandomnessWindows(Program& program)
{
    MainWindow& window = program.Window();
    // A listing of the folder.
    AppContext& context = program.Context();
    context.setup.folders = {kyv::platform::FilePath(program.Letters()),
                             kyv::platform::FilePath(program.Letters())};
    context.setup.fileSpecs[kInputSide] = QStringLiteral("*.*");
    program.Window().ApplySetupFlags(Direction::Encrypt, false, false);
    program.Click(MainCommand::RandomnessReport);
    QTest::mouseRelease(window.RandomnessPanel().SideButton(kInputSide), Qt::LeftButton);
    WaitUntil([&context] { return !context.run.control.runInProgress; }, "the end of the listing");
    QTest::qWait(500);
    program.Shoot(program.Report(), "randomness-listing");
    program.Report().CloseWindow();

    // One file drawn.
    window.OpenPaths({program.Letters() + QStringLiteral("report.doc")}, StartFunction::Encrypt);
    test::WhenShown(QStringLiteral("frmGraphic"), [&program](QWidget* dialog) {
        auto& graphic = *static_cast<RandomnessGraphicWindow*>(dialog);
        graphic.DisplayPressed();
        WaitUntil([&graphic] { return graphic.DrawingState() == RandomnessGraphicWindow::State::Finished; },
                  "the picture");
        QTest::qWait(700);
        program.Shoot(graphic, "randomness-graphic");
        graphic.DisplayPressed();
    });
    program.Click(MainCommand::RandomnessReport);
    QTest::mouseRelease(window.RandomnessPanel().SideButton(kInputSide), Qt::LeftButton);
    QTest::qWait(500);
}

void ThePurgeQuestions(Program& program)
{
    AntivirusQueryDialog antivirus(&program.Report());
    program.Shoot(antivirus, "antivirus-query");
    antivirus.hide();
    PurgeWarningDialog advice(&program.Report());
    advice.purgeFilePath = program.Letters() + QStringLiteral("report.doc");
    // It sizes itself to its advice as it is shown: shot once the frame has followed.
    advice.show();
    QTest::qWait(1000);
    program.Shoot(advice, "purge-advice");
    advice.hide();
}

// Two performances of the reliability test on two test files, with the key typed before.
void TheReliabilityTest(Program& program)
{
    const QString folder = program.Letters() + QStringLiteral("kyvtest/");
    QDir().mkpath(folder);
    for (const char* name : {"budget.tst", "notes.tst"}) {
        QFile file(folder + QString::fromLatin1(name));
        if (!file.open(QIODevice::WriteOnly)) Fail(QStringLiteral("cannot write a test file"));
        file.write(QByteArray("A test file of the reliability test. ").repeated(200));
    }
    AppContext& context = program.Context();
    context.setup.folders = {kyv::platform::FilePath(folder), kyv::platform::FilePath(folder)};
    context.setup.fileSpecs = {QStringLiteral("*.tst"), QStringLiteral("*.enc")};
    program.Window().ApplySetupFlags(Direction::Encrypt, false, false);
    ShootModal(program, "frmReliabilityTest", "reliability-offer", [](QWidget* dialog) {
        auto* count = Child<QLineEdit>(*dialog, "txbNumTests");
        count->setText(QStringLiteral("2"));
        QTest::keyClick(count, Qt::Key_Return);
    });
    program.Click(MainCommand::DoIt);
    ReportWindow& report = program.Report();
    WaitUntil(
        [&report] {
            return report.windowTitle() ==
                       QStringLiteral("Comparison of decrypted files with original files") &&
                   Child<QPushButton>(report, "cmdClose")->isVisible();
        },
        "the end of the reliability test");
    QTest::qWait(500);
    program.Shoot(report, "reliability");
    report.CloseWindow();
}

void TheHelpWindows(Program& program)
{
    program.Click(MainCommand::KeyFrom, MouseButton::Right);
    auto* help = qobject_cast<HelpWindow*>([] {
        for (QWidget* each : QApplication::topLevelWidgets())
            if (each->objectName() == QStringLiteral("frmHelp")) return each;
        return static_cast<QWidget*>(nullptr);
    }());
    if (help == nullptr) Fail(QStringLiteral("no help window"));
    program.Shoot(*help, "help");
    help->ShowCredits();
    QWidget* credits = Child<QWidget>(*help, "frmCredits");
    program.Shoot(*credits, "credits");
    credits->hide();
    help->hide();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kyv Cipher"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    if (QGuiApplication::platformName() != QLatin1String("xcb")) Fail(QStringLiteral("needs an X display"));
    test::SetTestFailureHandler([](const std::string& what) { Fail(QString::fromStdString(what)); });
    Program program(QString::fromLocal8Bit(argv[1]));
    TheMainWindowAndItsPanels(program);
    TheFileDialogs(program);
    TheKeyWindows(program);
    TheRandomKeyWindow(program);
    AnOperation(program);
    TheReliabilityTest(program);
    TheRandomnessWindows(program);
    ThePurgeQuestions(program);
    TheHelpWindows(program);
    return 0;
}
