#include "core/launch/OperationLaunch.h"

#include "core/common/DirectionWord.h"
#include "core/common/OperationSetup.h"
#include "core/common/ProgramPaths.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/common/Services.h"
#include "core/keys/KeyState.h"
#include "core/launch/DiskSpaceCheck.h"
#include "core/launch/KeyLengthening.h"
#include "core/launch/LaunchChecks.h"
#include "core/launch/LaunchReportWindow.h"
#include "core/launch/OperationDescription.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/OperationWalk.h"
#include "core/operation/RunState.h"
#include "core/reltest/ReliabilityTestOffer.h"
#include "core/reltest/ReliabilityTestRuns.h"

namespace kyv {

namespace {

void FillReportWindow(const OperationSetup& setup, LaunchReportWindow& report)
{
    RunState& state = report.State();
    state.request.inputFolder = setup.InputFolder();
    state.request.outputFolder = setup.OutputFolder();
    state.request.inputSpec = setup.InputSpec();
    state.request.outputSpec = setup.OutputSpec();
    report.SetCaption(DirectionWord(setup.Encrypts(), QStringLiteral("Encrypting")) + QLatin1Char(' ') +
                      setup.InputSpec());
}

}  // namespace

TestLaunchEnd TestLaunchEndOf(const LaunchResult& result)
{
    if (result.outcome == LaunchOutcome::Ran) return TestLaunchEnd::Ran;
    switch (result.space) {
        case DiskSpaceVerdict::DuplicateOutputNames:
            return TestLaunchEnd::DuplicateOutputNames;
        case DiskSpaceVerdict::NothingToProcess:
            return TestLaunchEnd::NothingToProcess;
        case DiskSpaceVerdict::DriveUnreadable:
            return TestLaunchEnd::DriveUnreadable;
        case DiskSpaceVerdict::Insufficient:
            return TestLaunchEnd::InsufficientSpace;
        case DiskSpaceVerdict::NotChecked:
        case DiskSpaceVerdict::Enough:
            break;
    }
    return TestLaunchEnd::CheckFailed;
}

LaunchResult LaunchOperation(const LaunchContext& launch, const LaunchHooks& hooks)
{
    OperationSetup& setup = launch.setup;
    Prompter& prompter = launch.services.prompter;
    RunState& state = launch.report.State();
    // A second launch while the report window runs would rewrite the running operation's fields.
    if (state.control.runInProgress) return {LaunchOutcome::Busy, false};
    const bool testRunning = state.control.reliabilityTestRunning;

    if (!CheckSetupConfined(setup, prompter) || !CheckInputSide(setup, prompter) ||
        !CheckKeySpecified(setup, launch.key, prompter))
        return {LaunchOutcome::CheckFailed, UnstartedLaunchStopsTest(testRunning)};
    if (hooks.offerReliabilityTest && ReliabilityTestOffered(setup, testRunning, launch.services.floppies)) {
        if (hooks.offerReliabilityTest() != ReliabilityTestChoice::NotTested)
            return {LaunchOutcome::ReliabilityTestRan, false};
    }
    if (!CheckOutputSide(setup, prompter, hooks.performOutputFilesSame))
        return {LaunchOutcome::CheckFailed, UnstartedLaunchStopsTest(testRunning)};

    FillReportWindow(setup, launch.report);
    if (LaunchAsksConfirmation(testRunning) && hooks.confirmer != nullptr &&
        !ConfirmOperation(setup, state, prompter, *hooks.confirmer))
        return {LaunchOutcome::NotConfirmed, false};
    state.request.kind = RunKind::Operation;

    const DiskSpaceOutcome checked =
        CheckDiskSpace(setup, state.request, prompter, launch.services.freeSpace, launch.services.floppies);
    const DiskSpaceVerdict space = checked.verdict;
    if (space == DiskSpaceVerdict::DuplicateOutputNames) {
        launch.report.Hide();
        prompter.Tell(DuplicateOutputNamesText(state.request.outputSpec), QStringLiteral("Error"),
                      MessageIcon::Exclamation);
    }
    if (!MayProceed(space))
        return {LaunchOutcome::NotStarted, UnstartedLaunchStopsTest(testRunning), space,
                checked.requiredBytes};

    OperationContext context{setup,
                             launch.working,
                             state,
                             launch.report.Sink(),
                             prompter,
                             launch.services.clock,
                             &launch.services.engine,
                             nullptr,
                             launch.key.source == Keyfile ? launch.key.KeyfilePath() : platform::FilePath(),
                             launch.services.paths.programFile,
                             launch.purgeAdvice,
                             {},
                             launch.runController,
                             static_cast<std::uint64_t>(checked.inputBytes),
                             launch.services.floppies};

    // The engine's key lives only as long as this launch, in guarded memory.
    const std::optional<cipher::Key> key = EngineKey(launch.key.normalizedKey);
    context.key = key ? &*key : nullptr;
    launch.report.ShowModeless();
    ProcessFiles(context);
    launch.report.RestoreCopyButton();
    return {LaunchOutcome::Ran, false, DiskSpaceVerdict::NotChecked, checked.requiredBytes};
}

}  // namespace kyv
