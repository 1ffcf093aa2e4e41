#include "core/app/DropPlan.h"

#include <filesystem>
#include <system_error>

#include "core/files/FolderPath.h"
#include "core/files/NameText.h"

namespace kyv {

namespace {

enum class PathKind { Missing, File, Folder };

PathKind KindOf(const FilePath& path)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return PathKind::Missing;
    return std::filesystem::is_directory(status) ? PathKind::Folder : PathKind::File;
}

QString SharedExtension(const std::vector<FilePath>& paths)
{
    const BaseAndExtension first = SplitBaseExtension(paths.front().Name().Text());
    if (first.extension.isEmpty()) return QString();
    const QString lower = LowerCaseText(first.extension);
    for (const FilePath& path : paths) {
        if (LowerCaseText(SplitBaseExtension(path.Name().Text()).extension) != lower) return QString();
    }
    return first.extension;
}

}  // namespace

DropPlan PlanDrop(const std::vector<FilePath>& paths)
{
    if (paths.empty()) return DropPlan{};
    bool folderAmong = false;
    for (const FilePath& path : paths) {
        const PathKind kind = KindOf(path);
        if (kind == PathKind::Missing) return DropPlan{DropShape::Missing, path, QString()};
        folderAmong = folderAmong || kind == PathKind::Folder;
    }
    if (paths.size() == 1)
        return DropPlan{folderAmong ? DropShape::Folder : DropShape::SingleFile, paths.front(), {}};
    if (folderAmong) return DropPlan{DropShape::Mixed, FilePath(), QString()};

    // Only files are left: they are of one folder when their paths are the same up to their names.
    const FilePath folder = paths.front().Parent();
    for (const FilePath& path : paths) {
        if (path.Parent() != folder) return DropPlan{DropShape::Mixed, FilePath(), QString()};
    }
    return DropPlan{DropShape::FilesOfOneFolder, folder, SharedExtension(paths)};
}

std::vector<FilePath> LocalPathsOf(const QList<QUrl>& urls)
{
    std::vector<FilePath> paths;
    for (const QUrl& url : urls) {
        // A file URL naming another host is not a file here.
        if (!url.isLocalFile() || !(url.host().isEmpty() || url.host() == QStringLiteral("localhost")))
            return {};
        // The encoded form keeps a byte that is not UTF-8 as it is ("%FF"); toLocalFile() would
        // turn it into U+FFFD and so name another file.
        const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (bytes.isEmpty()) return {};
        paths.emplace_back(bytes.constData());
    }
    return paths;
}

}  // namespace kyv
