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
    bool Deliver(const ReportEvent& event) override;

    // LaunchReportWindow
    RunState& State() override { return state_; }
    ReportSink& Sink() override { return *this; }
    void SetCaption(const QString& caption) override { caption_ = caption; }
    void ShowModeless() override;
    void Hide() override {}
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
    // Continues the open line with the first of `lines` and writes each line they end.
    bool Write(const QStringList& lines);
    void ShowProgress(const ProgressEvent& progress);
    void UpdateProgress();
    [[nodiscard]] QString ProgressText() const;

    RunState& state_;
    TerminalOutput& output_;
    bool encrypting_;
    QString caption_;
    RunStatus status_ = RunStatus::None;
    // The end of the report that has no line break yet: it may still be taken back.
    QString openLine_;
    // The open line's end that says the file is worked on; taken back when the file finishes.
    qsizetype progressTextLength_ = 0;
    QString lastLine_;
    bool stopAnnounced_ = false;
};

}  // namespace kyv::cli
