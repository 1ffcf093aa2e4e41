#include "gui/operation/frmReport.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include "core/common/Clock.h"
#include "core/common/Events.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/PausePointRunner.h"
#include "core/operation/ReportBufferFull.h"
#include "core/operation/RunState.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {

// Measures of the window, in twips.
constexpr int kTextLeft = 120;
constexpr int kTextTop = 120;
constexpr int kTextHeight = 4635;
constexpr int kWindowBelowText = 1230;
constexpr int kButtonsAboveBottom = 950;
constexpr int kButtonHeight = 375;
constexpr int kPauseRightMargin = 200;
constexpr int kCopyWidth = 2115;
constexpr int kCopySelectedWidth = 3165;
constexpr int kDefaultWidth = 9600;
constexpr int kBelowMainWindowTop = 420;
constexpr int kLineTwips = 260;
constexpr int kShortReportMargin = 600;
constexpr int kShortReportLines = 100;
constexpr int kProgressWidth = 2400;
constexpr int kProgressSteps = 1000;
// Room for some 400,000 report lines; beyond, the report counts as full.
constexpr qsizetype kDefaultCapacity = qsizetype(32) * 1024 * 1024;

const QString kCopyCaption = QStringLiteral("Copy to clipboard");

}  // namespace

frmReport::frmReport(RunState& state, const OperationSetup& setup, WorkingValues& working, Prompter& prompter,
                     const kyv::Clock& clock, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window),
      m_state(state),
      m_setup(setup),
      m_working(working),
      m_prompter(prompter),
      m_clock(clock),
      m_mainWindow(mainWindow),
      m_capacity(kDefaultCapacity)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Randomness report"));
    setFont(WindowFont());

    txbText = new QPlainTextEdit(this);
    txbText->setObjectName(QStringLiteral("txbText"));
    txbText->setReadOnly(true);
    txbText->setFont(FixedFont());
    txbText->setLineWrapMode(QPlainTextEdit::NoWrap);
    txbText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txbText->setUndoRedoEnabled(false);
    // Text selection with the mouse and keyboard, but no editing.
    txbText->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txbText->viewport()->installEventFilter(this);

    const auto makeButton = [this](const char* name, const char* caption) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    cmdStop = makeButton("cmdStop", "Stop");
    cmdPauseContinue = makeButton("cmdPauseContinue", "Continue");
    cmdClose = makeButton("cmdClose", "Close");
    cmdCopyToClipboard = makeButton("cmdCopyToClipboard", "Copy selected text to clipboard");
    lblPausedDone = new QLabel(QStringLiteral("Paused ..."), this);
    lblPausedDone->setObjectName(QStringLiteral("lblPausedDone"));
    lblPausedDone->setAlignment(Qt::AlignCenter);
    pgbFileProgress = new QProgressBar(this);
    pgbFileProgress->setObjectName(QStringLiteral("pgbFileProgress"));
    pgbFileProgress->setRange(0, kProgressSteps);
    pgbFileProgress->hide();

    tmrClock = new QTimer(this);
    tmrClock->setObjectName(QStringLiteral("Clock"));
    tmrClock->setInterval(100);
    connect(tmrClock, &QTimer::timeout, this, &frmReport::Clock_Timer);
    connect(cmdStop, &QPushButton::clicked, this, &frmReport::cmdStop_Click);
    connect(cmdPauseContinue, &QPushButton::clicked, this, &frmReport::cmdPauseContinue_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmReport::cmdClose_Click);
    connect(cmdCopyToClipboard, &QPushButton::clicked, this, &frmReport::cmdCopyToClipboard_Click);

    cmdStop->hide();
    cmdPauseContinue->hide();
    cmdCopyToClipboard->hide();
    lblPausedDone->clear();
    Form_Load();
}

int frmReport::WidthTwips() const { return ToTwips(width()); }

