#include "core/app/DropPlan.h"

#include <filesystem>
#include <system_error>

#include "core/app/PathParts.h"
#include "core/files/FolderPath.h"
#include "core/files/NameText.h"

namespace kyv {

namespace {

enum class PathKind { Missing, File, Folder };

PathKind KindOf(const QString& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(FilePath(path), error);
    if (error || !std::filesystem::exists(status)) return PathKind::Missing;
    return std::filesystem::is_directory(status) ? PathKind::Folder : PathKind::File;
}

QString SharedExtension(const QStringList& paths)
{
    const BaseAndExtension first = SplitBaseExtension(GetFileNamePart(paths.front()));
    if (first.extension.isEmpty()) return QString();
    const QString lower = LowerCaseText(first.extension);
    for (const QString& path : paths) {
        if (LowerCaseText(SplitBaseExtension(GetFileNamePart(path)).extension) != lower) return QString();
    }
    return first.extension;
}

}  // namespace

DropPlan PlanDrop(const QStringList& paths)
{
    if (paths.isEmpty()) return DropPlan{};
    bool folderAmong = false;
    for (const QString& path : paths) {
        const PathKind kind = KindOf(path);
        if (kind == PathKind::Missing) return DropPlan{DropShape::Missing, path, QString()};
        folderAmong = folderAmong || kind == PathKind::Folder;
    }
    if (paths.size() == 1)
        return DropPlan{folderAmong ? DropShape::Folder : DropShape::SingleFile, paths.front(), {}};
    if (folderAmong) return DropPlan{DropShape::Mixed, QString(), QString()};

    const QString folder = GetFolderPart(paths.front());
    for (const QString& path : paths) {
        if (GetFolderPart(path) != folder) return DropPlan{DropShape::Mixed, QString(), QString()};
    }
    return DropPlan{DropShape::FilesOfOneFolder, folder, SharedExtension(paths)};
}

QStringList LocalPathsOf(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls) {
        // A file URL naming another host is not a file here.
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == QStringLiteral("localhost")))
            return {};
        // The encoded form keeps a byte that is not UTF-8 as it is ("%FF"); toLocalFile() would
        // turn it into U+FFFD and so name another file.
        const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (bytes.isEmpty()) return {};
        paths.append(FilePath::TextOf(bytes.constData()));
    }
    return paths;
}

}  // namespace kyv
