#pragma once
// Where the program and its data live. The program asks the platform once, when it is built;
// tests give folders of their own.

#include <QString>

#include "platform/FilePath.h"

namespace kyv {

struct ProgramPaths {
    QString programFolder;          // the program's own folder: kyve.dat lies beside it in a build
    QString installedDataFolder;    // the installed data folder, looked in next; may be empty
    QString applicationDataFolder;  // the user's application-data folder; may be empty
    QString firstFixedDrive;        // may be empty
    platform::FilePath programFile{};  // the program's own file, never changed in place; may be empty
};

// The running program's paths, from the platform.
[[nodiscard]] ProgramPaths RunningProgramPaths();

}  // namespace kyv
