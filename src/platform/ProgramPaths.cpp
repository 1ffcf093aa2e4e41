#include "platform/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kyv::platform {

// Qt gives the program's path as text.
FilePath ProgramFilePath()
{
    return FilePath(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
}

QString ProgramFolder() { return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()); }

QString InstalledDataFolder()
{
    const QString folder =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(KYV_DATA_FROM_PROGRAM));
    return QDir::toNativeSeparators(QDir::cleanPath(folder));
}

QString ApplicationDataFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

}  // namespace kyv::platform
