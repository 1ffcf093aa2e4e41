#include "cli/OperationCommand.h"

#include <filesystem>
#include <system_error>

#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/KeyAcquisition.h"
#include "cli/Session.h"
#include "cli/StandardOutputReport.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeyState.h"
#include "core/launch/LaunchChecks.h"
#include "core/launch/OperationLaunch.h"
#include "core/operation/RunState.h"

namespace kyv::cli {

namespace {

const QString kStoppedBeforeRun = QStringLiteral("kyv: Stopped before any file was processed.");

bool NamesFilesOnly(const QString& spec) { return !spec.contains(QLatin1Char('/')); }

// Fills the setup from the arguments; an error text when they cannot make one.
QString BuildSetup(const CommandLine& line, OperationSetup& setup)
{
    setup.direction = DirectionFor(line.command == Command::Encrypt);
    setup.includeSubfolders = line.subfolders;
    setup.folders[kInputSide] = FolderArgument(line.folder);
    setup.fileSpecs[kInputSide] = line.spec;
    if (!NamesFilesOnly(line.spec))
        return QStringLiteral("A file specification names files within the folder and holds no '/'.");
    if (line.inPlace) {
        // As "Output file(s) same?" leaves it: the output side repeats the input side.
        setup.inPlace = true;
        setup.folders[kOutputSide] = setup.folders[kInputSide];
        setup.fileSpecs[kOutputSide] = setup.fileSpecs[kInputSide];
        return QString();
    }
    setup.fileSpecs[kOutputSide] = line.outputSpec.value_or(QString());
    if (!NamesFilesOnly(setup.fileSpecs[kOutputSide]))
        return QStringLiteral("A file specification names files within the folder and holds no '/'.");
    if (line.outputFolder) {
        setup.folders[kOutputSide] = FolderArgument(*line.outputFolder);
        std::error_code error;
        if (!line.outputFolder->isEmpty() && !std::filesystem::is_directory(setup.OutputFolder(), error))
            return QStringLiteral("The output folder ") + setup.OutputFolder().Display() +
                   QStringLiteral(" does not exist.");
    } else {
        setup.folders[kOutputSide] = setup.folders[kInputSide];
    }
    return QString();
}

int StatusAfterLaunch(const LaunchResult& launch, const RunState& state)
{
    if (launch.outcome != LaunchOutcome::Ran) return kExitRefused;
    return OperationExitStatus(state.result);
}

}  // namespace

int RunOperationCommand(const CommandLine& line, Session& session)
{
    OperationSetup setup;
    const QString error = BuildSetup(line, setup);
    if (!error.isEmpty()) return UsageError(session.output, error);
    return RunOperation(setup, line, session);
}

int RunOperation(OperationSetup& setup, const CommandLine& line, Session& session)
{
    // A setup that would work outside its folders is refused before anything else is looked at.
    if (!CheckSetupConfined(setup, session.prompter)) return kExitRefused;
    // The input side is checked before the key is asked for, as "Do it!" checks it first.
    if (!CheckInputSide(setup, session.prompter)) return kExitRefused;
    KeyState key;
    switch (InterruptRequested() ? KeyAcquired::Interrupted
                                 : AcquireKey(line, key, session.output, session.prompter)) {
        case KeyAcquired::Yes:
            break;
        case KeyAcquired::No:
            EraseKeyData(key);
            return kExitRefused;
        case KeyAcquired::Interrupted:
            EraseKeyData(key);
            session.output.WriteMessage(kStoppedBeforeRun);
            return kExitIncomplete;
    }

    const Services* services = session.ServicesWithEngine();
    if (services == nullptr) {
        EraseKeyData(key);
        session.prompter.Tell(QStringLiteral("The cipher engine cannot have the memory it needs."),
                              QStringLiteral("Error"), MessageIcon::Error);
        return kExitRefused;
    }

    WorkingValues working;
    RunState state;
    StandardOutputReport report(state, session.output, session.prompter, session.clock, setup.Encrypts());
    const LaunchContext launch{setup, working, key, report, *services};
    int status = kExitIncomplete;
    try {
        const LaunchResult result = LaunchOperation(launch, LaunchHooks{});
        report.Finish();
        status = StatusAfterLaunch(result, state);
    } catch (const RunAbandoned&) {
        report.Finish();
        session.output.WriteMessage(kStoppedBeforeRun);
    }
    EraseKeyData(key);
    return status;
}

}  // namespace kyv::cli
