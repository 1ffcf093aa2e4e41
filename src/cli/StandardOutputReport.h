#pragma once
// The report window of the command-line tool: the report goes to standard output line by line as
// the window would hold it (with the terminal's line breaks), and a progress line on standard
// error shows the line being worked on.

#include <QString>

#include "core/common/ReportSink.h"
#include "core/launch/LaunchReportWindow.h"

namespace kyv {
class Clock;
class Prompter;
struct RunState;
}  // namespace kyv

namespace kyv::cli {

class TerminalOutput;

class StandardOutputReport final : public ReportSink, public LaunchReportWindow {
public:
    StandardOutputReport(RunState& state, TerminalOutput& output, Prompter& prompter, const Clock& clock,
                         bool encrypting);

    // ReportSink
    bool AppendReport(const QString& text, bool moveCaret) override;
    void RemoveReportTail(int count) override;
    void PausePoint() override;
    void ReportBufferFull() override;
    bool StopRequested() const override;
    void RequestStop() override;
    bool ReportSuppressed() const override;
    void SetReportSuppressed(bool suppressed) override;
    bool ReportEmpty() const override { return !m_written && m_openLine.isEmpty(); }
    void RunStarted() override;
    void SetStatusText(const QString& text) override { m_status = text; }
    QString StatusText() const override { return m_status; }
    void ShowFileProgress(quint64 bytesDone, quint64 bytesTotal) override;
    void HideFileProgress() override;

    // LaunchReportWindow
    RunState& State() override { return m_state; }
    ReportSink& Sink() override { return *this; }
    void SetCaption(const QString& caption) override { m_caption = caption; }
    void ShowModeless() override;
    void RestoreCopyButton() override {}

    // Called whenever the run lets events be processed: turns Ctrl-C into a stop and keeps the
    // progress line current.
    void HandlePendingEvents();
    // Writes what is left of an unfinished line.
    void Finish();

    // Lines that tell of a result left under a temporary name because renaming failed: the file
    // counts as done in the totals, yet the user must act on it.
    [[nodiscard]] int RenameFailures() const { return m_renameFailures; }

private:
    bool WriteCompleteLines();
    void UpdateProgress();
    [[nodiscard]] QString ProgressText() const;

    RunState& m_state;
    TerminalOutput& m_output;
    Prompter& m_prompter;
    const Clock& m_clock;
    bool m_encrypting;
    QString m_caption;
    QString m_status;
    // The end of the report that has no line break yet: it may still be taken back.
    QString m_openLine;
    QString m_lastLine;
    bool m_written = false;
    bool m_stopAnnounced = false;
    int m_renameFailures = 0;
};

}  // namespace kyv::cli
