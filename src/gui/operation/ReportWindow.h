#pragma once
// The report window: one growing text with the progress and results of the last operation,
// randomness report or reliability test, the run's Stop and Pause buttons, copying to the
// clipboard, and the status label. It shows the application's RunState and is the report sink
// of every run.

#include <QString>
#include <QWidget>

#include "core/operation/RunStateReportSink.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kyv {

class Clock;
class Prompter;
struct OperationSetup;
struct RunState;
struct WorkingValues;

namespace gui {

class ReportWindow final : public QWidget, public RunStateReportSink {
    Q_OBJECT
public:
    // `mainWindow` places the window (below its top, as wide as it); may be null.
    ReportWindow(RunState& state, const OperationSetup& setup, WorkingValues& working, Prompter& prompter,
                 const Clock& clock, QWidget* mainWindow = nullptr);

    // The main window's "Report screen" command (left click): shows the last report again, or
    // says that there is none. Does nothing while a run is in progress.
    void ReportScreen();

    // ReportSink
    bool Deliver(const ReportEvent& event) override;
    qsizetype AssuredRoom() const override;

    // The whole report as written (lines end in CR LF).
    const QString& ReportText() const { return text_; }
    // The lines the report holds, counted as they are written.
    [[nodiscard]] int ReportLines() const { return lines_; }
    // The status under the report: "Paused", "Stopped", "Done" or empty.
    [[nodiscard]] QString StatusText() const;
    // Characters the report may hold; an append beyond it is refused (a full report buffer).
    void SetCapacity(qsizetype characters) { capacity_ = characters; }

    // Button handlers, public so that the program's own commands and tests can press them.
    void Stop();
    void TogglePause();
    void CloseWindow();
    void CopySelection();

signals:
    // Stop was pressed: a reliability test waiting for its next key wakes up, the main window's
    // clock stops.
    void StopPressed();
    // A reliability-test report was closed: the main window restores the setup.
    void ReliabilityReportClosed();
    // Stop, Pause, Continue or Close changed the run's flags: a paused run looks at them again.
    void RunFlagsChanged();

protected:
    bool Encrypting() const override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the window does with each event besides adding its text.
    void RunStarted();
    void RunFinished(const RunFinishedEvent& finished);
    void ShowProgress(const ProgressEvent& progress);
    void ShowStatus(RunStatus status);
    // Adds `lines` (as ReportLinesOf gives them) unless the report is suppressed; false when they do
    // not fit.
    bool Append(const QStringList& lines, bool moveCaret);
    void RemoveTail(qsizetype count);
    void ShrinkToShortReport();
    void ShowCopyButton();
    void SetStatusText(const QString& text);
    void MoveCaretToEnd();
    void SetAutoScroll(bool on);
    void HideFileProgress();
    // Over the main window, a little below its top edge.
    void PlaceOverMainWindow();
    void StartUp();
    void RestoreCopyCaption();
    void ScrollTick();
    void AfterTextClick();
    // Puts the text appended since the last tick into the window.
    void FlushToWindow();
    void SetButton(QPushButton* button, const QString& caption, int widthTwips);
    void PlaceBottomRow(int topTwips);
    // Under the report, between the buttons: a status text, else the batch's bar, else the file's.
    void ShowStatusOrProgress();
    // Once the run is over: a focus left on "Stop" or the pause button, now hidden, or on nothing
    // goes to "Close", so that the keyboard can close the window.
    void FocusCloseInsteadOfHiddenButton();
    [[nodiscard]] int WidthTwips() const;

    RunState& state_;
    const OperationSetup& setup_;
    WorkingValues& working_;
    Prompter& prompter_;
    const Clock& clock_;
    QWidget* mainWindow_;

    QPlainTextEdit* reportText_;
    QPushButton* stopButton_;
    QPushButton* pauseButton_;
    QPushButton* closeButton_;
    QPushButton* copyButton_;
    QLabel* statusLabel_;
    QProgressBar* fileProgressBar_;
    QProgressBar* batchProgressBar_;
    QTimer* scrollClock_;  // "Clock": keeps the newest lines in view

    QString text_;
    int lines_ = 0;
    QString unshown_;  // appended, not yet in the window
    // The length of the text that says the current file is worked on; taken back when it finishes.
    qsizetype progressTextLength_ = 0;
    // Between a run's start and its end: the newest lines are kept in view unless paused.
    bool runGoing_ = false;
    bool caretToEndPending_ = false;
    bool fileProgressShown_ = false;
    bool batchProgressShown_ = false;
    qsizetype capacity_;
    bool loaded_ = false;
    // Placed over the main window at its first showing.
    bool placed_ = false;
};

}  // namespace gui
}  // namespace kyv
