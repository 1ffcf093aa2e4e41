#include "gui/operation/ReportWindow.h"

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
#include <algorithm>
#include <limits>
#include <variant>

#include "core/common/BatchProgressText.h"
#include "core/common/Clock.h"
#include "core/common/LineBreak.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunState.h"
#include "core/reltest/ReliabilityTestRuns.h"
#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {

// Measures of the window, in twips.
constexpr int kTextLeft = 120;
constexpr int kTextTop = 120;
constexpr int kTextHeight = 4635;
constexpr int kButtonHeight = 375;
constexpr int kGapAboveButtons = 160;
// Below the buttons the same margin as above the text, and no more.
constexpr int kButtonsAboveBottom = kButtonHeight + kTextTop;
constexpr int kWindowBelowText = kTextTop + kGapAboveButtons + kButtonsAboveBottom;
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

ReportWindow::ReportWindow(RunState& state, const OperationSetup& setup, WorkingValues& working,
                           Prompter& prompter, const kyv::Clock& clock, QWidget* mainWindow)
    : QWidget(nullptr, Qt::Window),
      RunStateReportSink(state, prompter, clock),
      state_(state),
      setup_(setup),
      working_(working),
      prompter_(prompter),
      clock_(clock),
      mainWindow_(mainWindow),
      capacity_(kDefaultCapacity)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Randomness report"));
    setFont(WindowFont());

    reportText_ = new QPlainTextEdit(this);
    reportText_->setObjectName(QStringLiteral("txbText"));
    reportText_->setReadOnly(true);
    reportText_->setFont(FixedFont());
    reportText_->setLineWrapMode(QPlainTextEdit::NoWrap);
    reportText_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reportText_->setUndoRedoEnabled(false);
    // Text selection with the mouse and keyboard, but no editing.
    reportText_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    reportText_->viewport()->installEventFilter(this);

    const auto makeButton = [this](const char* name, const char* caption) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    stopButton_ = makeButton("cmdStop", "Stop");
    pauseButton_ = makeButton("cmdPauseContinue", "Continue");
    closeButton_ = makeButton("cmdClose", "Close");
    copyButton_ = makeButton("cmdCopyToClipboard", "Copy selected text to clipboard");
    statusLabel_ = new QLabel(QStringLiteral("Paused ..."), this);
    statusLabel_->setObjectName(QStringLiteral("lblPausedDone"));
    statusLabel_->setAlignment(Qt::AlignCenter);
    fileProgressBar_ = new QProgressBar(this);
    fileProgressBar_->setObjectName(QStringLiteral("pgbFileProgress"));
    fileProgressBar_->setRange(0, kProgressSteps);
    fileProgressBar_->hide();
    batchProgressBar_ = new QProgressBar(this);
    batchProgressBar_->setObjectName(QStringLiteral("pgbBatchProgress"));
    batchProgressBar_->setRange(0, kProgressSteps);
    batchProgressBar_->setAlignment(Qt::AlignCenter);
    batchProgressBar_->hide();

    scrollClock_ = new QTimer(this);
    scrollClock_->setObjectName(QStringLiteral("Clock"));
    scrollClock_->setInterval(100);
    connect(scrollClock_, &QTimer::timeout, this, &ReportWindow::ScrollTick);
    connect(stopButton_, &QPushButton::clicked, this, &ReportWindow::Stop);
    connect(pauseButton_, &QPushButton::clicked, this, &ReportWindow::TogglePause);
    connect(closeButton_, &QPushButton::clicked, this, &ReportWindow::CloseWindow);
    connect(copyButton_, &QPushButton::clicked, this, &ReportWindow::CopySelection);
    reportText_->setAccessibleName(QStringLiteral("Report"));
    reportText_->setTabChangesFocus(true);
    fileProgressBar_->setAccessibleName(QStringLiteral("Progress of the current file"));
    batchProgressBar_->setAccessibleName(QStringLiteral("Progress of the whole run"));
    // Tab goes as the buttons stand under the report: Stop or Copy on the left, then Pause or Close
    // on the right.
    setTabOrder(reportText_, stopButton_);
    setTabOrder(stopButton_, copyButton_);
    setTabOrder(copyButton_, pauseButton_);
    setTabOrder(pauseButton_, closeButton_);
    PressButtonsOnEnter(this);
    // Escape is "Close" once the run is over; during a run only Stop stops it.
    CloseOnEscape(this, [this] {
        if (closeButton_->isVisible()) CloseWindow();
    });

    stopButton_->hide();
    pauseButton_->hide();
    copyButton_->hide();
    statusLabel_->clear();
    StartUp();
}

