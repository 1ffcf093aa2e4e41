#pragma once
// Where a run tells what happens: the report window in the program, standard output in the
// command-line tool, a recording in tests. The walk calls it on its own thread; in the program a
// RunController carries each call over to the window. Besides the events, the walk asks it only
// what steers the run: stop, the pause point, and what to do when the report is full.

#include <QtGlobal>

#include "core/operation/ReportEvent.h"

namespace kyv {

class ReportSink {
public:
    virtual ~ReportSink() = default;

    // Renders `event`. Returns false when the report cannot take the text it adds (the buffer is
    // full); the caller then calls ReportBufferFull. After the user chose to go on without a report,
    // text is dropped and true returned until the next run starts.
    virtual bool Deliver(const ReportEvent& event) = 0;
    // Between files: honours pause and stop (a pause blocks the walk until Continue or Stop).
    virtual void PausePoint() = 0;
    // The report cannot grow: tells the user and decides whether the run goes on.
    virtual void ReportBufferFull() = 0;
    // Whether a stop has been requested.
    virtual bool StopRequested() const = 0;
    virtual void RequestStop() = 0;
    // Characters of report text that deliveries are sure to be taken for, from now on until
    // something else changes the report; a sink fed from another thread need not wait for each of
    // these deliveries' answers. 0: every delivery must be asked.
    [[nodiscard]] virtual qsizetype AssuredRoom() const { return 0; }
};

}  // namespace kyv
