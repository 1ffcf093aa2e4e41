#pragma once
// Where a walk writes its report: the report window in the program, standard output in the
// command-line tool, a recording in tests. The walk calls it on its own thread; in the program a
// RunController carries each call over to the window.

#include <QString>
#include <QtGlobal>

#include "core/common/BatchProgress.h"

namespace kyv {

class ReportSink {
public:
    virtual ~ReportSink() = default;

    // Appends text to the report unless reporting was suppressed. Returns false when the report
    // cannot take the text (the buffer is full); the caller then handles a full buffer.
    virtual bool AppendReport(const QString& text, bool moveCaret) = 0;
    // Removes the last `count` characters (the progress text appended while a file is worked on).
    virtual void RemoveReportTail(int count) = 0;
    // Between files: honours pause and stop (a pause blocks the walk until Continue or Stop).
    virtual void PausePoint() = 0;
    // The report cannot grow: tells the user and decides whether the run goes on.
    virtual void ReportBufferFull() = 0;
    // Whether a stop has been requested.
    virtual bool StopRequested() const = 0;
    virtual void RequestStop() = 0;

    // Characters that appends are sure to be taken for, from now on until something else changes
    // the report; a sink fed from another thread need not wait for each of these appends'
    // answers. 0: every append must be asked.
    [[nodiscard]] virtual qsizetype AssuredRoom() const { return 0; }

    // The rest serves the operation's batch driver; a sink that only lists files can ignore it.

    // After the user chose to go on without a report, appends are dropped until the next run.
    virtual bool ReportSuppressed() const { return false; }
    virtual void SetReportSuppressed(bool /*suppressed*/) {}
    [[nodiscard]] virtual bool ReportEmpty() const { return true; }
    // Run start: the report is emptied, Stop and Pause are offered, stop and pause are cleared.
    virtual void RunStarted() {}
    // Run end: Stop and Pause withdrawn, Close offered, auto-scroll off.
    virtual void RunEnded() {}
    // After a short run the window fits the report's lines, counted in its own text, and the date
    // line that closes the report.
    virtual void ShrinkToShortReport() {}
    virtual void ShowCopyButton() {}
    // Hides the report (before a message that ends the run).
    virtual void HideReport() {}
    // The status under the report: "Paused", "Stopped", "Done" or empty.
    virtual void SetStatusText(const QString& /*text*/) {}
    [[nodiscard]] virtual QString StatusText() const { return QString(); }
    virtual void MoveCaretToEnd() {}
    // Keeps the newest lines in view; switched off while a dialog is in front.
    virtual void SetAutoScroll(bool /*on*/) {}
    // Progress of one long file; called repeatedly while it is worked on, then hidden.
    virtual void ShowFileProgress(quint64 /*bytesDone*/, quint64 /*bytesTotal*/) {}
    virtual void HideFileProgress() {}
    // How far the whole batch is, a few times a second while a run goes; hidden when it ends.
    // Never part of the report's text.
    virtual void ShowBatchProgress(const BatchProgressView& /*progress*/) {}
    virtual void HideBatchProgress() {}
};

}  // namespace kyv
