#include "core/operation/PausePointRunner.h"

#include "core/common/Clock.h"
#include "core/common/ReportSink.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {
void CloseLineOnStop(ReportSink& sink) { (void)sink.Deliver(ReportTextEvent{LineBreakLines()}); }
}  // namespace

void RunPausePoint(RunState& state, ReportSink& sink, const Clock& clock, const PausePointHooks& hooks)
{
    const auto read = [&state, &hooks] {
        return hooks.readFlags ? hooks.readFlags()
                               : RunFlags{state.control.stopRequested, state.control.paused};
    };
    RunFlags flags = read();
    if (flags.stop) {
        CloseLineOnStop(sink);
        return;
    }
    if (!flags.paused || !hooks.waitForChange) return;
    (void)sink.Deliver(StatusEvent{RunStatus::Paused});
    const QDateTime pauseStart = clock.Now();
    while (flags.paused) {
        hooks.waitForChange();
        flags = read();
        if (flags.stop) {
            CloseLineOnStop(sink);
            break;
        }
    }
    state.pausedSeconds += static_cast<double>(pauseStart.msecsTo(clock.Now())) / 1000.0;
    // After Stop the window says "Stopped".
    if (!flags.stop) (void)sink.Deliver(StatusEvent{RunStatus::None});
}

}  // namespace kyv
