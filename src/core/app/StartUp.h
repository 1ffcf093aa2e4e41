#pragma once
// The GUI-free steps of start-up: where the program's files are and the setup's first state.

#include <QString>
#include <QStringList>

#include "core/common/OperationSetup.h"

namespace kyv {

// Where start-up looks for things; the program fills it from the platform, tests with folders of
// their own.
struct StartUpEnvironment {
    QString programFolder;          // the program's own folder: kyve.dat lies beside it in a build
    QString installedDataFolder;    // the installed data folder, looked in next; may be empty
    QString applicationDataFolder;  // the user's application-data folder; may be empty
    QString firstFixedDrive;        // may be empty
};

// Where the program-text file is looked for, in this order: beside the program, then in the
// installed data folder.
QStringList ProgramTextCandidates(const StartUpEnvironment& environment);

// Loads the program-text file from the first candidate that exists (the one beside the program when
// none does). On a failure returns false and the message the user must see.
[[nodiscard]] bool LoadProgramTextFile(const StartUpEnvironment& environment, QString& message);

// The setup's state before the next-run setup is read: working values, empty folders and
// specifications, each of the three flags the opposite of its start value (applying the flags
// inverts each once), and the next-run setup path with its folder created.
void InitialiseSetup(OperationSetup& setup, WorkingValues& values, const StartUpEnvironment& environment);

// Full path of the next-run setup file `kyve.opn`, under the application-data folder (or, when
// there is none, the first fixed drive, or else the current folder) in the program's data folder
// named by program text 310, which is created when missing.
QString PrepareNextRunSetupPath(const StartUpEnvironment& environment);

}  // namespace kyv
