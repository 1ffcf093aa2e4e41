#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/Drives.h"

namespace kyv::platform {
namespace {

TEST(Drives, DeclaredFloppyFolderCoversItsContentsOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("floppy/sub"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("floppyish"));
    FloppyFolders floppies;
    floppies.Declare(dir.filePath("floppy"));
    EXPECT_TRUE(IsFloppyDrivePath(dir.filePath("floppy"), floppies));
    EXPECT_TRUE(IsFloppyDrivePath(dir.filePath("floppy/"), floppies));
    EXPECT_TRUE(IsFloppyDrivePath(dir.filePath("floppy/sub/file.txt"), floppies));
    EXPECT_FALSE(IsFloppyDrivePath(dir.filePath("floppyish/file.txt"), floppies));
    EXPECT_FALSE(IsFloppyDrivePath(dir.path(), floppies));
    EXPECT_FALSE(IsFloppyDrivePath(QString(), floppies));
    EXPECT_FALSE(IsFloppyDrivePath(dir.filePath("floppy/sub/file.txt"), FloppyFolders{}));
}

TEST(Drives, SpaceIsReadForExistingAndNotYetExistingPaths)
{
    QTemporaryDir dir;
    for (const QString& path : {dir.path(), dir.filePath("not/yet/made.enc")}) {
        quint64 freeBytes = 0;
        quint64 totalBytes = 0;
        ASSERT_EQ(GetDriveSpace(path, freeBytes, totalBytes), 0) << path.toStdString();
        EXPECT_GT(totalBytes, 0u);
        EXPECT_LE(freeBytes, totalBytes);
        EXPECT_TRUE(DriveIsUsable(path));
    }
    quint64 freeBytes = 0;
    quint64 totalBytes = 0;
    EXPECT_EQ(GetDriveSpace(QString(), freeBytes, totalBytes), -1);
    EXPECT_FALSE(DriveIsUsable(QString()));
}

TEST(Drives, DriveOfIsTheMountPointHoldingThePath)
{
    QTemporaryDir dir;
    const QString drive = DriveOf(dir.filePath("a/b.txt"));
    ASSERT_FALSE(drive.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).canonicalPath().startsWith(QDir(drive).canonicalPath()));
}

TEST(Drives, FirstFixedDriveAndFolders)
{
    EXPECT_EQ(FirstFixedDrive(), QDir::toNativeSeparators(QDir::homePath()));
    QTemporaryDir dir;
    EXPECT_TRUE(FolderExists(dir.path()));
    EXPECT_FALSE(FolderExists(dir.filePath("missing")));
    EXPECT_FALSE(FolderExists(QString()));
}

}  // namespace
}  // namespace kyv::platform
