#include "gui/app/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QTimer>

#include "core/common/Prompter.h"
#include "core/setup/SetupFile.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/common/CommandButton.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/keys/KeyPanel.h"

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
constexpr int kSlowTimerFirstMilliseconds = 5000;
constexpr int kSlowTimerNextMilliseconds = 4000;

int RowTop(int row) { return kMenuTop + (row - 1) * kButtonHeight + (kButtonHeight - kLabelHeight) / 2; }
}  // namespace

frmMain::frmMain(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context), model_(context.setup, context.values, *context.prompter)
{
    BuildWindow();
    // A single input file's description can be completed after its command has returned.
    model_.labelsChanged = [this] { ShowLabels(); };
}

frmMain::~frmMain() = default;

void frmMain::BuildWindow()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kyv Cipher"));
    setFont(WindowFont());
    SetBackground(this, kMainBackground);
    setFixedSize(Twips(kWindowWidth), Twips(2 * kMenuTop + kMainCommandCount * kButtonHeight));

    fraMenu_ = new QFrame(this);
    fraMenu_->setObjectName(QStringLiteral("fraMenu"));
    fraMenu_->setGeometry(TwipsRect(kMenuLeft, kMenuTop, kButtonWidth, kMainCommandCount * kButtonHeight));
    for (int row = 0; row < kMainCommandCount; ++row) {
        const MainCommandInfo& info = kMainCommands[row];
        auto* button = new CommandButton(QString::fromLatin1(info.caption), fraMenu_);
        button->setObjectName(QString::fromLatin1(info.objectName));
        button->setGeometry(TwipsRect(0, row * kButtonHeight, kButtonWidth, kButtonHeight));
        const MainCommand command = info.command;
        connect(button, &CommandButton::mouseUp, this, [this, command](int b) { OnMouseUp(command, b); });
        connect(button, &CommandButton::f1Released, this, [this, command] {
            if (command == MainCommand::ReportScreen &&
                (context_.values.blnIgnoreClicks || ReportWindowVisible()))
                return;
            ShowHelp();
        });
        buttons_[row] = button;
    }
    Button(MainCommand::ReportScreen)->mayTakeFocus = [this] { return !ReportWindowVisible(); };

    lblFunction_ = AddLabel("lblFunction", kValueLeft, 1, true);
    lblFunction2_ = AddLabel("lblFunction2", kFunctionExplanationLeft, 1, false);
    lblSingleFile_ = AddLabel("lblSingleFile", kValueLeft, 2, false);
    lblDirectory_[kInputSide] = AddLabel("lblDirectory_0", kValueLeft, 3, true);
    lblFiles_[kInputSide] = AddLabel("lblFiles_0", kValueLeft, 4, true);
    lblFiles2_[kInputSide] = AddLabel("lblFiles2_0", kValueLeft, 4, false);
    lblSubdirectories_ = AddLabel("lblSubdirectories", kValueLeft, 5, true);
    lblSubdirectories2_ = AddLabel("lblSubdirectories2", kFlagExplanationLeft, 5, false);
    lblOutputFilesSame_ = AddLabel("lblOutputFilesSame", kValueLeft, 6, true);
    lblOutputFilesSame2_ = AddLabel("lblOutputFilesSame2", kFlagExplanationLeft, 6, false);
    lblDirectory_[kOutputSide] = AddLabel("lblDirectory_1", kValueLeft, 7, true);
    lblFiles_[kOutputSide] = AddLabel("lblFiles_1", kValueLeft, 8, true);
    lblFiles2_[kOutputSide] = AddLabel("lblFiles2_1", kValueLeft, 8, false);
    lblKeyFrom_ = AddLabel("lblKeyFrom", kValueLeft, 9, true);
    lblKeyFrom_->setText(QStringLiteral("Not specified"));
    BuildKeyPanel();
    lblSetupFilename_ = AddLabel("lblSetupFilename", kValueLeft, 13, true);

    Clock_ = new QTimer(this);
    Clock_->setObjectName(QStringLiteral("Clock"));
    Clock_->setInterval(kSlowTimerFirstMilliseconds);
    connect(Clock_, &QTimer::timeout, this, [this] {
        Clock_->setInterval(kSlowTimerNextMilliseconds);
        context_.values.blnGenerateNextKey = true;
    });
    Clock2_ = new QTimer(this);
    Clock2_->setObjectName(QStringLiteral("Clock2"));
    Clock2_->setSingleShot(true);
    Clock2_->setInterval(kIgnoreClicksMilliseconds);
    connect(Clock2_, &QTimer::timeout, this, [this] { context_.values.blnIgnoreClicks = false; });
}

