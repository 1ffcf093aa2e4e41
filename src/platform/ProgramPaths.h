#pragma once
// Where the program and its data live.

#include <QString>

namespace kyv::platform {

// Full path of the running program, and its folder (without a trailing separator unless a root).
QString ProgramFilePath();
QString ProgramFolder();

// The user's application-data folder; empty when the system gives none.
QString ApplicationDataFolder();

}  // namespace kyv::platform
