#pragma once
// The report window of the command-line tool: the report goes to standard output line by line as
// the window would hold it (with the terminal's line breaks), and a progress line on standard
// error shows the line being worked on.

#include <QString>

#include "core/launch/LaunchReportWindow.h"
#include "core/operation/RunStateReportSink.h"

namespace kyv {
class Clock;
class Prompter;
struct RunState;
}  // namespace kyv

namespace kyv::cli {

class TerminalOutput;

class StandardOutputReport final : public RunStateReportSink, public LaunchReportWindow {
public:
    StandardOutputReport(RunState& state, TerminalOutput& output, Prompter& prompter, const Clock& clock,
                         bool encrypting);

    // ReportSink
    bool AppendReport(const QString& text, bool moveCaret) override;
    void RemoveReportTail(int count) override;
    bool ReportEmpty() const override { return !written_ && openLine_.isEmpty(); }
    void RunStarted() override;
    void SetStatusText(const QString& text) override { status_ = text; }
    QString StatusText() const override { return status_; }
    void ShowFileProgress(quint64 bytesDone, quint64 bytesTotal) override;
    void HideFileProgress() override;
    void ShowBatchProgress(const BatchProgressView& progress) override;
    void HideBatchProgress() override;

    // LaunchReportWindow
    RunState& State() override { return state_; }
    ReportSink& Sink() override { return *this; }
    void SetCaption(const QString& caption) override { caption_ = caption; }
    void ShowModeless() override;
    void RestoreCopyButton() override {}

    // Called at every pause point and while a large file is worked on: turns Ctrl-C into a stop
    // and keeps the progress line current.
    void HandlePendingEvents();
    // Writes what is left of an unfinished line.
    void Finish();

protected:
    bool Encrypting() const override { return encrypting_; }
    void BeforePausePoint() override;

private:
    bool WriteCompleteLines();
    void UpdateProgress();
    [[nodiscard]] QString ProgressText() const;

    RunState& state_;
    TerminalOutput& output_;
    bool encrypting_;
    QString caption_;
    QString status_;
    // The end of the report that has no line break yet: it may still be taken back.
    QString openLine_;
    QString lastLine_;
    bool written_ = false;
    bool stopAnnounced_ = false;
};

}  // namespace kyv::cli
