#pragma once
// The report window as an operation's launch uses it: its run state and report, its caption, and
// showing it for the run. The program's report window implements it, the command-line tool
// writes to the terminal, tests record.

#include <QString>

namespace kyv {

class ReportSink;
struct RunState;

class LaunchReportWindow {
public:
    virtual ~LaunchReportWindow() = default;
    virtual RunState& State() = 0;
    virtual ReportSink& Sink() = 0;
    // "Encrypting *.doc"
    virtual void SetCaption(const QString& caption) = 0;
    // Shown without blocking, so that Pause and Stop work during the run.
    virtual void ShowModeless() = 0;
    // Hidden before the message that ends a launch.
    virtual void Hide() = 0;
    // After the run: the copy button reads "Copy to clipboard" at its normal width.
    virtual void RestoreCopyButton() = 0;
};

}  // namespace kyv