void frmReport::SetButton(QPushButton* button, const QString& caption, int widthTwips)
{
    button->setText(caption);
    button->resize(Twips(widthTwips), Twips(kButtonHeight));
}

void frmReport::PlaceBottomRow(int topTwips)
{
    const int top = Twips(topTwips);
    cmdClose->move(cmdClose->x(), top);
    cmdStop->move(cmdStop->x(), top);
    cmdPauseContinue->move(cmdPauseContinue->x(), top);
    lblPausedDone->move(lblPausedDone->x(), top);
    pgbFileProgress->move(pgbFileProgress->x(), top);
}

void frmReport::Form_Load()
{
    int widthTwips = kDefaultWidth;
    QPoint topLeft(Twips(600), Twips(600));
    if (m_mainWindow != nullptr) {
        widthTwips = ToTwips(m_mainWindow->width());
        topLeft = QPoint(m_mainWindow->x(), m_mainWindow->y() + Twips(kBelowMainWindowTop));
    }
    const int heightTwips = kTextHeight + kWindowBelowText;
    setGeometry(QRect(topLeft, QSize(Twips(widthTwips), Twips(heightTwips))));
    txbText->setGeometry(TwipsRect(kTextLeft, kTextTop, widthTwips - 2 * kTextLeft - 50, kTextHeight));
    const int buttonTop = heightTwips - kButtonsAboveBottom;
    SetButton(cmdClose, cmdClose->text(), 1000);
    cmdClose->move(Twips(widthTwips - 1000 - kTextLeft), Twips(buttonTop));
    cmdStop->move(Twips(kTextLeft), Twips(buttonTop));
    SetButton(cmdCopyToClipboard, kCopyCaption, kCopyWidth);
    lblPausedDone->setGeometry(
        TwipsRect((widthTwips - kProgressWidth) / 2, buttonTop, kProgressWidth, kButtonHeight));
    pgbFileProgress->setGeometry(lblPausedDone->geometry());
    tmrClock->stop();
    m_loaded = true;
}

void frmReport::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    UnboldControls(this);
    Form_Activate();
}

void frmReport::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}

void frmReport::Form_Activate() { cmdCopyToClipboard->setText(kCopyCaption); }

void frmReport::closeEvent(QCloseEvent* event)
{
    // Closing by the frame is the same as "Close"; the window is hidden, never destroyed.
    event->ignore();
    cmdClose_Click();
}

bool frmReport::AppendReport(const QString& text, bool moveCaret)
{
    if (m_state.blnReportSuppressed) return true;
    if (m_text.size() + text.size() > m_capacity) return false;
    m_text += text;
    // The window shows lines without the carriage returns (a paragraph separator stands for CR LF).
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    m_unshown += shown;
    // While the auto-scroll clock runs, the window catches up at its next tick: a long run then
    // costs a few string appends per file, not a repaint.
    if (moveCaret) m_caretToEndPending = true;
    if (!tmrClock->isActive()) {
        if (m_caretToEndPending)
            MoveCaretToEnd();
        else
            FlushToWindow();
    }
    return true;
}

void frmReport::RemoveReportTail(int count)
{
    const qsizetype removed = std::min<qsizetype>(count, m_text.size());
    if (removed <= 0) return;
    qsizetype shownRemoved = removed - m_text.right(removed).count(QLatin1Char('\r'));
    m_text.chop(removed);
    // Mostly the progress text of a file, which never reached the window.
    const qsizetype fromUnshown = std::min(shownRemoved, m_unshown.size());
    m_unshown.chop(fromUnshown);
    shownRemoved -= fromUnshown;
    if (shownRemoved > 0) {
        QTextCursor end(txbText->document());
        end.movePosition(QTextCursor::End);
        end.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor,
                         static_cast<int>(shownRemoved));
        end.removeSelectedText();
    }
}

