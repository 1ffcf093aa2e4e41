#pragma once
// The GUI-free steps of start-up: where the program's files are and the setup's first state.

#include <QString>
#include <QStringList>

#include "core/common/OperationSetup.h"
#include "core/common/ProgramPaths.h"

namespace kyv {

// Where the program-text file is looked for, in this order: beside the program, then in the
// installed data folder.
QStringList ProgramTextCandidates(const ProgramPaths& paths);

// Loads the program-text file from the first candidate that exists (the one beside the program when
// none does). On a failure returns false and the message the user must see.
[[nodiscard]] bool LoadProgramTextFile(const ProgramPaths& paths, QString& message);

// The setup's state before the next-run setup is read: working values, empty folders and
// specifications, each of the three flags the opposite of its start value (applying the flags
// inverts each once), and the next-run setup path with its folder created.
void InitialiseSetup(OperationSetup& setup, WorkingValues& values, const ProgramPaths& paths);

// Full path of the next-run setup file `kyve.opn`, under the application-data folder (or, when
// there is none, the first fixed drive, or else the current folder) in the program's data folder
// named by program text 310, which is created when missing.
platform::FilePath PrepareNextRunSetupPath(const ProgramPaths& paths);

}  // namespace kyv