QLabel* frmMain::AddLabel(const char* objectName, int left, int row, bool value)
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

bool frmMain::Form_Load()
{
    WorkingValues& values = context_.values;
    values.blnStartupCompleted = false;

    QString message;
    if (!LoadProgramTextFile(context_.environment, message)) {
        context_.prompter->Tell(message, QString(), MessageIcon::Error);
        return false;
    }
    InitialiseSetup(context_.setup, values, context_.environment);
    EraseKeyData(context_.key);
    context_.key.intKeySource = NotSpecified;
    AlignExplanationLabels();
    show();

    if (!context_.engine->AllocateBuffers()) {
        context_.prompter->Tell(QStringLiteral("Attempt to allocate buffers was unsuccessful!"),
                                QStringLiteral("Fatal error"), MessageIcon::Error);
        return false;
    }

    OperationSetup& setup = context_.setup;
    bool encrypt = true;
    bool outputFilesSame = false;
    bool subdirectories = false;
    if (const auto saved = ReadSetupFile(values.strNextRunSetupPath)) {
        setup.strDirpath = saved->strDirpath;
        setup.strFilespec = saved->strFilespec;
        encrypt = saved->blnEncrypt;
        outputFilesSame = saved->blnOutputFilesSame;
        subdirectories = saved->blnSubdirectories;
    }
    model_.ApplySetupFlags(encrypt, outputFilesSame, subdirectories);
    model_.RefreshFilesStatus();
    ShowLabels();
    Button(MainCommand::Function)->setFocus(Qt::OtherFocusReason);
    // The ignore-clicks timer runs once at start; its first tick only stops it.
    Clock2_->start();
    values.blnStartupCompleted = true;
    return true;
}

void frmMain::AlignExplanationLabels()
{
    const std::pair<QLabel*, QLabel*> pairs[] = {
        {lblFunction_, lblFunction2_},
        {lblFiles_[kInputSide], lblFiles2_[kInputSide]},
        {lblFiles_[kOutputSide], lblFiles2_[kOutputSide]},
        {lblSubdirectories_, lblSubdirectories2_},
        {lblOutputFilesSame_, lblOutputFilesSame2_},
    };
    for (const auto& [value, explanation] : pairs)
        explanation->setGeometry(explanation->x(), value->y(), explanation->width(), value->height());
}

void frmMain::ShowLabels()
{
    const MainLabels& labels = model_.Labels();
    lblFunction_->setText(labels.lblFunction);
    lblFunction2_->setText(labels.lblFunction2);
    Button(MainCommand::KeyFrom)->setText(labels.cmdKeyFrom);
    lblSingleFile_->setText(labels.lblSingleFile);
    for (int side : {kInputSide, kOutputSide}) {
        lblDirectory_[side]->setText(labels.lblDirectory[side]);
        lblFiles_[side]->setText(labels.lblFiles[side]);
        lblFiles2_[side]->setText(labels.lblFiles2[side]);
        // The description follows the file specification on the same row.
        lblFiles_[side]->raise();
        lblFiles2_[side]->move(lblFiles_[side]->x() + Twips(labels.lblFiles2Left[side]),
                               lblFiles2_[side]->y());
        if (labels.lblFiles[side] != context_.values.strNotSpecified)
            lblFiles2_[side]->raise();
    }
    lblSubdirectories_->setText(labels.lblSubdirectories);
    lblSubdirectories2_->setText(labels.lblSubdirectories2);
    lblOutputFilesSame_->setText(labels.lblOutputFilesSame);
    lblOutputFilesSame2_->setText(labels.lblOutputFilesSame2);
    if (!labels.lblKeyFrom.isEmpty())
        lblKeyFrom_->setText(labels.lblKeyFrom);
    else
        lblKeyFrom_->setText(context_.values.strNotSpecified);
    lblSetupFilename_->setText(labels.lblSetupFilename);
}