void frmReport::FlushToWindow()
{
    if (m_unshown.isEmpty()) return;
    QTextCursor end(txbText->document());
    end.movePosition(QTextCursor::End);
    end.insertText(m_unshown);
    m_unshown.clear();
}

void frmReport::MoveCaretToEnd()
{
    FlushToWindow();
    m_caretToEndPending = false;
    QTextCursor cursor = txbText->textCursor();
    cursor.movePosition(QTextCursor::End);
    txbText->setTextCursor(cursor);
    txbText->ensureCursorVisible();
}

void frmReport::PausePoint()
{
    const bool pausing = m_state.blnPaused && !m_state.blnStop;
    if (pausing) lblPausedDone->setText(QStringLiteral("Paused"));
    PausePointHooks hooks;
    hooks.processEvents = [] { ProcessPendingEvents(); };
    hooks.waitForEvents = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    hooks.setAutoScroll = [this](bool on) { SetAutoScroll(on); };
    RunPausePoint(m_state, *this, m_clock, hooks);
    if (pausing && !m_state.blnStop) lblPausedDone->clear();
}

void frmReport::ReportBufferFull()
{
    HandleReportBufferFull(*this, m_prompter, m_state.blnRandomnessReport, m_setup.blnEncrypt);
}

bool frmReport::StopRequested() const { return m_state.blnStop; }

void frmReport::RequestStop() { m_state.blnStop = true; }

bool frmReport::ReportSuppressed() const { return m_state.blnReportSuppressed; }

void frmReport::SetReportSuppressed(bool suppressed) { m_state.blnReportSuppressed = suppressed; }

void frmReport::RunStarted()
{
    lblPausedDone->clear();
    m_text.clear();
    m_unshown.clear();
    txbText->clear();
    tmrClock->start();
    cmdCopyToClipboard->hide();
    SetButton(cmdStop, QStringLiteral("Stop at next file"), 2300);
    cmdStop->show();
    cmdClose->hide();
    SetButton(cmdPauseContinue, QStringLiteral("Pause at next file"), 2500);
    cmdPauseContinue->move(Twips(WidthTwips() - 2500 - kPauseRightMargin), cmdPauseContinue->y());
    cmdPauseContinue->setVisible(!m_state.blnPerformingReliabilityTest);
    m_state.ResetCounters();
    if (!isMaximized() && !isMinimized()) {
        const int heightTwips = kTextHeight + kWindowBelowText;
        resize(width(), Twips(heightTwips));
        txbText->resize(txbText->width(), Twips(kTextHeight));
        PlaceBottomRow(heightTwips - kButtonsAboveBottom);
    }
}

void frmReport::RunEnded()
{
    cmdStop->hide();
    cmdPauseContinue->hide();
    cmdClose->show();
    tmrClock->stop();
    FlushToWindow();
    HideFileProgress();
}

void frmReport::ShrinkToShortReport(int reportLines)
{
    if (reportLines >= kShortReportLines) return;
    const int fitted = reportLines * kLineTwips + kShortReportMargin;
    if (ToTwips(txbText->height()) <= fitted) return;
    txbText->resize(txbText->width(), Twips(fitted));
    const int heightTwips = fitted + kWindowBelowText;
    resize(width(), Twips(heightTwips));
    PlaceBottomRow(heightTwips - kButtonsAboveBottom);
}

void frmReport::ShowCopyButton()
{
    cmdCopyToClipboard->move(cmdStop->x(), cmdClose->y());
    cmdCopyToClipboard->show();
}

void frmReport::SetStatusText(const QString& text) { lblPausedDone->setText(text); }

QString frmReport::StatusText() const { return lblPausedDone->text(); }

void frmReport::SetAutoScroll(bool on)
{
    if (on) {
        tmrClock->start();
    } else {
        tmrClock->stop();
        MoveCaretToEnd();
    }
}

