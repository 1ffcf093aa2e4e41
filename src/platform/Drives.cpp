#include "platform/Drives.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStringList>

namespace kyv::platform {

namespace {

QString Canonical(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

// The nearest folder of `path` that exists, so that space can be asked before a file is made.
QString ExistingAncestor(const QString& path)
{
    QString current = Canonical(path);
    while (!current.isEmpty() && !QFileInfo::exists(current)) {
        const QString parent = QFileInfo(current).path();
        if (parent == current) break;
        current = parent;
    }
    return current;
}

}  // namespace

void FloppyFolders::Declare(const QString& folder) { folders_.append(Canonical(folder)); }

bool FloppyFolders::Hold(const QString& path) const
{
    if (path.isEmpty()) return false;
    const QString canonical = Canonical(path);
    for (const QString& folder : folders_) {
        if (canonical == folder || canonical.startsWith(folder + QLatin1Char('/'))) return true;
    }
    return false;
}

bool IsFloppyDrivePath(const QString& path, const FloppyFolders& declared)
{
#ifdef Q_OS_WIN
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':')) {
        const QChar drive = path.at(0).toUpper();
        if (drive == QLatin1Char('A') || drive == QLatin1Char('B')) return true;
    }
#endif
    return declared.Hold(path);
}

QString FirstFixedDrive()
{
#ifdef Q_OS_WIN
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const QString drive = QString(QLatin1Char(letter)) + QLatin1Char(':');
        QStorageInfo info(drive + QLatin1Char('/'));
        if (info.isValid() && info.isReady() && !info.isReadOnly()) return drive;
    }
    return QString();
#else
    const QString home = QDir::homePath();
    return QFileInfo(home).isDir() ? QDir::toNativeSeparators(home) : QString();
#endif
}

QString DriveOf(const QString& path)
{
#ifdef Q_OS_WIN
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':')) return path.left(2).toUpper();
#endif
    const QStorageInfo info(ExistingAncestor(path));
    return info.isValid() ? QDir::toNativeSeparators(info.rootPath()) : QDir::toNativeSeparators(path);
}

int GetDriveSpace(const QString& path, quint64& freeBytes, quint64& totalBytes)
{
    if (path.isEmpty()) return -1;
    const QStorageInfo info(ExistingAncestor(path));
    if (!info.isValid() || !info.isReady() || info.bytesAvailable() < 0 || info.bytesTotal() <= 0) return -1;
    freeBytes = static_cast<quint64>(info.bytesAvailable());
    totalBytes = static_cast<quint64>(info.bytesTotal());
    return 0;
}

bool DriveIsUsable(const QString& path)
{
    quint64 freeBytes = 0;
    quint64 totalBytes = 0;
    return GetDriveSpace(path, freeBytes, totalBytes) == 0;
}

bool FolderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace kyv::platform
