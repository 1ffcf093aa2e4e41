#include "core/operation/PausePointRunner.h"

#include "core/common/Clock.h"
#include "core/common/ReportSink.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {
void CloseLineOnStop(RunState& state, ReportSink& sink)
{
    (void)sink.AppendReport(QStringLiteral("\r\n"), false);
    ++state.intReportLines;
}
}  // namespace

void RunPausePoint(RunState& state, ReportSink& sink, const Clock& clock, const PausePointHooks& hooks)
{
    if (hooks.processEvents) hooks.processEvents();
    if (state.blnStop) {
        CloseLineOnStop(state, sink);
        return;
    }
    if (!state.blnPaused) return;
    sink.MoveCaretToEnd();
    if (hooks.setAutoScroll) hooks.setAutoScroll(false);
    const QDateTime pauseStart = clock.Now();
    while (state.blnPaused) {
        if (hooks.waitForEvents)
            hooks.waitForEvents();
        else if (hooks.processEvents)
            hooks.processEvents();
        if (state.blnStop) {
            CloseLineOnStop(state, sink);
            break;
        }
    }
    state.sngPausedSeconds += static_cast<double>(pauseStart.msecsTo(clock.Now())) / 1000.0;
    if (hooks.setAutoScroll) hooks.setAutoScroll(true);
}

}  // namespace kyv
