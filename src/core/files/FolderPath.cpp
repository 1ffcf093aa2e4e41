#include "core/files/FolderPath.h"

#include <QDir>
#include <QFile>

#include "core/files/NameText.h"

namespace kyv {

QString AddBackslash(const QString& path)
{
    if (path.isEmpty()) return path;
    const QChar separator = QDir::separator();
    qsizetype end = path.size();
    while (end > 0 && path[end - 1] == separator) --end;
    return path.left(end) + separator;
}

QString NormalizePathCase(const QString& path)
{
    if (path.size() < 2 || path[1] != u':') return path;
    return path[0].toUpper() + LowerCaseText(path.mid(1));
}

std::filesystem::path ToFileSystemPath(const QString& path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString FromFileSystemName(const char* name) { return QFile::decodeName(name); }

QString FromFileSystemPath(const std::filesystem::path& path) { return FromFileSystemName(path.c_str()); }

}  // namespace kyv