int ReportWindow::WidthTwips() const { return ToTwips(width()); }

void ReportWindow::SetButton(QPushButton* button, const QString& caption, int widthTwips)
{
    button->setText(caption);
    button->resize(Twips(widthTwips), Twips(kButtonHeight));
}

void ReportWindow::PlaceBottomRow(int topTwips)
{
    const int top = Twips(topTwips);
    closeButton_->move(closeButton_->x(), top);
    stopButton_->move(stopButton_->x(), top);
    pauseButton_->move(pauseButton_->x(), top);
    statusLabel_->move(statusLabel_->x(), top);
    fileProgressBar_->move(fileProgressBar_->x(), top);
    batchProgressBar_->move(batchProgressBar_->x(), top);
}

void ReportWindow::StartUp()
{
    const int widthTwips = mainWindow_ != nullptr ? ToTwips(mainWindow_->width()) : kDefaultWidth;
    const QPoint topLeft(Twips(600), Twips(600));
    const int heightTwips = kTextHeight + kWindowBelowText;
    setGeometry(QRect(topLeft, QSize(Twips(widthTwips), Twips(heightTwips))));
    reportText_->setGeometry(TwipsRect(kTextLeft, kTextTop, widthTwips - 2 * kTextLeft - 50, kTextHeight));
    const int buttonTop = heightTwips - kButtonsAboveBottom;
    SetButton(closeButton_, closeButton_->text(), 1000);
    closeButton_->move(Twips(widthTwips - 1000 - kTextLeft), Twips(buttonTop));
    stopButton_->move(Twips(kTextLeft), Twips(buttonTop));
    SetButton(copyButton_, kCopyCaption, kCopyWidth);
    statusLabel_->setGeometry(
        TwipsRect((widthTwips - kProgressWidth) / 2, buttonTop, kProgressWidth, kButtonHeight));
    fileProgressBar_->setGeometry(statusLabel_->geometry());
    batchProgressBar_->setGeometry(statusLabel_->geometry());
    scrollClock_->stop();
    loaded_ = true;
}

void ReportWindow::PlaceOverMainWindow()
{
    if (mainWindow_ == nullptr) return;
    // Placed by the insides, which the window system reports without a guess about frames: with
    // frames alike, the report's frame starts as far below the main window's frame top.
    setGeometry(QRect(mainWindow_->geometry().topLeft() + QPoint(0, Twips(kBelowMainWindowTop)), size()));
}

void ReportWindow::showEvent(QShowEvent* event)
{
    // The window is made before the main window has its place on the screen; it takes its own the
    // first time it shows, and keeps wherever the user moves it after that.
    if (!placed_) {
        PlaceOverMainWindow();
        placed_ = true;
    }
    QWidget::showEvent(event);
    UnboldControls(this);
    RestoreCopyCaption();
}

void ReportWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) RestoreCopyCaption();
}

void ReportWindow::RestoreCopyCaption() { copyButton_->setText(kCopyCaption); }

void ReportWindow::closeEvent(QCloseEvent* event)
{
    // Closing by the frame is the same as "Close"; the window is hidden, never destroyed.
    event->ignore();
    CloseWindow();
}

bool ReportWindow::Deliver(const ReportEvent& event)
{
    if (std::holds_alternative<RunStartedEvent>(event)) RunStarted();
    if (const auto* text = std::get_if<ReportTextEvent>(&event);
        text && text->place != ReportTextEvent::Place::End) {
        RemoveTail(text->place == ReportTextEvent::Place::NewReport ? text_.size() : kRoomForClosingLines);
        progressTextLength_ = 0;
    }
    if (const auto* progress = std::get_if<ProgressEvent>(&event)) ShowProgress(*progress);
    if (const auto* status = std::get_if<StatusEvent>(&event)) ShowStatus(status->status);
    if (std::holds_alternative<FileFinishedEvent>(event)) {
        RemoveTail(std::exchange(progressTextLength_, 0));
        HideFileProgress();
    }
    const QStringList lines = ReportLinesOf(event);
    // What brings the caret along when the newest lines are not kept in view anyway: a folder's
    // line, a file's length, the progress text and the run's own lines.
    const bool moveCaret = std::holds_alternative<FolderStartedEvent>(event) ||
                           std::holds_alternative<ProgressEvent>(event) ||
                           std::holds_alternative<ReportTextEvent>(event) ||
                           (std::holds_alternative<FileStartedEvent>(event) &&
                            std::get<FileStartedEvent>(event).length.has_value());
    const bool taken = lines.isEmpty() || Append(lines, moveCaret);
    if (const auto* progress = std::get_if<ProgressEvent>(&event);
        taken && progress && progress->of == ProgressEvent::Of::FileWorkBegins && !ReportSuppressed())
        progressTextLength_ = ReportTextLength(lines);
    if (const auto* finished = std::get_if<RunFinishedEvent>(&event)) RunFinished(*finished);
    return taken;
}