void frmMain::OnMouseUp(MainCommand command, int button)
{
    switch (command) {
    case MainCommand::Function:
        cmdFunction_MouseUp(button);
        return;
    case MainCommand::SingleFile:
        cmdSingleFile_MouseUp(button);
        return;
    case MainCommand::InputFolder:
    case MainCommand::OutputFolder:
        cmdSpecifyDirectory_MouseUp(command == MainCommand::InputFolder ? kInputSide : kOutputSide,
                                    button);
        return;
    case MainCommand::InputFiles:
    case MainCommand::OutputFiles:
        cmdSpecifyFiles_MouseUp(command == MainCommand::InputFiles ? kInputSide : kOutputSide, button);
        return;
    case MainCommand::OutputFilesSame:
        cmdOutputFilesSame_MouseUp(button);
        return;
    case MainCommand::DoIt:
        cmdDoIt_MouseUp(button);
        return;
    case MainCommand::Subdirectories:
        cmdSubdirectories_MouseUp(button);
        return;
    case MainCommand::KeyFrom:
        cmdKeyFrom_MouseUp(button);
        return;
    case MainCommand::ReportScreen:
        cmdReportScreen_MouseUp(button);
        return;
    case MainCommand::Help:
        cmdHelp_MouseUp(button);
        return;
    case MainCommand::Quit:
        cmdQuit_MouseUp(button);
        return;
    default:
        break;
    }
    // Commands whose work arrives later still honour the guard and the right-click help.
    if (context_.values.blnIgnoreClicks)
        return;
    if (button == 2) {
        intStartHeading = InfoOf(command).helpSection;
        ShowHelp();
    }
}

void frmMain::cmdFunction_MouseUp(int button)
{
    if (context_.values.blnIgnoreClicks)
        return;
    if (button == 2) {
        intStartHeading = InfoOf(MainCommand::Function).helpSection;
        ShowHelp();
        return;
    }
    model_.PerformFunction();
    ShowLabels();
}

void frmMain::cmdOutputFilesSame_MouseUp(int button)
{
    if (context_.values.blnIgnoreClicks)
        return;
    if (button == 2) {
        intStartHeading = InfoOf(MainCommand::OutputFilesSame).helpSection;
        ShowHelp();
        return;
    }
    model_.PerformOutputFilesSame();
    ShowLabels();
}

void frmMain::cmdSubdirectories_MouseUp(int button)
{
    if (context_.values.blnIgnoreClicks)
        return;
    if (button == 2) {
        intStartHeading = InfoOf(MainCommand::Subdirectories).helpSection;
        ShowHelp();
        return;
    }
    model_.PerformSubdirectories();
    ShowLabels();
}

void frmMain::cmdHelp_MouseUp(int button)
{
    if (context_.values.blnIgnoreClicks)
        return;
    intStartHeading = button == 2 ? InfoOf(MainCommand::Help).helpSection : 0;
    ShowHelp();
}

void frmMain::cmdQuit_MouseUp(int button)
{
    if (button == 2) {
        intStartHeading = InfoOf(MainCommand::Quit).helpSection;
        ShowHelp();
        return;
    }
    ShutDown();
}

void frmMain::ShutDown()
{
    if (shutDownDone_)
        return;
    if (context_.run.blnRunInProgress) {
        // The engine may be working on a file on another thread: the run stops after that file,
        // and only then are the key and the engine's buffers released.
        context_.run.blnStop = true;
        hide();
        QTimer::singleShot(50, this, [this] { ShutDown(); });
        return;
    }
    shutDownDone_ = true;
    EraseKeyData(context_.key);
    context_.engine->DeallocateBuffers();
    Clock_->stop();
    Clock2_->stop();
    hide();
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    cmdQuit_MouseUp(1);
    event->accept();
}

void frmMain::IgnoreClicksAfterDialog()
{
    context_.values.blnIgnoreClicks = true;
    Clock2_->start();
}

void frmMain::ShowHelp()
{
    if (showHelpWindow)
        showHelpWindow(intStartHeading);
}

}  // namespace kyv::gui
