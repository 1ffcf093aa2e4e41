#pragma once
// Drives and free space: what stands in here for the Windows drive services.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "platform/FilePath.h"

namespace kyv::platform {

// Folders that count as floppy drives besides Windows' A: and B:. The program has none; a test
// declares some, so that the program's floppy rules stay testable.
class FloppyFolders {
public:
    void Declare(const QString& folder);
    // Whether the path is one of the folders or lies inside one.
    [[nodiscard]] bool Hold(const QString& path) const;

private:
    QStringList folders_;
};

// Whether the path lies on a floppy drive: on Windows drives A: and B:, and the declared folders.
bool IsFloppyDrivePath(const QString& path, const FloppyFolders& declared);

// The first fixed drive ("C:" on Windows); here the user's home folder. Empty when none.
QString FirstFixedDrive();

// The drive a path lies on, as named in messages: "D:" on Windows, the mount point elsewhere.
QString DriveOf(const QString& path);

// Free bytes available to the user and total bytes of the drive holding `path` (the path need
// not exist yet: its nearest existing parent is asked). 0 on success, -1 on failure.
[[nodiscard]] int GetDriveSpace(const QString& path, quint64& freeBytes, quint64& totalBytes);

// Whether the drive holding the path can be used: its space can be read.
bool DriveIsUsable(const QString& path);

bool FolderExists(const QString& path);

// The same for a path as the file system holds it: drives and floppy folders go by its text.
inline bool IsFloppyDrivePath(const FilePath& path, const FloppyFolders& declared)
{
    return IsFloppyDrivePath(path.Text(), declared);
}
inline QString DriveOf(const FilePath& path) { return DriveOf(path.Text()); }
inline bool DriveIsUsable(const FilePath& path) { return DriveIsUsable(path.Text()); }

}  // namespace kyv::platform
