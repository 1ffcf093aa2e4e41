#include "cli/SetupCommands.h"

#include <unistd.h>

#include "cli/ExitStatus.h"
#include "cli/OperationCommand.h"
#include "cli/Session.h"
#include "cli/TerminalOutput.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"
#include "core/setup/SetupFileCommands.h"

namespace kyv::cli {

namespace {

// The setup as the program holds it after "Load setup": in place, the output side is the input
// side, as "Output file(s) same?" makes it.
OperationSetup SetupOf(const SetupFileContents& contents)
{
    OperationSetup setup;
    setup.direction = DirectionFor(contents.encrypt);
    setup.inPlace = contents.inPlace;
    setup.includeSubfolders = contents.includeSubfolders;
    setup.folders = contents.folders;
    setup.fileSpecs = contents.fileSpecs;
    if (setup.inPlace) {
        setup.folders[kOutputSide] = setup.folders[kInputSide];
        setup.fileSpecs[kOutputSide] = setup.fileSpecs[kInputSide];
    }
    return setup;
}

QString SideInWords(const OperationSetup& setup, int side)
{
    const FilePath& folder = setup.folders[side];
    const QString& spec = setup.fileSpecs[side];
    const QString notSpecified = QStringLiteral("not specified");
    // A byte that is not UTF-8 is shown as \xNN, as in every other message.
    return QStringLiteral("files ") + (spec.isEmpty() ? notSpecified : DisplayName(spec)) +
           QStringLiteral(" in folder ") + (folder.IsEmpty() ? notSpecified : folder.Display());
}

QString SetupInWords(const OperationSetup& setup)
{
    QString text;
    text += QStringLiteral("Function:   ") + (setup.Encrypts() ? "encryption" : "decryption") + u'\n';
    text += QStringLiteral("Input:      ") + SideInWords(setup, kInputSide) + u'\n';
    text += QStringLiteral("Subfolders: ") +
            (setup.includeSubfolders ? "included (all lower subfolders too)" : "not included") + u'\n';
    text += QStringLiteral("In place:   ") +
            (setup.inPlace ? "yes (each output file replaces its input file)" : "no") + u'\n';
    text += QStringLiteral("Output:     ") +
            (setup.inPlace ? QStringLiteral("the input files") : SideInWords(setup, kOutputSide)) + u'\n';
    return text;
}

}  // namespace

int RunSetupCommand(const CommandLine& line, Session& session)
{
    const std::optional<SetupFileContents> contents = LoadOperationFile(line.setupFile, session.prompter);
    if (!contents) return kExitRefused;
    OperationSetup setup = SetupOf(*contents);
    return RunOperation(setup, line, session);
}

int ShowSetupCommand(const CommandLine& line, Session& session)
{
    const std::optional<SetupFileContents> contents = LoadOperationFile(line.setupFile, session.prompter);
    if (!contents) return kExitRefused;
    return WriteAll(STDOUT_FILENO, SetupInWords(SetupOf(*contents)).toUtf8()) ? kExitDone : kExitIncomplete;
}

}  // namespace kyv::cli
