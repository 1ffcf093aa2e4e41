#include "gui/app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QFrame>
#include <QLabel>
#include <QTimer>

#include "core/app/StartUp.h"
#include "core/common/Prompter.h"
#include "core/operation/PurgeAdvice.h"
#include "core/setup/SetupFile.h"
#include "core/setup/SetupFileCommands.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/MainCommandTable.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"
#include "gui/help/HelpWindow.h"
#include "gui/keys/KeyPanel.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/PurgeAdviceWindows.h"
#include "gui/operation/ReportWindow.h"
#include "gui/reltest/ReliabilityTestClock.h"

namespace kyv::gui {

namespace {
constexpr int kMenuLeft = 105;
constexpr int kMenuTop = 105;
constexpr int kButtonWidth = 2115;
constexpr int kButtonHeight = 330;
constexpr int kValueLeft = 2520;
constexpr int kFunctionExplanationLeft = 3885;
constexpr int kFlagExplanationLeft = 3150;
constexpr int kWindowWidth = 11400;
constexpr int kLabelHeight = 285;
constexpr int kIgnoreClicksMilliseconds = 1000;

int RowTop(int row) { return kMenuTop + (row - 1) * kButtonHeight + (kButtonHeight - kLabelHeight) / 2; }
}  // namespace

MainWindow::MainWindow(AppContext& context, const WindowWiring& wiring, QWidget* parent)
    : QWidget(parent),
      context_(context),
      services_(context.services),
      wiring_(wiring),
      // A single input file's description can be completed after its command has returned.
      model_(context.setup, context.values, context.services.prompter, context.services.floppies,
             [this] { ShowLabels(); }),
      ownHelp_(this),
      help_(wiring.help != nullptr ? *wiring.help : static_cast<HelpWindows&>(ownHelp_))
{
    BuildWindow();
    setAcceptDrops(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildWindow()
{
    setObjectName(MainWindowName());
    setWindowTitle(QStringLiteral("Kyv Cipher"));
    setFont(WindowFont());
    SetBackground(this, kMainBackground);
    if (parentWidget() == nullptr) setWindowFlags(FixedSizeWindowFlags());
    setFixedSize(Twips(kWindowWidth), Twips(2 * kMenuTop + kMainCommandCount * kButtonHeight));

    BuildCommandColumn();

    functionLabel_ = AddLabel("lblFunction", kValueLeft, 1, true);
    functionExplanationLabel_ = AddLabel("lblFunction2", kFunctionExplanationLeft, 1, false);
    singleFileLabel_ = AddLabel("lblSingleFile", kValueLeft, 2, false);
    folderLabels_[kInputSide] = AddLabel("lblDirectory_0", kValueLeft, 3, true);
    specLabels_[kInputSide] = AddLabel("lblFiles_0", kValueLeft, 4, true);
    specExplanationLabels_[kInputSide] = AddLabel("lblFiles2_0", kValueLeft, 4, false);
    subfoldersLabel_ = AddLabel("lblSubdirectories", kValueLeft, 5, true);
    subfoldersExplanationLabel_ = AddLabel("lblSubdirectories2", kFlagExplanationLeft, 5, false);
    inPlaceLabel_ = AddLabel("lblOutputFilesSame", kValueLeft, 6, true);
    inPlaceExplanationLabel_ = AddLabel("lblOutputFilesSame2", kFlagExplanationLeft, 6, false);
    folderLabels_[kOutputSide] = AddLabel("lblDirectory_1", kValueLeft, 7, true);
    specLabels_[kOutputSide] = AddLabel("lblFiles_1", kValueLeft, 8, true);
    specExplanationLabels_[kOutputSide] = AddLabel("lblFiles2_1", kValueLeft, 8, false);
    keySourceLabel_ = AddLabel("lblKeyFrom", kValueLeft, 9, true);
    keySourceLabel_->setText(QStringLiteral("Not specified"));
    BuildKeyPanel();
    BuildRandomnessReport();
    setupFileLabel_ = AddLabel("lblSetupFilename", kValueLeft, 13, true);
    BuildSetupPanels();

    reliabilityClock_ = new ReliabilityTestClock(this);
    BuildReportWindow();
    ignoreClicksTimer_ = new QTimer(this);
    ignoreClicksTimer_->setObjectName(QStringLiteral("Clock2"));
    ignoreClicksTimer_->setSingleShot(true);
    ignoreClicksTimer_->setInterval(kIgnoreClicksMilliseconds);
    connect(ignoreClicksTimer_, &QTimer::timeout, this, [this] { context_.values.ignoreClicks = false; });
}

void MainWindow::BuildCommandColumn()
{
    menuFrame_ = new QFrame(this);
    menuFrame_->setObjectName(QStringLiteral("fraMenu"));
    menuFrame_->setGeometry(TwipsRect(kMenuLeft, kMenuTop, kButtonWidth, kMainCommandCount * kButtonHeight));
    for (int row = 0; row < kMainCommandCount; ++row) {
        const auto command = static_cast<MainCommand>(row);
        const MainCommandEntry& entry = EntryOf(command);
        // "Report screen" takes no focus from the pointer while the report window is visible.
        std::function<bool()> mayTakeFocus;
        if (command == MainCommand::ReportScreen) mayTakeFocus = [this] { return !ReportWindowVisible(); };
        auto* button =
            new CommandButton(QString::fromLatin1(entry.caption), menuFrame_, std::move(mayTakeFocus));
        button->setObjectName(QString::fromLatin1(entry.objectName));
        button->setGeometry(TwipsRect(0, row * kButtonHeight, kButtonWidth, kButtonHeight));
        connect(button, &CommandButton::mouseUp, this,
                [this, command](MouseButton mouseButton) { Click(command, mouseButton); });
        connect(button, &CommandButton::f1Released, this, [this, command] { HelpKeyReleased(command); });
        buttons_[row] = button;
    }
}

QLabel* MainWindow::AddLabel(const char* objectName, int left, int row, bool value)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setGeometry(TwipsRect(left, RowTop(row), kWindowWidth - left - kMenuLeft, kLabelHeight));
    if (value)
        MakeValueLabel(label);
    else
        MakeExplanationLabel(label);
    return label;
}

bool MainWindow::StartUp(EngineBuffers buffers)
{
    WorkingValues& values = context_.values;

    QString message;
    if (!LoadProgramTextFile(services_.paths, message)) {
        qWarning().noquote() << "Program texts looked for at:"
                             << ProgramTextCandidates(services_.paths).join(QStringLiteral(", "));
        services_.prompter.Tell(message, QStringLiteral("Program text error"), MessageIcon::Error);
        return false;
    }
    InitialiseSetup(context_.setup, values, services_.paths);
    EraseKeyData(context_.key);
    context_.key.source = NotSpecified;
    AlignExplanationLabels();
    show();

    if (buffers == EngineBuffers::Refused) {
        services_.prompter.Tell(QStringLiteral("Attempt to allocate buffers was unsuccessful!"),
                                QStringLiteral("Fatal error"), MessageIcon::Error);
        return false;
    }

    ShowSetup(LoadNextRunSetup(values.nextRunSetupPath, services_.prompter).value_or(SetupFileContents{}));
    Button(MainCommand::Function)->setFocus(Qt::OtherFocusReason);
    // The ignore-clicks timer runs once at start; its first tick only stops it.
    ignoreClicksTimer_->start();
    SnapshotSetup();
    return true;
}

void MainWindow::AlignExplanationLabels()
{
    const std::pair<QLabel*, QLabel*> pairs[] = {
        {functionLabel_, functionExplanationLabel_},
        {specLabels_[kInputSide], specExplanationLabels_[kInputSide]},
        {specLabels_[kOutputSide], specExplanationLabels_[kOutputSide]},
        {subfoldersLabel_, subfoldersExplanationLabel_},
        {inPlaceLabel_, inPlaceExplanationLabel_},
    };
    for (const auto& [value, explanation] : pairs)
        explanation->setGeometry(explanation->x(), value->y(), explanation->width(), value->height());
}

void MainWindow::ShowLabels()
{
    const MainLabels& labels = model_.Labels();
    functionLabel_->setText(labels.functionText);
    functionExplanationLabel_->setText(labels.functionExplanation);
    Button(MainCommand::KeyFrom)->setText(labels.keyButtonCaption);
    singleFileLabel_->setText(labels.singleFileText);
    for (int side : {kInputSide, kOutputSide}) {
        folderLabels_[side]->setText(labels.folderTexts[side]);
        specLabels_[side]->setText(labels.specTexts[side]);
        specExplanationLabels_[side]->setText(labels.specExplanations[side]);
        // The description follows the file specification on the same row.
        specLabels_[side]->raise();
        specExplanationLabels_[side]->move(specLabels_[side]->x() + Twips(labels.specExplanationLefts[side]),
                                           specExplanationLabels_[side]->y());
        if (labels.specTexts[side] != context_.values.notSpecifiedText) specExplanationLabels_[side]->raise();
    }
    subfoldersLabel_->setText(labels.subfoldersText);
    subfoldersExplanationLabel_->setText(labels.subfoldersExplanation);
    inPlaceLabel_->setText(labels.inPlaceText);
    inPlaceExplanationLabel_->setText(labels.inPlaceExplanation);
    if (!labels.keySourceText.isEmpty())
        keySourceLabel_->setText(labels.keySourceText);
    else
        keySourceLabel_->setText(context_.values.notSpecifiedText);
    setupFileLabel_->setText(labels.setupFileText);
    DescribeCommands();
}

void MainWindow::ShutDown()
{
    if (shutDownDone_) return;
    if (context_.run.control.runInProgress) {
        // The engine may be working on a file on another thread: the run stops after that file,
        // and only then are the key and what the engine derived from it wiped.
        context_.run.control.stopRequested = true;
        hide();
        QTimer::singleShot(50, this, [this] { ShutDown(); });
        return;
    }
    shutDownDone_ = true;
    EraseKeyData(context_.key);
    services_.engine.WipeKeys();
    reliabilityClock_->stop();
    ignoreClicksTimer_->stop();
    hide();
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Quit();
    event->accept();
}

void MainWindow::IgnoreClicksAfterDialog()
{
    context_.values.ignoreClicks = true;
    ignoreClicksTimer_->start();
}

}  // namespace kyv::gui
