// kyv: the command-line companion of Kyv Cipher, on the same core as the program.

#include <unistd.h>

#include <QCoreApplication>
#include <csignal>

#include "cli/CommandLine.h"
#include "cli/ExitStatus.h"
#include "cli/HelpText.h"
#include "cli/Interrupt.h"
#include "cli/Session.h"
#include "cli/VerbTable.h"
#include "core/files/FolderPath.h"
#include "platform/CoreDumps.h"
#include "platform/DescriptorLimit.h"

int main(int argc, char** argv)
{
    kyv::platform::DisableCoreDumps();
    kyv::platform::RaiseDescriptorLimit();
    // A closed standard output is a report that cannot be written, not a reason to die mid-file.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kyv"));

    using namespace kyv::cli;
    const bool terminalErrors = isatty(STDERR_FILENO) != 0;
    // Someone can answer a question only when both the question and the answer use a terminal.
    const bool interactive = terminalErrors && isatty(STDIN_FILENO) != 0;
    // Arguments are taken as the bytes they are: a folder whose name is not UTF-8 is still that folder.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << kyv::platform::FilePath::TextOf(argv[i]);
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.line) {
        TerminalOutput output(false);
        return UsageError(output, parsed.error);
    }
    const CommandLine& line = *parsed.line;
    Session session(terminalErrors, QuestionPolicy{interactive, line.yes});
    if (line.command == Command::Help)
        return WriteAll(STDOUT_FILENO, HelpText().toUtf8()) ? kExitDone : kExitIncomplete;
    if (line.command == Command::Version)
        return WriteAll(STDOUT_FILENO, VersionText().toUtf8()) ? kExitDone : kExitIncomplete;
    const VerbEntry& verb = EntryOf(line.command);
    if (verb.stopsOnInterrupt) InstallInterruptHandler();
    return verb.perform(line, session);
}
