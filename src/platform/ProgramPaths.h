#pragma once
// Where the program and its data live.

#include <QString>

#include "platform/FilePath.h"

namespace kyv::platform {

// Full path of the running program, and its folder (without a trailing separator unless a root).
FilePath ProgramFilePath();
QString ProgramFolder();

// The installed data folder (share/kyvcipher beside the installation's bin/), found from the
// program's own folder so that an installation works wherever it is put, staged ones included.
QString InstalledDataFolder();

// The user's application-data folder; empty when the system gives none.
QString ApplicationDataFolder();

}  // namespace kyv::platform
