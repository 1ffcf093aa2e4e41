#pragma once
// The window program's command line: `kyvcipher [--encrypt | --decrypt] [FILE | FOLDER ...]`,
// which is what a file manager's "Open with" and the desktop entry's actions hand it.

#include <QString>
#include <QStringList>

#include "core/app/PathOpener.h"

namespace kyv {

struct ProgramArguments {
    StartFunction function = StartFunction::AsSetup;
    QStringList paths;
    // Options the program does not know; they are ignored.
    QStringList unknownOptions;
};

// `arguments` without the program's name and without the options Qt has taken out, each as the
// file system's bytes give it. "--" ends the options; "--quit-when-shown" is the installation
// check's and is passed over here.
[[nodiscard]] ProgramArguments ParseProgramArguments(const QStringList& arguments);

}  // namespace kyv
