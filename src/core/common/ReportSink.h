#pragma once
// Where a walk writes its report: the report window in the program, standard output in the
// command-line tool, a recording in tests.

#include <QString>

namespace kyv {

class ReportSink {
public:
    virtual ~ReportSink() = default;

    // Appends text to the report unless reporting was suppressed. Returns false when the report
    // cannot take the text (the buffer is full); the caller then handles a full buffer.
    virtual bool AppendReport(const QString& text, bool moveCaret) = 0;
    // Removes the last `count` characters (the progress text appended while a file is worked on).
    virtual void RemoveReportTail(int count) = 0;
    // Between files: processes events, honours pause and stop.
    virtual void PausePoint() = 0;
    // The report cannot grow: tells the user and decides whether the run goes on.
    virtual void ReportBufferFull() = 0;
    // Whether a stop has been requested.
    virtual bool StopRequested() const = 0;
    virtual void RequestStop() = 0;
};

}  // namespace kyv
