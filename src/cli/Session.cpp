#include "cli/Session.h"

#include <QDir>

#include "cli/ExitStatus.h"
#include "core/files/FolderPath.h"

namespace kyv::cli {

QString FolderArgument(const QString& argument)
{
    if (argument.isEmpty()) return QString();
    return AddBackslash(
        QDir::toNativeSeparators(QDir::cleanPath(QDir::current().absoluteFilePath(argument))));
}

int UsageError(TerminalOutput& output, const QString& error)
{
    output.WriteMessage(QStringLiteral("kyv: ") + error + QStringLiteral("\nTry 'kyv --help'."));
    return kExitRefused;
}

}  // namespace kyv::cli
