#include "core/app/PathParts.h"

#include <QDir>

namespace kyv {

namespace {
qsizetype LastSeparator(const QString& path) { return path.lastIndexOf(QDir::separator()); }
}  // namespace

QString GetFolderPart(const QString& path)
{
    const qsizetype at = LastSeparator(path);
    return at < 0 ? QString() : path.left(at + 1);
}

QString GetFileNamePart(const QString& path)
{
    const qsizetype at = LastSeparator(path);
    return at < 0 ? QString() : path.mid(at + 1);
}

bool ContainsWildcard(const QString& text)
{
    return text.contains(QLatin1Char('?')) || text.contains(QLatin1Char('*'));
}

}  // namespace kyv
