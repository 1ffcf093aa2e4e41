#pragma once
// What every command of `kyv` works with: the two output streams, the questions and the clock.

#include "cli/CommandLine.h"
#include "cli/TerminalOutput.h"
#include "cli/TerminalPrompter.h"
#include "core/common/Clock.h"

namespace kyv::cli {

struct Session {
    Session(bool progress, QuestionPolicy policy) : output(progress), prompter(output, policy) {}

    TerminalOutput output;
    TerminalPrompter prompter;
    SystemClock clock;
};

// A folder argument as the program holds folders: absolute, with the native separator, ending in
// exactly one separator. An empty argument stays empty (nothing specified).
[[nodiscard]] QString FolderArgument(const QString& argument);

// Tells a usage error on standard error; the exit status for it.
int UsageError(TerminalOutput& output, const QString& error);

}  // namespace kyv::cli
