#include "cli/RandomnessCommand.h"

#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/PictureCommand.h"
#include "cli/Session.h"
#include "cli/StandardOutputReport.h"
#include "core/analysis/RandomnessReport.h"
#include "core/common/OperationSetup.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunState.h"

namespace kyv::cli {

int RunRandomnessCommand(const CommandLine& line, Session& session)
{
    if (line.picture) return RunPictureCommand(line, session);
    OperationSetup setup;
    setup.folders[kInputSide] = FolderArgument(line.folder);
    setup.fileSpecs[kInputSide] = line.spec;
    setup.includeSubfolders = line.subfolders;
    if (line.spec.contains(QLatin1Char('/')))
        return UsageError(
            session.output,
            QStringLiteral("A file specification names files within the folder and holds no '/'."));
    // The checks the program's randomness report makes of its side before listing.
    if (!RandomnessReportPossible(setup, session.prompter) ||
        PlanRandomnessReport(setup, kInputSide, session.prompter).kind == RandomnessReportKind::Refused)
        return kExitRefused;
    if (InterruptRequested()) return kExitIncomplete;

    WorkingValues working;
    RunState state;
    state.request.kind = RunKind::RandomnessListing;
    state.request.inputFolder = setup.InputFolder();
    state.request.inputSpec = setup.InputSpec();
    StandardOutputReport report(state, session.output, session.prompter, session.clock, setup.Encrypts());
    // A listing needs no engine, key or in-place guards.
    OperationContext context{setup,   working, state, report, session.prompter, session.clock,
                             nullptr, nullptr, {},    {},     nullptr,          {}};
    ProcessFiles(context);
    report.Finish();
    return state.result.stopped || state.result.filesProcessed == 0 ? kExitIncomplete : kExitDone;
}

}  // namespace kyv::cli