qsizetype ReportWindow::AssuredRoom() const
{
    // A suppressed report takes everything: it drops it.
    if (state_.control.reportSuppressed) return std::numeric_limits<qsizetype>::max();
    return std::max<qsizetype>(0, capacity_ - text_.size());
}

bool ReportWindow::Append(const QStringList& lines, bool moveCaret)
{
    if (state_.control.reportSuppressed) return true;
    if (text_.size() + ReportTextLength(lines) > capacity_) return false;
    lines_ += static_cast<int>(lines.size()) - 1;
    // The window shows lines without the carriage returns (a paragraph separator stands for CR LF).
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text_ += kLineBreak;
            unshown_ += QLatin1Char('\n');
        }
        const QString& line = lines[i];
        text_ += line;
        unshown_ += line.contains(QLatin1Char('\r')) ? QString(line).remove(QLatin1Char('\r')) : line;
    }
    // While the auto-scroll clock runs, the window catches up at its next tick: a long run then
    // costs a few string appends per file, not a repaint.
    if (moveCaret) caretToEndPending_ = true;
    if (!scrollClock_->isActive()) {
        if (caretToEndPending_)
            MoveCaretToEnd();
        else
            FlushToWindow();
    }
    return true;
}

void ReportWindow::RemoveTail(qsizetype count)
{
    const qsizetype removed = std::min<qsizetype>(count, text_.size());
    if (removed <= 0) return;
    const qsizetype breaksRemoved = QStringView(text_).right(removed).count(QLatin1Char('\r'));
    qsizetype shownRemoved = removed - breaksRemoved;
    lines_ -= static_cast<int>(breaksRemoved);
    text_.chop(removed);
    // Mostly the progress text of a file, which never reached the window.
    const qsizetype fromUnshown = std::min(shownRemoved, unshown_.size());
    unshown_.chop(fromUnshown);
    shownRemoved -= fromUnshown;
    if (shownRemoved > 0) {
        QTextCursor end(reportText_->document());
        end.movePosition(QTextCursor::End);
        end.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor,
                         static_cast<int>(shownRemoved));
        end.removeSelectedText();
    }
}

