#include "core/app/FileSizeText.h"

#include <filesystem>
#include <system_error>

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

QString FileSizeText(const platform::FilePath& file, int decimals)
{
    if (file.IsEmpty()) return QString();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return QString();
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return error ? QString() : FormatFileSize(static_cast<double>(size), decimals);
}

}  // namespace kyv
