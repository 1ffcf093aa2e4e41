#include "core/files/FolderPath.h"

#include <QDir>
#include <string>

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

std::filesystem::path ToFileSystemPath(const QString& path) { return FilePath(path).System(); }

QString FromFileSystemName(const char* name) { return FilePath::TextOf(name); }

QString FromFileSystemPath(const std::filesystem::path& path) { return FilePath(path).Text(); }

QString QtDecodedName(const QString& name)
{
#ifdef _WIN32
    return name;
#else
    const FilePath path(name);
    const std::string& bytes = path.Bytes();
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
#endif
}

}  // namespace kyv
