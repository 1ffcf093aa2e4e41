#pragma once
// What the report window and the command-line tool's report share: the stop, pause and
// suppression flags kept in the run's RunState, the pause point and the full-buffer handling.
// A sink derived from it adds only how the events are shown.

#include "core/common/ReportSink.h"

namespace kyv {

class Clock;
class Prompter;
struct RunState;

class RunStateReportSink : public ReportSink {
public:
    RunStateReportSink(RunState& state, Prompter& prompter, const Clock& clock)
        : state_(state), prompter_(prompter), clock_(clock)
    {
    }

    void PausePoint() override;
    void ReportBufferFull() override;
    bool StopRequested() const override;
    void RequestStop() override;

protected:
    // Whether the run encrypts (the wording of the full-buffer message).
    [[nodiscard]] virtual bool Encrypting() const = 0;
    // Runs first at every pause point.
    virtual void BeforePausePoint() {}
    // After the user chose to go on without a report; cleared when the next run starts.
    [[nodiscard]] bool ReportSuppressed() const;
    void NoteRunStarted();

    RunState& state_;
    Prompter& prompter_;
    const Clock& clock_;
};

}  // namespace kyv
