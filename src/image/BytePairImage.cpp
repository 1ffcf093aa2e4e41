#include "image/BytePairImage.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace kyv {

QImage BytePairImage(const BytePairPicture& picture)
{
    constexpr int kSide = BytePairPicture::kSide;
    return QImage(picture.Pixels(), kSide, kSide, kSide, QImage::Format_Grayscale8).copy();
}

bool SaveBytePairImage(const BytePairPicture& picture, const platform::FilePath& path)
{
    // Opened by the name's bytes: Qt's own files would lose a name that is not UTF-8.
    const int fd = ::open(path.CString(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return BytePairImage(picture).save(&file, "PNG") && file.flush();
}

}  // namespace kyv