void ReportWindow::FlushToWindow()
{
    if (unshown_.isEmpty()) return;
    QTextCursor end(reportText_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(unshown_);
    unshown_.clear();
}

void ReportWindow::MoveCaretToEnd()
{
    FlushToWindow();
    caretToEndPending_ = false;
    QTextCursor cursor = reportText_->textCursor();
    cursor.movePosition(QTextCursor::End);
    reportText_->setTextCursor(cursor);
    reportText_->ensureCursorVisible();
}

bool ReportWindow::Encrypting() const { return setup_.Encrypts(); }

void ReportWindow::RunStarted()
{
    NoteRunStarted();
    runGoing_ = true;
    progressTextLength_ = 0;
    lines_ = 0;
    fileProgressShown_ = false;
    batchProgressShown_ = false;
    SetStatusText(QString());
    text_.clear();
    unshown_.clear();
    reportText_->clear();
    scrollClock_->start();
    copyButton_->hide();
    SetButton(stopButton_, QStringLiteral("Stop at next file"), 2300);
    stopButton_->show();
    closeButton_->hide();
    SetButton(pauseButton_, QStringLiteral("Pause at next file"), 2500);
    pauseButton_->move(Twips(WidthTwips() - 2500 - kPauseRightMargin), pauseButton_->y());
    pauseButton_->setVisible(ReportOffersPause(state_.control.reliabilityTestRunning));
    state_.ResetCounters();
    if (!isMaximized() && !isMinimized()) {
        const int heightTwips = kTextHeight + kWindowBelowText;
        resize(width(), Twips(heightTwips));
        reportText_->resize(reportText_->width(), Twips(kTextHeight));
        PlaceBottomRow(heightTwips - kButtonsAboveBottom);
    }
}

void ReportWindow::RunFinished(const RunFinishedEvent& finished)
{
    runGoing_ = false;
    progressTextLength_ = 0;
    stopButton_->hide();
    pauseButton_->hide();
    closeButton_->show();
    FocusCloseInsteadOfHiddenButton();
    scrollClock_->stop();
    FlushToWindow();
    fileProgressShown_ = false;
    batchProgressShown_ = false;
    ShowStatusOrProgress();
    if (finished.closingLines) ShrinkToShortReport();
    // Before the message that the output names collide.
    if (finished.result.duplicateOutputNames) hide();
    if (finished.closingLines && !text_.isEmpty()) ShowCopyButton();
    const RunStatus shown = statusLabel_->text() == kyv::StatusText(RunStatus::Paused)    ? RunStatus::Paused
                            : statusLabel_->text() == kyv::StatusText(RunStatus::Stopped) ? RunStatus::Stopped
                                                                                          : RunStatus::None;
    const RunStatus after = StatusAfterRun(shown, finished.result);
    if (after != shown) SetStatusText(kyv::StatusText(after));
    if (!text_.isEmpty()) MoveCaretToEnd();
}

void ReportWindow::ShowProgress(const ProgressEvent& progress)
{
    switch (progress.of) {
        case ProgressEvent::Of::FileWorkBegins:
            break;
        case ProgressEvent::Of::FileBytes:
            if (progress.fileBytesTotal == 0) break;
            fileProgressBar_->setValue(
                static_cast<int>(std::min(progress.fileBytesDone, progress.fileBytesTotal) * kProgressSteps /
                                 progress.fileBytesTotal));
            if (!fileProgressShown_) {
                fileProgressShown_ = true;
                ShowStatusOrProgress();
            }
            break;
        case ProgressEvent::Of::Batch: {
            const BatchProgressView& batch = progress.batch;
            const double share = batch.bytesTotal == 0 ? 0.0
                                                       : static_cast<double>(batch.bytesDone) /
                                                             static_cast<double>(batch.bytesTotal);
            batchProgressBar_->setValue(static_cast<int>(std::min(share, 1.0) * kProgressSteps));
            // The text is whole: its "%" is followed by a space or nothing, never by one of Qt's letters.
            batchProgressBar_->setFormat(BatchProgressText(batch));
            if (!batchProgressShown_) {
                batchProgressShown_ = true;
                ShowStatusOrProgress();
            }
            break;
        }
    }
}

void ReportWindow::ShowStatus(RunStatus status)
{
    // The walk may have looked at Pause just before the user's Stop reached it: "Stopped" stays.
    if (status == RunStatus::Paused && StopRequested()) return;
    SetStatusText(kyv::StatusText(status));
    // A pause shows where the run got to, and keeps it in view until the run goes on.
    if (status == RunStatus::Paused) {
        MoveCaretToEnd();
        SetAutoScroll(false);
    } else if (runGoing_ && status == RunStatus::None) {
        SetAutoScroll(true);
    }
}

void ReportWindow::FocusCloseInsteadOfHiddenButton()
{
    const QWidget* focused = focusWidget();
    if (focused == nullptr || focused == stopButton_ || focused == pauseButton_)
        closeButton_->setFocus(Qt::OtherFocusReason);
}

void ReportWindow::ShrinkToShortReport()
{
    const int reportLines = ReportLines();
    if (reportLines >= kShortReportLines) return;
    const int fitted = reportLines * kLineTwips + kShortReportMargin;
    if (ToTwips(reportText_->height()) <= fitted) return;
    reportText_->resize(reportText_->width(), Twips(fitted));
    const int heightTwips = fitted + kWindowBelowText;
    resize(width(), Twips(heightTwips));
    PlaceBottomRow(heightTwips - kButtonsAboveBottom);
}

void ReportWindow::ShowCopyButton()
{
    copyButton_->move(stopButton_->x(), closeButton_->y());
    copyButton_->show();
}

void ReportWindow::SetStatusText(const QString& text)
{
    statusLabel_->setText(text);
    ShowStatusOrProgress();
}

QString ReportWindow::StatusText() const { return statusLabel_->text(); }

void ReportWindow::SetAutoScroll(bool on)
{
    if (on) {
        scrollClock_->start();
    } else {
        scrollClock_->stop();
        MoveCaretToEnd();
    }
}

void ReportWindow::HideFileProgress()
{
    fileProgressShown_ = false;
    ShowStatusOrProgress();
}

void ReportWindow::ShowStatusOrProgress()
{
    // "Paused" or "Stopped" is what the user must see; the batch's bar covers the file's bytes too.
    const bool status = !statusLabel_->text().isEmpty() || (!batchProgressShown_ && !fileProgressShown_);
    statusLabel_->setVisible(status);
    batchProgressBar_->setVisible(!status && batchProgressShown_);
    fileProgressBar_->setVisible(!status && !batchProgressShown_ && fileProgressShown_);
}

void ReportWindow::ScrollTick()
{
    // While a dialog is in front (the purge advice, a question about the run) the text keeps up,
    // but the caret stays where it is.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != this) {
        FlushToWindow();
        return;
    }
    MoveCaretToEnd();
}

