#include "core/operation/RunStateReportSink.h"

#include "core/operation/PausePointRunner.h"
#include "core/operation/ReportBufferFull.h"
#include "core/operation/RunState.h"

namespace kyv {

void RunStateReportSink::PausePoint()
{
    BeforePausePoint();
    RunPausePoint(state_, *this, clock_, PausePointHooks{});
}

void RunStateReportSink::ReportBufferFull()
{
    const bool suppress = HandleReportBufferFull(
        *this, prompter_, state_.request.kind == RunKind::RandomnessListing, Encrypting());
    if (suppress) state_.control.reportSuppressed = true;
}

bool RunStateReportSink::StopRequested() const { return state_.control.stopRequested; }

void RunStateReportSink::RequestStop() { state_.control.stopRequested = true; }

bool RunStateReportSink::ReportSuppressed() const { return state_.control.reportSuppressed; }

void RunStateReportSink::NoteRunStarted() { state_.control.reportSuppressed = false; }

}  // namespace kyv
