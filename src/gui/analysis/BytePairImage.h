#pragma once
// The byte-pair picture as a Qt image. Header-only and QtGui only, so that the command-line tool,
// which has no windows, saves exactly the picture the graphic window shows.

#include <QFile>
#include <QImage>

#include <fcntl.h>
#include <unistd.h>

#include "core/analysis/BytePairPicture.h"
#include "core/files/FolderPath.h"

namespace kyv::gui {

// One grey byte per pixel, black or white; a copy that does not follow later changes of `picture`.
inline QImage BytePairImage(const BytePairPicture& picture)
{
    constexpr int kSide = BytePairPicture::kSide;
    return QImage(picture.Pixels(), kSide, kSide, kSide, QImage::Format_Grayscale8).copy();
}

// Saves the picture as a PNG file. Opened by the name's bytes: Qt's own files would lose a name
// that is not UTF-8.
inline bool SaveBytePairImage(const BytePairPicture& picture, const QString& path)
{
    const int fd = ::open(ToFileSystemPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return BytePairImage(picture).save(&file, "PNG") && file.flush();
}

}  // namespace kyv::gui
