#pragma once
// What every command of `kyv` works with: the two output streams, the questions, the clock, and
// the program's other services.

#include <memory>
#include <optional>

#include "cli/CommandLine.h"
#include "cli/TerminalFileDialogs.h"
#include "cli/TerminalOutput.h"
#include "cli/TerminalPrompter.h"
#include "core/common/Clock.h"
#include "core/common/ProgramPaths.h"
#include "core/common/Services.h"
#include "core/launch/FreeSpaceSource.h"
#include "platform/Drives.h"

namespace kyv::cipher {
class CipherEngine;
}

namespace kyv::cli {

struct Session {
    Session(bool progress, QuestionPolicy policy);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The services with the cipher engine, which is made the first time a command asks (only the
    // commands that take a key need its guarded memory); none when that memory cannot be had.
    [[nodiscard]] const Services* ServicesWithEngine();

    TerminalOutput output;
    TerminalPrompter prompter;
    SystemClock clock;
    TerminalFileDialogs fileDialogs;
    DriveFreeSpace freeSpace;
    const ProgramPaths paths;
    // None here: the drives' own kinds.
    const platform::FloppyFolders floppies;

private:
    std::unique_ptr<cipher::CipherEngine> engine_;
    std::optional<Services> services_;
};

// A folder argument as the program holds folders: absolute, with the native separator, ending in
// exactly one separator. An empty argument stays empty (nothing specified).
[[nodiscard]] platform::FilePath FolderArgument(const QString& argument);

// Tells a usage error on standard error; the exit status for it.
int UsageError(TerminalOutput& output, const QString& error);

}  // namespace kyv::cli
