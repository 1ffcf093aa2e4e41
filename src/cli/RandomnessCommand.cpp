#include "cli/RandomnessCommand.h"

#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/Session.h"
#include "cli/StandardOutputReport.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderCount.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunState.h"

namespace kyv::cli {

namespace {

// The checks the randomness report makes of its side before listing; false when it told why.
bool SideListable(const OperationSetup& setup, Prompter& prompter)
{
    const QString& folder = setup.InputFolder();
    const QString& spec = setup.InputSpec();
    if (folder.isEmpty() || spec.isEmpty()) {
        prompter.Tell(QStringLiteral("Neither input files nor output files are specified."),
                      QStringLiteral("Error"), MessageIcon::Exclamation);
        return false;
    }
    QString errorText;
    const int count = CountMatchingFiles(folder, spec, errorText);
    if (count < 0) {
        // The listing would only fail on its first folder.
        prompter.Tell(QStringLiteral("Cannot access the input folder."), QStringLiteral("Error"),
                      MessageIcon::Error);
        return false;
    }
    if (count == 0 && !setup.includeSubfolders) {
        const bool wildcard = spec.contains(QLatin1Char('?')) || spec.contains(QLatin1Char('*'));
        prompter.Tell(wildcard ? QStringLiteral("There are no files in ") + folder +
                                     QStringLiteral(" matching ") + spec + QLatin1Char('.')
                               : QStringLiteral("File ") + spec + QStringLiteral(" not found."),
                      QStringLiteral("Randomness report"), MessageIcon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace

int RunRandomnessCommand(const CommandLine& line, Session& session)
{
    OperationSetup setup;
    setup.folders[kInputSide] = FolderArgument(line.folder);
    setup.fileSpecs[kInputSide] = line.spec;
    setup.includeSubfolders = line.subfolders;
    if (line.spec.contains(QLatin1Char('/')))
        return UsageError(
            session.output,
            QStringLiteral("A file specification names files within the folder and holds no '/'."));
    if (!SideListable(setup, session.prompter)) return kExitRefused;
    if (InterruptRequested()) return kExitIncomplete;

    WorkingValues working;
    RunState state;
    state.request.randomnessReport = true;
    state.nextFolder = setup.InputFolder();
    state.currentSpec = setup.InputSpec();
    StandardOutputReport report(state, session.output, session.prompter, session.clock, setup.Encrypts());
    // A listing needs no engine, key or in-place guards.
    OperationContext context{setup,   working, state,     report,    session.prompter, session.clock,
                             nullptr, nullptr, QString(), QString(), nullptr,          {}};
    ProcessFiles(context);
    report.Finish();
    return state.result.stopped || state.result.filesProcessed == 0 ? kExitIncomplete : kExitDone;
}

}  // namespace kyv::cli
