#include "cli/StandardOutputReport.h"

#include "cli/Interrupt.h"
#include "cli/TerminalOutput.h"
#include "core/common/Events.h"
#include "core/operation/PausePointRunner.h"
#include "core/operation/ReportBufferFull.h"
#include "core/operation/RunState.h"

namespace kyv::cli {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool TellsOfFailedRename(const QString& line)
{
    return line.contains(QLatin1String("Error when renaming temporary output file.")) ||
           line.contains(QLatin1String("Error: probably insufficient space on the floppy disk"));
}

}  // namespace

StandardOutputReport::StandardOutputReport(RunState& state, TerminalOutput& output, Prompter& prompter,
                                           const Clock& clock, bool encrypting)
    : m_state(state), m_output(output), m_prompter(prompter), m_clock(clock), m_encrypting(encrypting)
{
}

bool StandardOutputReport::AppendReport(const QString& text, bool /*moveCaret*/)
{
    if (m_state.blnReportSuppressed) return true;
    m_openLine += text;
    const bool written = WriteCompleteLines();
    UpdateProgress();
    return written;
}

bool StandardOutputReport::WriteCompleteLines()
{
    qsizetype end = m_openLine.indexOf(kLineBreak);
    while (end >= 0) {
        const QString line = m_openLine.left(end);
        m_openLine.remove(0, end + kLineBreak.size());
        if (TellsOfFailedRename(line)) ++m_renameFailures;
        if (!line.isEmpty()) m_lastLine = line;
        m_written = true;
        if (!m_output.WriteReportLine(line)) return false;
        end = m_openLine.indexOf(kLineBreak);
    }
    return true;
}

void StandardOutputReport::RemoveReportTail(int count)
{
    // Only the unfinished line can be taken back; what has been written stays written.
    m_openLine.chop(std::min<qsizetype>(count, m_openLine.size()));
    UpdateProgress();
}

void StandardOutputReport::PausePoint()
{
    if (InterruptRequested() && m_state.blnGettingInputFilesizes) throw RunAbandoned{};
    PausePointHooks hooks;
    hooks.processEvents = [] { ProcessPendingEvents(); };
    RunPausePoint(m_state, *this, m_clock, hooks);
}

void StandardOutputReport::ReportBufferFull()
{
    HandleReportBufferFull(*this, m_prompter, m_state.blnRandomnessReport, m_encrypting);
}

bool StandardOutputReport::StopRequested() const { return m_state.blnStop; }

void StandardOutputReport::RequestStop() { m_state.blnStop = true; }

bool StandardOutputReport::ReportSuppressed() const { return m_state.blnReportSuppressed; }

void StandardOutputReport::SetReportSuppressed(bool suppressed) { m_state.blnReportSuppressed = suppressed; }

void StandardOutputReport::RunStarted()
{
    // Nothing of an earlier pass reaches standard output; the size-gathering pass writes nothing.
    m_openLine.clear();
    m_status.clear();
}

QString StandardOutputReport::ProgressText() const
{
    // Between lines: the line just finished, unless the report itself is on the screen.
    if (m_openLine.isEmpty()) return m_output.ReportInView() ? QString() : m_lastLine;
    return m_openLine;
}

void StandardOutputReport::ShowFileProgress(quint64 bytesDone, quint64 bytesTotal)
{
    m_output.SetProgress(
        ProgressText(),
        bytesTotal > 0 ? static_cast<double>(bytesDone) / static_cast<double>(bytesTotal) : 0.0);
    m_output.RefreshProgress();
}

void StandardOutputReport::HideFileProgress() { UpdateProgress(); }

void StandardOutputReport::ShowModeless()
{
    if (InterruptRequested()) throw RunAbandoned{};
}

void StandardOutputReport::HandlePendingEvents()
{
    const bool realRun = m_state.blnRunInProgress && !m_state.blnGettingInputFilesizes;
    if (realRun && InterruptRequested() && !m_state.blnStop) {
        // What "Stop" does in the report window.
        m_state.blnStop = true;
        m_status = QStringLiteral("Stopped");
    }
    if (realRun && m_state.blnStop && m_status == QLatin1String("Stopped") && !m_stopAnnounced) {
        m_stopAnnounced = true;
        m_output.WriteMessage(
            QStringLiteral("kyv: Stopping after the current file (Ctrl-C again ends at once)."));
    }
    m_output.RefreshProgress();
}

void StandardOutputReport::Finish()
{
    if (!m_openLine.isEmpty()) (void)m_output.WriteReportText(m_openLine);
    m_openLine.clear();
    m_output.ClearProgress();
}

void StandardOutputReport::UpdateProgress()
{
    m_output.SetProgress(ProgressText(), std::nullopt);
    m_output.RefreshProgress();
}

}  // namespace kyv::cli