void ReportWindow::Stop()
{
    state_.control.stopRequested = true;
    SetAutoScroll(false);
    emit StopPressed();
    stopButton_->hide();
    pauseButton_->hide();
    closeButton_->show();
    FocusCloseInsteadOfHiddenButton();
    SetStatusText(QStringLiteral("Stopped"));
    update();
    emit RunFlagsChanged();
}

void ReportWindow::TogglePause()
{
    state_.control.paused = !state_.control.paused;
    if (state_.control.paused) {
        SetButton(stopButton_, QStringLiteral("Stop"), 1000);
        SetButton(pauseButton_, QStringLiteral("Continue"), 1500);
    } else {
        SetButton(stopButton_, QStringLiteral("Stop at next file"), 2200);
        SetButton(pauseButton_, QStringLiteral("Pause at next file"), 2500);
    }
    pauseButton_->move(Twips(WidthTwips() - ToTwips(pauseButton_->width()) - kPauseRightMargin),
                       pauseButton_->y());
    update();
    emit RunFlagsChanged();
}

void ReportWindow::CloseWindow()
{
    // Closed while the reliability test runs or waits for its next performance: the test stops,
    // and restores the setup itself when it ends.
    if (state_.control.reliabilityTestRunning) {
        Stop();
        hide();
        return;
    }
    if (HandBackReliabilityReport(state_.control.reliabilityReport)) {
        hide();
        emit ReliabilityReportClosed();
        return;
    }
    state_.control.stopRequested = true;
    SetAutoScroll(false);
    hide();
    emit RunFlagsChanged();
}

void ReportWindow::CopySelection()
{
    if (!text_.isEmpty()) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        const QTextCursor selection = reportText_->textCursor();
        QString copied = text_;
        if (selection.hasSelection()) {
            copied = selection.selectedText();
            copied.replace(QChar::ParagraphSeparator, kLineBreak);
        }
        clipboard->setText(copied);
        statusLabel_->clear();
        SetButton(copyButton_, kCopyCaption, kCopyWidth);
    }
    closeButton_->setFocus();
}

bool ReportWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == reportText_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After Qt has updated the selection.
        QTimer::singleShot(0, this, &ReportWindow::AfterTextClick);
    }
    return QWidget::eventFilter(watched, event);
}

void ReportWindow::AfterTextClick()
{
    if (!copyButton_->isEnabled() || !copyButton_->isVisible()) return;
    if (reportText_->textCursor().hasSelection()) {
        SetButton(copyButton_, QStringLiteral("Copy selected text to clipboard"), kCopySelectedWidth);
        statusLabel_->clear();
    } else {
        SetButton(copyButton_, kCopyCaption, kCopyWidth);
    }
}

void ReportWindow::ReportScreen()
{
    if (state_.control.runInProgress) return;
    if (text_.isEmpty()) {
        prompter_.Tell(QStringLiteral("The report screen is empty."), QStringLiteral("Report screen"),
                       MessageIcon::None);
        return;
    }
    state_.request.kind = RunKind::Redisplay;
    show();
    OperationContext context{setup_,  working_, state_, *this, prompter_, clock_,
                             nullptr, nullptr,  {},     {},    nullptr,   {}};
    ProcessFiles(context);
    QTextCursor start = reportText_->textCursor();
    start.movePosition(QTextCursor::Start);
    reportText_->setTextCursor(start);
    reportText_->ensureCursorVisible();
    update();
    raise();
    activateWindow();
    reportText_->setFocus();
}

}  // namespace kyv::gui
