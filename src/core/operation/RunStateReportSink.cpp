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
    HandleReportBufferFull(*this, prompter_, state_.request.kind == RunKind::RandomnessListing, Encrypting());
}

bool RunStateReportSink::StopRequested() const { return state_.control.stopRequested; }

void RunStateReportSink::RequestStop() { state_.control.stopRequested = true; }

bool RunStateReportSink::ReportSuppressed() const { return state_.control.reportSuppressed; }

void RunStateReportSink::SetReportSuppressed(bool suppressed)
{
    state_.control.reportSuppressed = suppressed;
}

}  // namespace kyv
