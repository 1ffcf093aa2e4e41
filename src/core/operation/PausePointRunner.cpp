#include "core/operation/PausePointRunner.h"

#include "core/common/Clock.h"
#include "core/common/LineBreak.h"
#include "core/common/ReportSink.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {
void CloseLineOnStop(RunState& state, ReportSink& sink)
{
    (void)sink.AppendReport(kLineBreak, false);
    ++state.reportLines;
}
}  // namespace

void RunPausePoint(RunState& state, ReportSink& sink, const Clock& clock, const PausePointHooks& hooks)
{
    if (hooks.processEvents) hooks.processEvents();
    if (state.stopRequested) {
        CloseLineOnStop(state, sink);
        return;
    }
    if (!state.paused) return;
    sink.MoveCaretToEnd();
    if (hooks.setAutoScroll) hooks.setAutoScroll(false);
    const QDateTime pauseStart = clock.Now();
    while (state.paused) {
        if (hooks.waitForEvents)
            hooks.waitForEvents();
        else if (hooks.processEvents)
            hooks.processEvents();
        if (state.stopRequested) {
            CloseLineOnStop(state, sink);
            break;
        }
    }
    state.pausedSeconds += static_cast<double>(pauseStart.msecsTo(clock.Now())) / 1000.0;
    if (hooks.setAutoScroll) hooks.setAutoScroll(true);
}

}  // namespace kyv