void frmReport::ShowFileProgress(quint64 bytesDone, quint64 bytesTotal)
{
    if (bytesTotal == 0) return;
    pgbFileProgress->setValue(
        static_cast<int>(std::min(bytesDone, bytesTotal) * kProgressSteps / bytesTotal));
    if (!pgbFileProgress->isVisible()) {
        lblPausedDone->hide();
        pgbFileProgress->show();
    }
}

void frmReport::HideFileProgress()
{
    pgbFileProgress->hide();
    lblPausedDone->show();
}

void frmReport::Clock_Timer() { MoveCaretToEnd(); }

void frmReport::cmdStop_Click()
{
    m_state.blnStop = true;
    m_working.blnGenerateNextKey = true;
    SetAutoScroll(false);
    emit StopPressed();
    cmdStop->hide();
    cmdPauseContinue->hide();
    cmdClose->show();
    lblPausedDone->setText(QStringLiteral("Stopped"));
    update();
}

void frmReport::cmdPauseContinue_Click()
{
    m_state.blnPaused = !m_state.blnPaused;
    if (m_state.blnPaused) {
        SetButton(cmdStop, QStringLiteral("Stop"), 1000);
        SetButton(cmdPauseContinue, QStringLiteral("Continue"), 1500);
    } else {
        SetButton(cmdStop, QStringLiteral("Stop at next file"), 2200);
        SetButton(cmdPauseContinue, QStringLiteral("Pause at next file"), 2500);
    }
    cmdPauseContinue->move(Twips(WidthTwips() - ToTwips(cmdPauseContinue->width()) - kPauseRightMargin),
                           cmdPauseContinue->y());
    update();
}

void frmReport::cmdClose_Click()
{
    if (m_state.blnReliabilityReport) {
        hide();
        m_state.blnReliabilityReport = false;
        emit ReliabilityReportClosed();
        return;
    }
    m_state.blnStop = true;
    SetAutoScroll(false);
    hide();
}

void frmReport::cmdCopyToClipboard_Click()
{
    if (!m_text.isEmpty()) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const QTextCursor selection = txbText->textCursor();
        QString copied = m_text;
        if (selection.hasSelection()) {
            copied = selection.selectedText();
            copied.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
        }
        clipboard->setText(copied);
        lblPausedDone->clear();
        SetButton(cmdCopyToClipboard, kCopyCaption, kCopyWidth);
    }
    cmdClose->setFocus();
}

bool frmReport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txbText->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After Qt has updated the selection.
        QTimer::singleShot(0, this, &frmReport::txbText_MouseUp);
    }
    return QWidget::eventFilter(watched, event);
}

void frmReport::txbText_MouseUp()
{
    if (!cmdCopyToClipboard->isEnabled() || !cmdCopyToClipboard->isVisible()) return;
    if (txbText->textCursor().hasSelection()) {
        SetButton(cmdCopyToClipboard, QStringLiteral("Copy selected text to clipboard"), kCopySelectedWidth);
        lblPausedDone->clear();
    } else {
        SetButton(cmdCopyToClipboard, kCopyCaption, kCopyWidth);
    }
}

void frmReport::ReportScreen()
{
    if (m_state.blnRunInProgress) return;
    if (m_text.isEmpty()) {
        m_prompter.Tell(QStringLiteral("The report screen is empty."), QStringLiteral("Report screen"),
                        MessageIcon::None);
        return;
    }
    m_state.blnPerformingOperation = false;
    m_state.blnRandomnessReport = false;
    show();
    OperationContext context{m_setup, m_working, m_state,   *this,     m_prompter, m_clock,
                             nullptr, nullptr,   QString(), QString(), nullptr,    {}};
    ProcessFiles(context);
    QTextCursor start = txbText->textCursor();
    start.movePosition(QTextCursor::Start);
    txbText->setTextCursor(start);
    txbText->ensureCursorVisible();
    update();
    raise();
    activateWindow();
    txbText->setFocus();
}

}  // namespace kyv::gui
