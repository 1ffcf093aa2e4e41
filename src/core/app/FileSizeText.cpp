#include "core/app/FileSizeText.h"

#include <QFileInfo>

#include "core/common/NumberText.h"

namespace kyv {

QString FormatFileSize(double bytes, int decimals)
{
    constexpr double kKilobyte = 1024.0;
    constexpr double kMegabyte = 1024.0 * 1024.0;
    if (bytes == 0) return QStringLiteral("0 bytes");
    if (bytes < kKilobyte) return QString::number(bytes, 'f', 0) + QStringLiteral(" bytes");
    if (bytes >= kMegabyte) return GroupedNumber(bytes / kMegabyte, decimals) + QStringLiteral(" MB");
    return GroupedNumber(bytes / kKilobyte, decimals) + QStringLiteral(" KB");
}

QString FileSizeText(const QString& path, int decimals)
{
    if (path.isEmpty()) return QString();
    const QFileInfo file(path);
    if (!file.isFile()) return QString();
    return FormatFileSize(static_cast<double>(file.size()), decimals);
}

}  // namespace kyv
